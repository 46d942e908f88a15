#pragma once
// The layer's sound system on the manual clock, for tests of the engine's
// sound: started by the constructor, ended by the destructor. Nothing plays
// unless the test mixes; stream sounds refill as the message pump would.

#include <cstdint>
#include <vector>

class ManualClockSound {
 public:
  ManualClockSound();
  ~ManualClockSound();
  ManualClockSound(const ManualClockSound&) = delete;
  ManualClockSound& operator=(const ManualClockSound&) = delete;

  // The next ms milliseconds of output, stereo pairs, refilling the stream
  // sounds every 60th of a second.
  static std::vector<int16_t> Mix(uint32_t ms);
  // The loudest sample of the next ms milliseconds.
  static int Peak(uint32_t ms);
  // The volume a handle plays at, in hundredths of a decibel (its first
  // buffer); 1 for no such handle.
  static int32_t VolumeOf(int handle);
  // What the layer makes of a volume of 0..255 (and beyond).
  static int32_t VolumeToHundredthsDb(int volume);
};
