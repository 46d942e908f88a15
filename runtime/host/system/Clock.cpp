#include "runtime/host/system/Clock.h"

#include <atomic>
#include <ctime>
#include <thread>

namespace {

uint64_t MonotonicNanoseconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}

uint32_t RealTickMs() { return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000ull); }
uint64_t RealCounter() { return MonotonicNanoseconds(); }
uint64_t RealCounterFrequency() { return 1000000000ull; }
void RealSleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

const HostClockSource kRealClock = {RealTickMs, RealCounter, RealCounterFrequency, RealSleepMs};
std::atomic<const HostClockSource*> gClock{&kRealClock};

}  // namespace

uint32_t HostTickMs() { return gClock.load(std::memory_order_relaxed)->tickMs(); }
uint64_t HostCounter() { return gClock.load(std::memory_order_relaxed)->counter(); }
uint64_t HostCounterFrequency() { return gClock.load(std::memory_order_relaxed)->counterFrequency(); }
void HostSleepMs(uint32_t ms) { gClock.load(std::memory_order_relaxed)->sleepMs(ms); }

uint32_t HostTickPeriodMs() { return 1; }

void HostSetClockSource(const HostClockSource* source) {
  gClock.store(source ? source : &kRealClock, std::memory_order_relaxed);
}
