#pragma once
// Stand-in for a device-independent bitmap section: a top-down pixel buffer
// of 8 bits (with a palette) or 24 bits per pixel, rows padded to 4 bytes.

#include <cstdint>

struct HostBitmap {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
  int32_t stride;
  uint8_t palette[256][4];  // blue, green, red, reserved
  uint8_t* pixels;          // null for an empty bitmap
};

// Null when memory runs out. The pixels start zeroed.
HostBitmap* HostCreateBitmap(int width, int height, int bitsPerPixel);
void HostDeleteBitmap(HostBitmap* bitmap);
