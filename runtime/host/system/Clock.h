#pragma once
// Time for the whole layer: the millisecond tick (what the layer calls the
// multimedia timer), a high-resolution counter with its frequency, and sleep.
// Tests replace the source with a clock of their own.

#include <cstdint>

struct HostClockSource {
  uint32_t (*tickMs)();           // milliseconds, wrapping at 2^32
  uint64_t (*counter)();          // high-resolution counter
  uint64_t (*counterFrequency)(); // counts per second; 0 = no counter
  void (*sleepMs)(uint32_t ms);
};

uint32_t HostTickMs();
uint64_t HostCounter();
uint64_t HostCounterFrequency();
void HostSleepMs(uint32_t ms);
// The finest step of the millisecond tick (what the layer asks the
// multimedia timer for as its minimum period).
uint32_t HostTickPeriodMs();

// Test seam: null puts the real clock back.
void HostSetClockSource(const HostClockSource* source);
