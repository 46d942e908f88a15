#pragma once
// Colour conversion of movie frames from Y'CbCr to 32-bit XRGB, through
// integer tables built once at start-up (14 fraction bits: 16384 = 1.0).

#include <cstdint>

struct YuvTables {
  int32_t redFromV[256];
  int32_t greenFromU[256];
  int32_t greenFromV[256];
  int32_t blueFromU[256];
  int32_t luma[256];
  uint8_t clamp[512 + 256 + 512];  // index + 512: 0 below 0, 255 above 255
};

extern YuvTables gYuvTables;

// Builds the tables. Returns 0.
int InitYuvTables();

// One plane of a frame: rows of `width` bytes, `stride` bytes apart.
struct YuvPlane {
  const uint8_t* data;
  int32_t width;
  int32_t height;
  int32_t stride;
};

// Converts the frame into the XRGB rows (B, G, R, 255 in memory), for the
// part that both the frame and the destination cover. 4:2:0 frames go
// through the tables, one chroma look-up per 2x2 block; other layouts take
// the chroma at (x / 2, y / 2) and convert per pixel in floating point.
void ConvertYuvToXrgb(const YuvPlane& y, const YuvPlane& u, const YuvPlane& v, uint8_t* destination, int32_t pitch,
                      int32_t width, int32_t height);
