#pragma once
// A clock that stands still until the test moves it. Installing it replaces
// the layer's clock for the whole process until it is destroyed. Sleeping
// advances it by the time slept.

#include <cstdint>
#include <functional>

class FakeClock {
 public:
  explicit FakeClock(uint32_t startMs = 1000);
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  void AdvanceMs(uint32_t ms);
  void SetMs(uint32_t ms);
  // The high-resolution counter ticks at this frequency (0: none).
  void SetCounterFrequency(uint64_t frequency);
  // Every read of the millisecond tick moves the clock on by this much, so
  // that code waiting for the tick to move (busy waits, clock checks) ends.
  void AdvanceOnEveryTickRead(uint32_t microseconds);
  // Called on the sleeping thread after every sleep, with the milliseconds
  // of the clock then: lets a test act on code that waits (or stop a wait
  // that would never end). An empty function removes it.
  void OnSleep(std::function<void(uint32_t nowMs)> hook);
};
