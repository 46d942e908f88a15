#include "runtime/host/system/SystemMemory.h"

#include <sys/sysinfo.h>

#include <cstdio>
#include <cstring>

HostMemoryFigures HostQueryMemory() {
  HostMemoryFigures figures{0, 0};
  struct sysinfo info;
  if (sysinfo(&info) == 0) {
    figures.totalPhysical = static_cast<uint64_t>(info.totalram) * info.mem_unit;
    figures.availablePhysical = static_cast<uint64_t>(info.freeram) * info.mem_unit;
  }
  // MemAvailable counts reclaimable caches too, which is what "available" means.
  if (FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      unsigned long long kb = 0;
      if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
        figures.availablePhysical = kb * 1024ull;
        break;
      }
    }
    std::fclose(f);
  }
  return figures;
}
