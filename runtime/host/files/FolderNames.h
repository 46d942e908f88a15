#pragma once
// Finds the name that an element of a game path has on disk, without regard
// to ASCII letter case. The listing of each folder is cached and read again
// once the folder has changed; a listing taken right after the folder's last
// change is never trusted, since the file system's time stamps are too
// coarse to show a second change made in the same instant.

#include <string>

// folder "" is the current folder. Tries the exact UTF-8 name, the exact raw
// bytes, then both without regard to case (the raw name as CP932 text:
// letters only where they stand as characters). False when nothing matches.
bool HostFindNameInFolder(const std::string& folder, const std::string& utf8Name,
                          const std::string& rawName, std::string* nameOnDisk);
