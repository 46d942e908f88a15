#pragma once
// Ogg Theora clips made with libtheora's encoder, for the movie tests,
// fuzzers and benchmarks. Frames are generated from their number, so a test
// can name a frame's content without keeping it.

#include <cstdint>
#include <string>

struct TheoraClip {
  int width = 64;   // picture size; the coded size rounds up to 16
  int height = 48;
  int frames = 25;
  int fpsNumerator = 30;
  int fpsDenominator = 1;
  int keyInterval = 8;    // a key frame every so many frames
  int framesPerPage = 3;  // video packets per page; 0 lets the stream decide
  int quality = 48;       // 0..63
  bool withVorbis = false;  // a Vorbis stream beside (headers and a little silence)
  bool withTheora = true;   // false: the Vorbis stream alone
};

// The whole Ogg file.
std::string WriteTheoraClip(const TheoraClip& clip);

// The Y, U and V value the generator gives frame `frame` at (x, y) of the
// picture (chroma at half resolution).
uint8_t TheoraClipLuma(int frame, int x, int y);
uint8_t TheoraClipCb(int frame, int x, int y);
uint8_t TheoraClipCr(int frame, int x, int y);
