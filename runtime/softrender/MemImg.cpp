#include "runtime/softrender/MemImg.h"

#include <array>
#include <cstring>

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/format/RowLayout.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/MemoryHelpers.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

struct PresetMasks {
  int depth;
  uint32_t red, green, blue, alpha;
};

constexpr int kPresetCount = 10;

// Index: pixel type x 4 + alpha x 2 + palette for types 0 and 1; 8 and 9 for
// the single-channel types 2 and 3, whose one channel fills every mask.
constexpr PresetMasks kPresetMasks[kPresetCount] = {
    {16, 0xF800, 0x07E0, 0x001F, 0},
    {8, 0xF800, 0x07E0, 0x001F, 0},
    {32, 0xF800, 0x07E0, 0x001F, 0x00FF0000},
    {8, 0xF800, 0x07E0, 0x001F, 0x00FF0000},
    {32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},
    {8, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},
    {32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
    {8, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
    {8, 0xFF, 0xFF, 0xFF, 0xFF},
    {16, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
};

int PresetIndex(int pixelType, int alphaFlag, int paletteFlag) {
  if (pixelType >= 2) return 6 + pixelType;
  return pixelType * 4 + (alphaFlag ? 2 : 0) + (paletteFlag ? 1 : 0);
}

int BytesPerPixelOf(int pixelType, int paletteFlag, int alphaFlag) {
  if (paletteFlag) return 1;
  if (pixelType == MemImgRgb565 && alphaFlag) return 4;
  constexpr int kBytes[4] = {2, 4, 1, 2};
  return kBytes[pixelType];
}

}  // namespace

const ColorFormat* GetMemImgColorFormat(int pixelType, int alphaFlag, int paletteFlag) {
  if (pixelType < 0 || pixelType > 3) return nullptr;
  static const std::array<ColorFormat, kPresetCount> presets = [] {
    std::array<ColorFormat, kPresetCount> all{};
    for (int i = 0; i < kPresetCount; ++i) {
      const PresetMasks& m = kPresetMasks[i];
      MakeColorFormatFromMasks(&all[i], m.depth, m.red, m.green, m.blue, m.alpha);
    }
    return all;
  }();
  return &presets[PresetIndex(pixelType, alphaFlag, paletteFlag)];
}

const DDPixelFormat* GetMemImgDDPixelFormat(int pixelType, int alphaFlag, int paletteFlag) {
  if (pixelType < 0 || pixelType > 3) return nullptr;
  static const std::array<DDPixelFormat, kPresetCount> presets = [] {
    std::array<DDPixelFormat, kPresetCount> all{};
    for (int i = 0; i < kPresetCount; ++i) {
      const PresetMasks& m = kPresetMasks[i];
      FillDDPixelFormat(&all[i], m.depth, m.red, m.green, m.blue, m.alpha);
    }
    // The single-channel formats are no RGB formats: no size, no flags.
    for (int i : {PresetIndex(MemImgGrey8, 0, 0), PresetIndex(MemImgDepth16, 0, 0)}) all[i].size = all[i].flags = 0;
    return all;
  }();
  return &presets[PresetIndex(pixelType, alphaFlag, paletteFlag)];
}

int CreateMemImg(MemImg* image, int width, int height, int pitch, uint32_t colorKey, int pixelType,
                 int paletteFlag, int alphaFlag, void* callerPixels) {
  if (image->check == kMemImgValid) return -1;
  if (pixelType < 0 || pixelType > 3) return -1;
  if (pixelType >= 2) paletteFlag = alphaFlag = 0;
  paletteFlag = paletteFlag ? 1 : 0;
  alphaFlag = paletteFlag ? 0 : (alphaFlag ? 1 : 0);
  // Sizes and pitches no store can describe are refused like a failed
  // allocation; a pitch shorter than a row would lead every pixel loop out of
  // the buffer.
  RowLayout rows;
  if (!LayOutRows(width, height, BytesPerPixelOf(pixelType, paletteFlag, alphaFlag), pitch, 16, &rows)) return -1;

  auto* store = static_cast<MemImgStore*>(TrackedAllocZero(sizeof(MemImgStore), "", 0));
  image->store = store;
  if (!store) return -1;
  store->width = width;
  store->height = height;
  store->colorKey = colorKey;
  store->pixelType = pixelType;
  store->paletteFlag = paletteFlag;
  store->alphaFlag = alphaFlag;
  store->useCount = 1;
  if (paletteFlag) {
    store->palette = static_cast<uint8_t*>(TrackedAllocZero(kMemImgPaletteBytes, "", 0));
    if (!store->palette) {
      TrackedFree(store);
      image->store = nullptr;
      return -1;
    }
  }
  store->pitch = rows.pitch;
  store->colorFormat = GetMemImgColorFormat(pixelType, alphaFlag, paletteFlag);
  if (callerPixels) {
    store->pixels = static_cast<uint8_t*>(callerPixels);
    store->callerBufferFlag = 1;
  } else {
    store->pixels = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(rows.size), "", 0));
    if (!store->pixels) {
      if (store->palette) TrackedFree(store->palette);
      TrackedFree(store);
      image->store = nullptr;
      return -1;
    }
  }
  image->check = kMemImgValid;
  image->width = width;
  image->height = height;
  image->pixels = store->pixels;
  return 0;
}

void MakeMemImgView(MemImg* view, const MemImg* source, int x, int y, int width, int height) {
  // A negative size would let the view reach outside its source.
  if (x < 0 || y < 0 || width < 0 || height < 0) return;
  if (static_cast<int64_t>(x) + width > source->width || static_cast<int64_t>(y) + height > source->height) return;
  MemImgStore* store = source->store;
  view->width = width;
  view->height = height;
  view->check = kMemImgValid;
  view->pixels = source->pixels + static_cast<intptr_t>(y) * store->pitch +
                 static_cast<intptr_t>(x) * MemImgBytesPerPixel(store);
  view->store = store;
  ++store->useCount;
}

int IsMemImgValid(const MemImg* image) { return image->check == kMemImgValid && image->store != nullptr; }

void ReleaseMemImg(MemImg* image) {
  if (image->check != kMemImgValid) return;
  MemImgStore* store = image->store;
  if (--store->useCount == 0) {
    if (!store->callerBufferFlag) TrackedFree(store->pixels);
    if (store->palette) {
      TrackedFree(store->palette);
      store->palette = nullptr;
    }
    TrackedFree(store);
  }
  image->store = nullptr;
  image->check = 0;
}

void FillMemImg(MemImg* image, const IntRect* rect, uint32_t value) {
  IntRect area{0, 0, image->width, image->height};
  if (rect) {
    IntRect clipped = *rect;
    ClipRect(&clipped, area);
    area = clipped;
  }
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const MemImgStore* store = image->store;
  const int bytes = MemImgBytesPerPixel(store);
  uint8_t* row = image->pixels + static_cast<intptr_t>(area.top) * store->pitch +
                 static_cast<intptr_t>(area.left) * bytes;
  for (int y = 0; y < height; ++y, row += store->pitch) {
    switch (bytes) {
      case 1:
        std::memset(row, static_cast<int>(value & 0xFF), static_cast<size_t>(width));
        break;
      case 2: {
        const uint16_t v = static_cast<uint16_t>(value);
        for (int x = 0; x < width; ++x) std::memcpy(row + 2 * x, &v, 2);
        break;
      }
      case 4:
        for (int x = 0; x < width; ++x) std::memcpy(row + 4 * x, &value, 4);
        break;
      default:
        return;
    }
  }
}

int CreateScreenMemImg(MemImg* image, int width, int height, int pixelType) {
  MemFill(image, 0, sizeof *image);
  if (pixelType == -1) pixelType = GetScreenDepth() == 16 ? MemImgRgb565 : MemImgXrgb8888;
  return CreateMemImg(image, width, height, -1, 0, pixelType, 0, 0, nullptr);
}

int CreateDepthMemImg(MemImg* image, int width, int height) {
  MemFill(image, 0, sizeof *image);
  return CreateMemImg(image, width, height, -1, 0, MemImgDepth16, 0, 0, nullptr);
}
