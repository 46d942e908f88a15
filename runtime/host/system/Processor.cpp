#include "runtime/host/system/Processor.h"

#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#endif

namespace {

#if defined(__x86_64__) || defined(__i386__)
// __get_cpuid_max does the flags-register test where one is needed.
bool RealHasCpuId() { return __get_cpuid_max(0, nullptr) != 0; }
HostCpuIdRegisters RealCpuId(uint32_t function) {
  HostCpuIdRegisters r = {0, 0, 0, 0};
  __cpuid(function, r.eax, r.ebx, r.ecx, r.edx);
  return r;
}
uint64_t RealTimeStampCounter() { return __rdtsc(); }
#else
bool RealHasCpuId() { return false; }
HostCpuIdRegisters RealCpuId(uint32_t) { return HostCpuIdRegisters{0, 0, 0, 0}; }
uint64_t RealTimeStampCounter() { return 0; }
#endif

const HostProcessorSource kRealProcessor = {RealHasCpuId, RealCpuId, RealTimeStampCounter};
std::atomic<const HostProcessorSource*> gSource{&kRealProcessor};

}  // namespace

bool HostHasCpuId() { return gSource.load()->hasCpuId(); }
HostCpuIdRegisters HostCpuId(uint32_t function) { return gSource.load()->cpuId(function); }
uint64_t HostTimeStampCounter() { return gSource.load()->timeStampCounter(); }

void HostSetProcessorSource(const HostProcessorSource* source) {
  gSource.store(source ? source : &kRealProcessor);
}
