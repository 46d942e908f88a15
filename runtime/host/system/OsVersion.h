#pragma once
// The operating-system version the layer reports. Fixed: the newest system
// before the one whose display handling needs a branch of its own, so that
// no such branch runs.

enum HostOsPlatform { kHostOsWin32s = 0, kHostOsWindows9x = 1, kHostOsNt = 2 };

struct HostOsVersion {
  int platform;  // a HostOsPlatform
  int major;
  int minor;
  int build;
  const char* servicePack;
};

HostOsVersion HostQueryOsVersion();
