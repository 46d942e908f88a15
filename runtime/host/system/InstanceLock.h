#pragma once
// One running copy per window class: a lock file named from the class name,
// held while the window lives. A second process asking for the same name is
// refused.

// True when this process now holds the lock of the class name (or the check
// is off); false when another process holds it.
bool HostAcquireInstanceLock(const char* classNameCp932);
void HostReleaseInstanceLock();

// Test seam: tests that run in parallel switch the check off.
void HostSetInstanceLockEnabled(bool enabled);
