#pragma once
// Movie clips made in memory with FFmpeg's own encoders and muxers, for the
// streaming-movie tests, benchmarks, fuzz seeds and the demo game.
//
// Pictures are drawn from their frame number: a diagonal gradient that
// moves three pixels a frame, and, where the picture is large enough, a red,
// a green and a blue 16x16 block along the top. Sound is a 440 Hz tone.

#include <cstdint>
#include <string>

struct MovieClip {
  const char* container = "avi";     // an FFmpeg muxer
  const char* videoCodec = "mpeg4";  // an FFmpeg encoder; null: no pictures
  const char* audioCodec = nullptr;  // null: no sound
  int width = 64;
  int height = 48;
  int frames = 25;
  int framesPerSecond = 25;
  int keyInterval = 12;
  int bFrames = 0;
  int quantizer = 3;                 // fixed quality, 1 best
  int sampleRate = 44100;
  int channels = 2;
  double soundSeconds = -1;          // below 0: as long as the pictures
};

// The clip's bytes; empty when this machine's FFmpeg lacks the encoder or
// the muxer asked for (the caller skips that format and says so).
std::string WriteMovieClip(const MovieClip& clip);

// The planes of frame `frame` as they are encoded.
uint8_t ClipLuma(int frame, int x, int y, int width);
uint8_t ClipChromaU(int frame, int x, int y, int width);  // chroma coordinates
uint8_t ClipChromaV(int frame, int x, int y, int width);

// The centres of the coloured blocks (present from 64 pixels wide).
constexpr int kClipRedX = 8;
constexpr int kClipGreenX = 24;
constexpr int kClipBlueX = 40;
constexpr int kClipBlockY = 8;
