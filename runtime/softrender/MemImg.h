#pragma once
// The software renderer's image model: MemImg views over shared,
// reference-counted MemImgStores. The view record belongs to whoever declared
// it; the store is freed with its last view.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/DDPixelFormat.h"
#include "runtime/platform/base/IntRect.h"

enum MemImgPixelType : int32_t {
  MemImgRgb565 = 0,    // 16-bit R5G6B5; 4 bytes with the alpha flag (word, alpha, unused)
  MemImgXrgb8888 = 1,  // 32-bit, blue in byte 0; byte 3 is the alpha with the alpha flag
  MemImgGrey8 = 2,     // 8-bit single channel: blend graphics
  MemImgDepth16 = 3,   // 16-bit single channel: the software depth buffer
};

constexpr uint32_t kMemImgValid = 0x12345678;
constexpr int kMemImgPaletteBytes = 1024;

struct MemImgStore {
  int32_t useCount;
  int32_t width;
  int32_t height;
  int32_t pitch;
  const ColorFormat* colorFormat;  // a shared preset, never freed
  uint32_t colorKey;               // a pixel (or, with a palette, an index) of the store's format
  int32_t pixelType;
  int32_t paletteFlag;
  int32_t paletteColorCount;
  int32_t alphaFlag;
  int32_t callerBufferFlag;  // the pixels belong to the caller
  uint8_t* palette;          // 256 entries in the pixel type's format; null without a palette
  uint8_t* pixels;
};

struct MemImg {
  uint32_t check;  // kMemImgValid while valid
  int32_t width;
  int32_t height;
  uint8_t* pixels;  // the view's top-left pixel
  MemImgStore* store;
};

// pitch -1 rounds rows up to 16 bytes; any other pitch must hold a row.
// callerPixels, when given, is a buffer of pitch x height bytes that stays the
// caller's. Refuses a record that is still valid. On failure nothing stays
// allocated and the record is invalid.
int CreateMemImg(MemImg* image, int width, int height, int pitch, uint32_t colorKey, int pixelType,
                 int paletteFlag, int alphaFlag, void* callerPixels);
// A view of (x, y, width, height) of the source, counted from the source's
// top-left pixel; a rectangle outside the source leaves the view untouched.
void MakeMemImgView(MemImg* view, const MemImg* source, int x, int y, int width, int height);
int IsMemImgValid(const MemImg* image);
void ReleaseMemImg(MemImg* image);
// Writes value into every pixel of the rectangle (null: the whole view).
void FillMemImg(MemImg* image, const IntRect* rect, uint32_t value);

// Shared presets; null for a pixel type outside 0..3.
const ColorFormat* GetMemImgColorFormat(int pixelType, int alphaFlag, int paletteFlag);
const DDPixelFormat* GetMemImgDDPixelFormat(int pixelType, int alphaFlag, int paletteFlag);

// pixelType -1 follows the screen depth (16 bits: type 0, else 1).
int CreateScreenMemImg(MemImg* image, int width, int height, int pixelType);
int CreateDepthMemImg(MemImg* image, int width, int height);

inline int MemImgBytesPerPixel(const MemImgStore* store) { return store->colorFormat->bytesPerPixel; }
