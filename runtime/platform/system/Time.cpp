#include "runtime/platform/system/Time.h"

#include "runtime/host/system/Clock.h"
#include "runtime/host/system/Processor.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/base/WideArithmetic.h"

uint64_t GetMicroseconds(int useTimeStampCounter) {
  uint64_t counter;
  uint64_t frequency;
  if (gPlatform.rdtscUsable && useTimeStampCounter == 1 && gPlatform.initialised &&
      gPlatform.cpuCyclesPerSecond != 0) {
    counter = HostTimeStampCounter();
    frequency = gPlatform.cpuCyclesPerSecond;
    return Low64(DivU128(MulU128(counter, 1000000), frequency));
  }
  if (!gPlatform.usePerformanceCounter || gPlatform.performanceFrequency == 0) {
    return static_cast<uint64_t>(HostTickMs()) * 1000;
  }
  counter = HostCounter();
  frequency = gPlatform.performanceFrequency;
  return Low64(DivU128(MulU128(counter, 1000000), frequency));
}

uint32_t GetTickMs() { return HostTickMs(); }
