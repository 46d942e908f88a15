#pragma once
// One running copy per window class: a lock file named from the class name,
// held while the window lives. A second process asking for the same name is
// refused.

#include <string>

// True when this process now holds the lock of the class name (or the check
// is off); false when another process holds it.
bool HostAcquireInstanceLock(const char* classNameCp932);
void HostReleaseInstanceLock();

// Where the lock file of the class name lives: in the user's runtime folder,
// or a private folder of the user's under /tmp; empty when there is none
// (then no lock is taken). A symbolic link at that name is never followed.
std::string HostInstanceLockPath(const char* classNameCp932);

// Test seam: tests that run in parallel switch the check off.
void HostSetInstanceLockEnabled(bool enabled);
