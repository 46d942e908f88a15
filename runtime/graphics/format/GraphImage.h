#pragma once
// An image in plain memory: what the image readers produce and the writers,
// the screen paths and the software renderer take. Rows are stored top
// first. Copying the record copies the pixel pointer; exactly one copy frees
// the buffer.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"

struct GraphImage {
  ColorFormat format;
  int32_t width;
  int32_t height;
  int32_t pitch;    // bytes from one row to the next
  uint8_t* pixels;  // tracked allocation owned by the image
};

// Pixels are allocated but not cleared; pitch rounds up to 4 bytes. On
// failure -1 with a null pixel pointer.
int CreateArgbGraphImage(int width, int height, GraphImage* image);
int CreateXrgbGraphImage(int width, int height, GraphImage* image);
int CreateRgb24GraphImage(int width, int height, GraphImage* image);
// Frees the pixels and clears the record. Returns 0.
int FreeGraphImage(GraphImage* image);

// Writes one packed colour into every pixel (not for 1-byte pixels).
int FillGraphImage(GraphImage* image, int red, int green, int blue, int alpha);
// -1 outside the image.
int SetGraphImagePixel(GraphImage* image, int x, int y, int red, int green, int blue, int alpha);
int GetGraphImagePixel(const GraphImage& image, int x, int y, int* red, int* green, int* blue, int* alpha);
// 0xAARRGGBB, each channel widened by a shift; 2 to 4 bytes per pixel, no bounds check.
uint32_t GetGraphImagePixelPacked(const GraphImage& image, int x, int y);
// Reverses every row in place; -1 for an empty image.
int MirrorGraphImage(GraphImage* image);

// Reads and writes one pixel of 1 to 4 bytes, little-endian.
uint32_t LoadPixelBytes(const uint8_t* at, int bytesPerPixel);
void StorePixelBytes(uint8_t* at, int bytesPerPixel, uint32_t pixel);
