#include "runtime/graphics/format/ConvertImagePixels.h"

#include <cstring>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/format/PixelCodec.h"

namespace {

int gFastLoops = 1;

struct Channel {
  uint32_t mask;
  int shift;
  int width;
};

Channel RedOf(const ColorFormat& f) { return {f.redMask, f.redShift, f.redWidth}; }
Channel GreenOf(const ColorFormat& f) { return {f.greenMask, f.greenShift, f.greenWidth}; }
Channel BlueOf(const ColorFormat& f) { return {f.blueMask, f.blueShift, f.blueWidth}; }
Channel AlphaOf(const ColorFormat& f) { return {f.alphaMask, f.alphaShift, f.alphaWidth}; }

uint32_t Take(uint32_t value, const Channel& c) { return ExtractChannel(value, c.mask, c.shift); }

// A channel value at its place, never above the channel's mask.
uint32_t PlaceLimited(uint32_t value, const Channel& c) {
  const uint64_t placed = c.shift < 32 ? static_cast<uint64_t>(value) << c.shift : 0;
  return placed > c.mask ? c.mask : static_cast<uint32_t>(placed);
}

uint32_t PaletteEntry(const ColorFormat& f, uint32_t index) {
  const uint8_t* e = f.palette[index & 0xFF];
  return e[0] | e[1] << 8 | e[2] << 16 | static_cast<uint32_t>(e[3]) << 24;
}

// The value a source pixel stands for: the pixel, or an index's palette entry.
uint32_t ValueAt(const ColorFormat& f, const uint8_t* at) {
  if (f.bytesPerPixel == 1) return PaletteEntry(f, *at);
  return LoadPixelBytes(at, f.bytesPerPixel);
}

bool IsRgb8Layout(const ColorFormat& f) {
  return f.redMask == 0xFF0000 && f.greenMask == 0xFF00 && f.blueMask == 0xFF;
}

bool HasLayout(const ColorFormat& f, int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return f.depth == depth && f.redMask == r && f.greenMask == g && f.blueMask == b && f.alphaMask == a;
}

// A channel taken from a source pixel and brought to a destination width.
// Widening divides, so where every value of the source channel fits in 8 bits
// and the call has more pixels than the channel has values, each value is
// worked out once into a table.
struct ChannelScale {
  Channel from;
  int to;
  uint32_t entries;  // 0: no table
  uint32_t table[256];

  ChannelScale() {}  // the table is filled only where it is used

  void Prepare(const Channel& source, int destinationWidth, int64_t pixels) {
    from = source;
    to = destinationWidth;
    entries = 0;
    const uint32_t largest = Take(source.mask, source);
    if (largest > 255 || pixels <= largest) return;
    entries = largest + 1;
    for (uint32_t v = 0; v < entries; ++v) table[v] = ScaleChannel(v, from.width, to);
  }

  uint32_t operator()(uint32_t pixel) const {
    const uint32_t v = Take(pixel, from);
    return entries ? table[v] : ScaleChannel(v, from.width, to);
  }
};

struct Conversion {
  const ColorFormat* dst;
  const ColorFormat* src;
  const ColorFormat* alphaFormat;  // null unless the alpha image is used
  bool dstHasAlpha;
  bool srcHasAlpha;
  bool keyToAlpha;
  bool alphaOnly;
  bool alphaFromRed;
  bool skipKey;
  uint32_t key;
  uint32_t sourceKey;  // the key reduced to the source depth
  uint32_t packedKeyRgb;
  uint32_t rgbMask;
  ChannelScale red, green, blue;
  ChannelScale alpha;  // from the source's alpha, or from the alpha image's red

  void PrepareChannels(int64_t pixels) {
    const ColorFormat& d = *dst;
    const ColorFormat& s = *src;
    red.Prepare(RedOf(s), d.redWidth, pixels);
    green.Prepare(GreenOf(s), d.greenWidth, pixels);
    blue.Prepare(BlueOf(s), d.blueWidth, pixels);
    if (!dstHasAlpha || alphaFromRed) return;
    if (srcHasAlpha)
      alpha.Prepare(AlphaOf(s), d.alphaWidth, pixels);
    else if (alphaFormat)
      alpha.Prepare(RedOf(*alphaFormat), d.alphaWidth, pixels);
  }

  // The general rule for one pixel; false when the pixel is skipped.
  bool Convert(uint32_t value, const uint8_t* alphaAt, uint32_t* out) const {
    if (skipKey && value == sourceKey) return false;
    const ColorFormat& d = *dst;
    uint32_t r = red(value);
    uint32_t g = green(value);
    uint32_t b = blue(value);
    uint32_t a;
    if (alphaFromRed) {
      a = r;
    } else if (!dstHasAlpha) {
      a = 0;
    } else if (srcHasAlpha) {
      a = alpha(value);
    } else if (alphaFormat) {
      a = alpha(ValueAt(*alphaFormat, alphaAt));
    } else {
      a = Take(d.alphaMask, AlphaOf(d));
    }
    if (alphaOnly) r = g = b = 0;
    uint32_t pixel = PlaceLimited(r, RedOf(d)) | PlaceLimited(g, GreenOf(d)) | PlaceLimited(b, BlueOf(d));
    if (d.depth == 16 || d.depth == 32) pixel |= d.unusedMask;
    const uint32_t alphaBits = PlaceLimited(a, AlphaOf(d));
    if (keyToAlpha) {
      pixel = (pixel & ~d.alphaMask) | ((pixel & rgbMask) == packedKeyRgb ? 0 : d.alphaMask);
    } else {
      pixel |= alphaBits;
    }
    *out = pixel;
    return true;
  }
};

// Walks the rectangle; body(destination pixel, source pixel, alpha pixel).
template <class Body>
void ForEachPixel(uint8_t* dst, int32_t dstPitch, int dstBytes, const uint8_t* src, int32_t srcPitch,
                  int srcBytes, const uint8_t* alpha, int32_t alphaPitch, int alphaBytes, int dstX, int dstY,
                  const IntRect& rect, bool mirror, Body body) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  for (int j = 0; j < height; ++j) {
    uint8_t* dRow = dst + static_cast<intptr_t>(dstY + j) * dstPitch + static_cast<intptr_t>(dstX) * dstBytes;
    const uint8_t* sRow = src + static_cast<intptr_t>(rect.top + j) * srcPitch +
                          static_cast<intptr_t>(rect.left) * srcBytes;
    const uint8_t* aRow = alpha ? alpha + static_cast<intptr_t>(rect.top + j) * alphaPitch +
                                      static_cast<intptr_t>(rect.left) * alphaBytes
                                : nullptr;
    for (int i = 0; i < width; ++i) {
      const int column = mirror ? width - 1 - i : i;
      body(dRow + static_cast<intptr_t>(column) * dstBytes, sRow + static_cast<intptr_t>(i) * srcBytes,
           aRow ? aRow + static_cast<intptr_t>(i) * alphaBytes : nullptr);
    }
  }
}

}  // namespace

void SetConvertFastLoopsEnabled(int enabled) { gFastLoops = enabled; }

int ConvertImagePixels(uint8_t* destination, int32_t destinationPitch, const ColorFormat& d,
                       const uint8_t* source, int32_t sourcePitch, const ColorFormat& s,
                       const uint8_t* alphaPixels, int32_t alphaPitch, const ColorFormat* alphaFormat,
                       int destinationX, int destinationY, const IntRect& rect, int mirror, int keyToAlpha,
                       uint32_t key, int alphaOnly, int alphaFromRed, int skipKey, int remapPalette) {
  // An inverted rectangle is refused like an empty one.
  if (rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return -1;
  const bool mirrored = mirror != 0;
  const int dBytes = d.bytesPerPixel;
  const int sBytes = s.bytesPerPixel;
  const int aBytes = alphaFormat ? alphaFormat->bytesPerPixel : 0;

  const bool dstHasAlpha = d.alphaMask != 0;
  const bool srcHasAlpha = s.alphaMask != 0;
  const bool alphaTransfer = dstHasAlpha && (srcHasAlpha || alphaPixels != nullptr);
  const bool keyAlpha = keyToAlpha && dstHasAlpha && !alphaTransfer && !alphaFromRed;
  const bool skip = skipKey && !alphaTransfer && !mirrored;
  const bool useAlphaImage = alphaPixels != nullptr && alphaFormat != nullptr && !srcHasAlpha;
  const uint8_t* alpha = useAlphaImage ? alphaPixels : nullptr;

  auto walk = [&](auto body) {
    ForEachPixel(destination, destinationPitch, dBytes, source, sourcePitch, sBytes, alpha, alphaPitch, aBytes,
                 destinationX, destinationY, rect, mirrored, body);
  };

  if (remapPalette && dBytes == 1 && sBytes == 1 && std::memcmp(d.palette, s.palette, sizeof d.palette) != 0) {
    uint8_t map[256];
    for (int i = 0; i < 256; ++i)
      map[i] = static_cast<uint8_t>(EncodePixel(d, s.palette[i][2], s.palette[i][1], s.palette[i][0], 0));
    walk([&](uint8_t* to, const uint8_t* from, const uint8_t*) { *to = map[*from]; });
    return 0;
  }

  if (d.depth == 8) {
    if (s.depth == 16 || s.depth == 24 || s.depth == 32) {
      // Pictures come in runs of one colour: a run costs one palette scan.
      bool known = false;
      uint32_t lastValue = 0;
      uint8_t lastIndex = 0;
      walk([&](uint8_t* to, const uint8_t* from, const uint8_t*) {
        const uint32_t v = LoadPixelBytes(from, sBytes);
        if (!known || v != lastValue) {
          const int r = static_cast<int>(ScaleChannel(Take(v, RedOf(s)), s.redWidth, 8));
          const int g = static_cast<int>(ScaleChannel(Take(v, GreenOf(s)), s.greenWidth, 8));
          const int b = static_cast<int>(ScaleChannel(Take(v, BlueOf(s)), s.blueWidth, 8));
          lastIndex = static_cast<uint8_t>(EncodePixel(d, r, g, b, 0));
          lastValue = v;
          known = true;
        }
        *to = lastIndex;
      });
      return 0;
    }
    if (s.depth != 8) return 0;
    if (!alphaOnly && !skip) {
      int largest = 0;
      walk([&](uint8_t* to, const uint8_t* from, const uint8_t*) {
        *to = *from;
        if (*from > largest) largest = *from;
      });
      return largest;
    }
  }

  const bool sameRgb = d.depth == s.depth && d.redMask == s.redMask && d.greenMask == s.greenMask &&
                       d.blueMask == s.blueMask;
  const uint32_t sourceKey = key & LowBitMask(s.depth);

  if (sameRgb && d.alphaMask == s.alphaMask && !keyAlpha && !alphaOnly && !alphaFromRed) {
    if (!skip && !mirrored) {
      const size_t rowBytes = static_cast<size_t>(rect.right - rect.left) * sBytes;
      for (int j = 0; j < rect.bottom - rect.top; ++j) {
        std::memmove(destination + static_cast<intptr_t>(destinationY + j) * destinationPitch +
                         static_cast<intptr_t>(destinationX) * dBytes,
                     source + static_cast<intptr_t>(rect.top + j) * sourcePitch +
                         static_cast<intptr_t>(rect.left) * sBytes,
                     rowBytes);
      }
      return 0;
    }
    walk([&](uint8_t* to, const uint8_t* from, const uint8_t*) {
      const uint32_t v = LoadPixelBytes(from, sBytes);
      if (skip && v == sourceKey) return;
      StorePixelBytes(to, dBytes, v);
    });
    return 0;
  }

  const uint32_t rgbMask = d.redMask | d.greenMask | d.blueMask;
  const uint32_t packedKeyRgb =
      EncodePixel(d, (key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF, 255) & rgbMask;

  if (sameRgb && keyAlpha && !alphaOnly && !alphaFromRed && !skip) {
    walk([&](uint8_t* to, const uint8_t* from, const uint8_t*) {
      const uint32_t rgb = LoadPixelBytes(from, sBytes) & rgbMask;
      StorePixelBytes(to, dBytes, rgb == packedKeyRgb ? rgb : rgb | d.alphaMask);
    });
    return 0;
  }

  Conversion c{&d, &s, useAlphaImage ? alphaFormat : nullptr, dstHasAlpha, srcHasAlpha, keyAlpha, alphaOnly != 0,
               alphaFromRed != 0, skip, key, sourceKey, packedKeyRgb, rgbMask, {}, {}, {}, {}};
  c.PrepareChannels(static_cast<int64_t>(rect.right - rect.left) * (rect.bottom - rect.top));

  if (gFastLoops && !useAlphaImage && !alphaOnly && !alphaFromRed) {
    const bool rgb8Source = IsRgb8Layout(s) && (sBytes == 1 || (s.depth == 24 && sBytes == 3));
    const bool argb1555 = HasLayout(d, 16, 0x7C00, 0x03E0, 0x001F, 0x8000);
    if (sBytes == 1) {
      // An index stands for one value: convert each of the 256 once.
      uint32_t table[256];
      bool drawn[256];
      for (int i = 0; i < 256; ++i) {
        drawn[i] = c.Convert(PaletteEntry(s, static_cast<uint32_t>(i)), nullptr, &table[i]);
        // This loop matches the key against the entry's full colour.
        if (drawn[i] && keyAlpha && rgb8Source && argb1555) {
          const bool isKey = (PaletteEntry(s, static_cast<uint32_t>(i)) & 0xFFFFFF) == (key & 0xFFFFFF);
          table[i] = (table[i] & 0x7FFF) | (isKey ? 0 : 0x8000);
        }
      }
      walk([&](uint8_t* to, const uint8_t* from, const uint8_t*) {
        if (drawn[*from]) StorePixelBytes(to, dBytes, table[*from]);
      });
      return 0;
    }
    const bool plainTarget = HasLayout(d, 16, 0xF800, 0x07E0, 0x001F, 0) ||
                             HasLayout(d, 16, 0x7C00, 0x03E0, 0x001F, 0) ||
                             HasLayout(d, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    const bool keyTarget = argb1555 || HasLayout(d, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    if (rgb8Source && !skip && !mirrored && (keyAlpha ? keyTarget : plainTarget)) {
      const int rs = d.redShift, gs = d.greenShift, bs = d.blueShift;
      const int rw = 8 - d.redWidth, gw = 8 - d.greenWidth, bw = 8 - d.blueWidth;
      const uint32_t fill = keyAlpha ? 0 : d.unusedMask;
      const int height = rect.bottom - rect.top;
      const int width = rect.right - rect.left;
      if (!keyAlpha && dBytes == 4 && rs == 16 && gs == 8 && bs == 0 && rw == 0 && gw == 0 && bw == 0) {
        // 24 to 32 bits, the common load: fixed shifts the compiler can widen.
        for (int j = 0; j < height; ++j) {
          uint8_t* to = destination + static_cast<intptr_t>(destinationY + j) * destinationPitch +
                        static_cast<intptr_t>(destinationX) * 4;
          const uint8_t* from =
              source + static_cast<intptr_t>(rect.top + j) * sourcePitch + static_cast<intptr_t>(rect.left) * 3;
          for (int i = 0; i < width; ++i) {
            WriteLe32(to + 4 * i, (static_cast<uint32_t>(from[3 * i + 2]) << 16) |
                                      (static_cast<uint32_t>(from[3 * i + 1]) << 8) | from[3 * i] | fill);
          }
        }
        return 0;
      }
      for (int j = 0; j < height; ++j) {
        uint8_t* to = destination + static_cast<intptr_t>(destinationY + j) * destinationPitch +
                      static_cast<intptr_t>(destinationX) * dBytes;
        const uint8_t* from =
            source + static_cast<intptr_t>(rect.top + j) * sourcePitch + static_cast<intptr_t>(rect.left) * 3;
        for (int i = 0; i < width; ++i, from += 3, to += dBytes) {
          uint32_t pixel = (static_cast<uint32_t>(from[2] >> rw) << rs) |
                           (static_cast<uint32_t>(from[1] >> gw) << gs) |
                           (static_cast<uint32_t>(from[0] >> bw) << bs) | fill;
          if (keyAlpha) pixel |= pixel == packedKeyRgb ? 0 : d.alphaMask;
          // Whole images pass here on every load: keep the store inline.
          if (dBytes == 4) {
            WriteLe32(to, pixel);
          } else {
            WriteLe16(to, static_cast<uint16_t>(pixel));
          }
        }
      }
      return 0;
    }
  }

  walk([&](uint8_t* to, const uint8_t* from, const uint8_t* alphaAt) {
    uint32_t pixel;
    if (c.Convert(ValueAt(s, from), alphaAt, &pixel)) StorePixelBytes(to, dBytes, pixel);
  });
  return 0;
}
