#pragma once
// A movie's sound in the layer's mixer: a ring buffer of 44.1 kHz 16-bit
// stereo that loops while the movie runs, written ahead of the mixer by the
// decode thread. What the mixer has played of it since the last seek is the
// movie's clock, so the pictures follow the sound.
//
// When the mixer plays past what was written (the decoder fell behind) the
// writing skips to the mixer: the sound for that stretch is lost, the clock
// never stops for it. Guarded by the graph's lock.

#include <cstdint>

#include "runtime/host/movies/MovieGraph.h"

struct HostSoundBuffer;

class AudioRenderer {
 public:
  static constexpr uint32_t kRate = 44100;
  static constexpr uint32_t kChannels = 2;

  // Null when the mixer is not open or has no room.
  static AudioRenderer* Create();
  ~AudioRenderer();
  AudioRenderer(const AudioRenderer&) = delete;
  AudioRenderer& operator=(const AudioRenderer&) = delete;

  // Stops and empties the ring: the next frame written plays at base.
  void Reset(HostMovieTime base);
  // The movie runs: the sound plays once enough is written.
  void Start();
  void Stop();

  HostMovieTime Clock() const;
  // The media time of the next frame written.
  HostMovieTime WriteTime() const;
  // Frames that may be written now.
  uint32_t Room() const;
  // Stereo frames (null: silence), at most Room().
  void Write(const int16_t* frames, uint32_t count);

 private:
  explicit AudioRenderer(HostSoundBuffer* buffer) : buffer_(buffer) {}
  uint64_t Played() const;
  void StartPlaying();

  HostSoundBuffer* buffer_;
  HostMovieTime base_ = 0;
  uint64_t written_ = 0;       // frames since the last reset
  uint64_t playedBefore_ = 0;  // played before the mixer last started
  uint64_t mixedAtStart_ = 0;  // the mixer's count when it last started
  bool running_ = false;
  bool playing_ = false;
};
