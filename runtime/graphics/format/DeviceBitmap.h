#pragma once
// Turning images into device-independent bitmaps: 24-bit top-down pixels
// with rows padded to 4 bytes, and the bitmap objects made from them.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/host/format/HostBitmap.h"

// The 40-byte bitmap information header.
struct DibHeader {
  uint32_t size;
  int32_t width;
  int32_t height;  // negative: rows top-down
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPixelsPerMeter;
  int32_t yPixelsPerMeter;
  uint32_t coloursUsed;
  uint32_t coloursImportant;
};
static_assert(sizeof(DibHeader) == 40);

struct DibInfo {
  DibHeader header;
  uint8_t palette[256][4];  // read for 8-bit headers only
};

// Fills the header and yields 24-bit pixels: 0 hands out the image's own
// buffer (not to be freed), 1 a new tracked buffer the caller frees, -1 when
// memory runs out.
int GraphImageToDib(const GraphImage& image, DibInfo* info, uint8_t** pixels);
// A bitmap object holding a copy of the pixels, or null (logged). The caller
// keeps its header and pixels.
HostBitmap* CreateDIBGraph(const DibInfo& info, const uint8_t* pixels);
