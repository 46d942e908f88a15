#pragma once
// The processor's identification instruction and time-stamp counter. Tests
// replace the source to play other processors.

#include <cstdint>

struct HostCpuIdRegisters {
  uint32_t eax;
  uint32_t ebx;
  uint32_t ecx;
  uint32_t edx;
};

struct HostProcessorSource {
  bool (*hasCpuId)();
  HostCpuIdRegisters (*cpuId)(uint32_t function);
  uint64_t (*timeStampCounter)();
};

bool HostHasCpuId();
HostCpuIdRegisters HostCpuId(uint32_t function);
// 0 on processors without one.
uint64_t HostTimeStampCounter();

// Test seam: null puts the real processor back.
void HostSetProcessorSource(const HostProcessorSource* source);
