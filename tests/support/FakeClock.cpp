#include "tests/support/FakeClock.h"

#include <atomic>
#include <utility>

#include "runtime/host/system/Clock.h"

namespace {

std::atomic<uint64_t> gNowUs{0};
std::atomic<uint64_t> gFrequency{1000000};
std::atomic<uint64_t> gStepPerTickReadUs{0};
std::function<void(uint32_t)> gOnSleep;

uint32_t FakeTickMs() { return static_cast<uint32_t>(gNowUs.fetch_add(gStepPerTickReadUs.load()) / 1000); }
uint64_t FakeCounter() {
  const uint64_t f = gFrequency.load();
  return static_cast<uint64_t>(static_cast<unsigned __int128>(gNowUs.load()) * f / 1000000);
}
uint64_t FakeFrequency() { return gFrequency.load(); }
void FakeSleepMs(uint32_t ms) {
  gNowUs += static_cast<uint64_t>(ms) * 1000;
  if (gOnSleep) gOnSleep(static_cast<uint32_t>(gNowUs.load() / 1000));
}

const HostClockSource kFakeClock = {FakeTickMs, FakeCounter, FakeFrequency, FakeSleepMs};

}  // namespace

FakeClock::FakeClock(uint32_t startMs) {
  gNowUs = static_cast<uint64_t>(startMs) * 1000;
  gFrequency = 1000000;
  gStepPerTickReadUs = 0;
  gOnSleep = nullptr;
  HostSetClockSource(&kFakeClock);
}

FakeClock::~FakeClock() {
  HostSetClockSource(nullptr);
  gOnSleep = nullptr;
}

void FakeClock::AdvanceMs(uint32_t ms) { gNowUs += static_cast<uint64_t>(ms) * 1000; }
void FakeClock::SetMs(uint32_t ms) { gNowUs = static_cast<uint64_t>(ms) * 1000; }
void FakeClock::SetCounterFrequency(uint64_t frequency) { gFrequency = frequency; }
void FakeClock::AdvanceOnEveryTickRead(uint32_t microseconds) { gStepPerTickReadUs = microseconds; }
void FakeClock::OnSleep(std::function<void(uint32_t nowMs)> hook) { gOnSleep = std::move(hook); }
