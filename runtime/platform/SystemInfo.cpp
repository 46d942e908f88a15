#include "runtime/platform/SystemInfo.h"

SystemInfoRecord gSystemInfo;

uint32_t SaturateToUint32(uint64_t value) {
  return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

void StorePhysicalMemory(SystemInfoRecord& record, uint64_t totalBytes, uint64_t availableBytes) {
  record.totalPhysicalMemory = SaturateToUint32(totalBytes);
  record.availablePhysicalMemory = SaturateToUint32(availableBytes);
}
