#pragma once
// Physical memory figures of the machine, in bytes.

#include <cstdint>

struct HostMemoryFigures {
  uint64_t totalPhysical;
  uint64_t availablePhysical;
};

HostMemoryFigures HostQueryMemory();
