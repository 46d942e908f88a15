#pragma once
// The system information record that the layer fills at start-up and hands
// out to the engine.

#include <cstdint>

struct SystemInfoRecord {
  char osDescription[512];
  char cpuBrand[256];
  int32_t cpuMhz;
  uint32_t availablePhysicalMemory;  // bytes, saturated at 0xFFFFFFFF
  uint32_t totalPhysicalMemory;      // bytes, saturated at 0xFFFFFFFF
  char displayDriverName[256];
  char displayDriverDescription[256];
  uint32_t displayDriverVersion[2];
};

extern SystemInfoRecord gSystemInfo;

// The record's memory fields are 32 bits wide; machines with 4 GiB or more
// must read as "at least 4 GiB", not as the size modulo 4 GiB.
uint32_t SaturateToUint32(uint64_t value);
void StorePhysicalMemory(SystemInfoRecord& record, uint64_t totalBytes, uint64_t availableBytes);

// Start-up step: the OS and processor facts into the record and the platform
// state, written to the log.
void CollectSystemInfo();

// The record's address, for the engine and the graphics half.
SystemInfoRecord* GetSystemInfoRecord();
