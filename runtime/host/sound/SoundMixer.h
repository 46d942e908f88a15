#pragma once
// Inside the sound device: the buffer records and the mixing of one buffer
// into the output's accumulators. The device's lock is held by the caller.

#include <cstdint>
#include <memory>

#include "runtime/host/sound/WaveFormat.h"

// Memory shared by a buffer and its duplicates.
struct SoundMemory {
  unsigned char* bytes = nullptr;
  uint32_t size = 0;
  int references = 0;
  int playing = 0;  // buffers over it that play: writes then go through a staging copy
};

struct HostSoundBuffer {
  SoundMemory* memory = nullptr;
  WaveFormat format;
  uint32_t flags = 0;
  uint32_t frames = 0;    // whole sample frames in the memory
  uint64_t position = 0;  // 32.32 fixed point, in sample frames
  uint64_t mixedFrames = 0;  // output frames mixed while playing, never reset
  uint32_t frequency = 0; // 0: the format's own rate
  int32_t volume = 0;
  int32_t gain = 65536;   // 1/65536 units
  bool playing = false;
  bool looping = false;

  bool locked = false;
  bool staged = false;
  uint32_t lockOffset = 0;
  uint32_t lockFirst = 0;
  uint32_t lockSecond = 0;
  // Where writes to playing memory wait for the unlock; it only grows.
  std::unique_ptr<unsigned char[]> staging;
  uint32_t stagingSize = 0;
};

// Adds frames of the buffer, at its frequency and gain, into acc (stereo
// pairs) and moves its position on. False when a one-shot buffer reached its
// end: it then stands at 0 and must leave the playing list.
bool MixSoundBuffer(HostSoundBuffer& buffer, int32_t* acc, uint32_t frames, uint32_t outputRate);

// Adds frames of float samples (stereo pairs, -1..1; beyond is clipped) into
// acc at the 16-bit scale.
void MixFloatFrames(const float* samples, int32_t* acc, uint32_t frames);

// Saturates the accumulators into 16-bit samples.
void ClampMix(const int32_t* acc, int16_t* out, uint32_t samples);
