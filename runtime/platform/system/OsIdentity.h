#pragma once
// The operating system's name and version code, as the layer logs them and
// the rest of the layer branches on.

#include <cstddef>

#include "runtime/host/system/OsVersion.h"

// Version codes: 0 Win32s, 1 Windows 95, 2 Windows 98, 3 Windows Me,
// 0x104 NT 3.51, 0x105 NT 4.0, 0x106 2000, 0x107 XP, 0x108 Vista.
// Writes the name ("Windows" and the version) and returns the code; a version
// it does not know adds nothing to the name and returns previousCode.
int IdentifyOs(const HostOsVersion& version, char* name, size_t size, int previousCode);
