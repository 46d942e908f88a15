#include "runtime/graphics/movies/YuvTables.h"

#include <algorithm>

YuvTables gYuvTables;

int InitYuvTables() {
  YuvTables& t = gYuvTables;
  for (int v = 0; v < 256; ++v) {
    t.redFromV[v] = 26148 * (v - 128);
    t.greenFromU[v] = -6406 * (v - 128);
    t.greenFromV[v] = -13320 * (v - 128);
    t.blueFromU[v] = 33062 * (v - 128);
    t.luma[v] = 19070 * (v - 16);
  }
  for (int i = -512; i < 768; ++i) t.clamp[i + 512] = static_cast<uint8_t>(std::clamp(i, 0, 255));
  return 0;
}

namespace {

// The sums stay inside -512..767 for every byte triple, so the clamp table
// covers them.
inline uint8_t Channel(int32_t sum) { return gYuvTables.clamp[sum / 16384 + 512]; }

inline void StorePixel(uint8_t* out, int32_t luma, int32_t red, int32_t green, int32_t blue) {
  out[0] = Channel(luma + blue);
  out[1] = Channel(luma + green);
  out[2] = Channel(luma + red);
  out[3] = 255;
}

void Convert420(const YuvPlane& y, const YuvPlane& u, const YuvPlane& v, uint8_t* destination, int32_t pitch,
                int32_t width, int32_t height) {
  const YuvTables& t = gYuvTables;
  for (int32_t row = 0; row < height; row += 2) {
    const uint8_t* y0 = y.data + static_cast<int64_t>(row) * y.stride;
    const uint8_t* y1 = y0 + y.stride;
    const uint8_t* us = u.data + static_cast<int64_t>(row / 2) * u.stride;
    const uint8_t* vs = v.data + static_cast<int64_t>(row / 2) * v.stride;
    uint8_t* out0 = destination + static_cast<int64_t>(row) * pitch;
    uint8_t* out1 = out0 + pitch;
    const bool secondRow = row + 1 < height;
    for (int32_t x = 0; x < width; x += 2) {
      const int32_t red = t.redFromV[vs[x / 2]];
      const int32_t green = t.greenFromU[us[x / 2]] + t.greenFromV[vs[x / 2]];
      const int32_t blue = t.blueFromU[us[x / 2]];
      const bool secondColumn = x + 1 < width;
      StorePixel(out0 + 4 * x, t.luma[y0[x]], red, green, blue);
      if (secondColumn) StorePixel(out0 + 4 * x + 4, t.luma[y0[x + 1]], red, green, blue);
      if (secondRow) {
        StorePixel(out1 + 4 * x, t.luma[y1[x]], red, green, blue);
        if (secondColumn) StorePixel(out1 + 4 * x + 4, t.luma[y1[x + 1]], red, green, blue);
      }
    }
  }
}

inline uint8_t ClampToByte(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<uint8_t>(value);  // in range: truncates
}

// Other chroma layouts: the chroma of (x / 2, y / 2), clipped to its plane.
void ConvertOther(const YuvPlane& y, const YuvPlane& u, const YuvPlane& v, uint8_t* destination, int32_t pitch,
                  int32_t width, int32_t height) {
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* ys = y.data + static_cast<int64_t>(row) * y.stride;
    const int32_t uRow = std::min(row / 2, u.height - 1);
    const int32_t vRow = std::min(row / 2, v.height - 1);
    uint8_t* out = destination + static_cast<int64_t>(row) * pitch;
    for (int32_t x = 0; x < width; ++x) {
      const double luma = (ys[x] - 16) * 1.164;
      const int cb = u.data[static_cast<int64_t>(uRow) * u.stride + std::min(x / 2, u.width - 1)] - 128;
      const int cr = v.data[static_cast<int64_t>(vRow) * v.stride + std::min(x / 2, v.width - 1)] - 128;
      out[4 * x + 0] = ClampToByte(luma + 2.018 * cb);
      out[4 * x + 1] = ClampToByte(luma - 0.391 * cb - 0.813 * cr);
      out[4 * x + 2] = ClampToByte(luma + 1.596 * cr);
      out[4 * x + 3] = 255;
    }
  }
}

}  // namespace

void ConvertYuvToXrgb(const YuvPlane& y, const YuvPlane& u, const YuvPlane& v, uint8_t* destination, int32_t pitch,
                      int32_t width, int32_t height) {
  width = std::min(width, y.width);
  height = std::min(height, y.height);
  if (width <= 0 || height <= 0 || u.width <= 0 || u.height <= 0 || v.width <= 0 || v.height <= 0) return;
  const bool is420 = u.width * 2 == y.width && u.height * 2 == y.height && v.width == u.width && v.height == u.height;
  if (is420) {
    Convert420(y, u, v, destination, pitch, width, height);
  } else {
    ConvertOther(y, u, v, destination, pitch, width, height);
  }
}
