#include "tests/runtime/softrender/ReferencePlainDraw.h"

#include <cstring>
#include <vector>

#include "tests/runtime/softrender/ReferencePixel.h"

namespace {

int Byte(uint32_t v, int i) { return static_cast<int>((v >> (8 * i)) & 0xFF); }

uint32_t Read(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, bytes);
  return v;
}

// The special paths of the plain draw.
enum class Path { General, Whole, Halve, AddSat, SubSat, AddB, SubWhole, AddPair, SubPair };

}  // namespace

void ReferenceSoftDrawImage(MemImg* destination, const MemImg* source, int x, int y, int transparent,
                            const MemImg* blendGraphic, const DrawState& state, const uint8_t graphicWeights[256],
                            bool mmx) {
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return;
  if (ss->pixelType != 1 && ss->pixelType != 0) return;
  const bool wide = ss->pixelType == 1;
  const bool palette = ss->paletteFlag != 0;
  const int destinationBytes = wide ? 4 : 2;
  const int sourceBytes = palette ? 1 : (wide || ss->alphaFlag ? 4 : 2);

  // Clip: right and bottom raised, then every edge clamped into the region.
  int64_t left = x, top = y, right = int64_t{x} + source->width, bottom = int64_t{y} + source->height;
  const IntRect& region = state.drawRegion;
  auto clamp = [](int64_t v, int64_t lo, int64_t hi) { return v > hi ? hi : (v < lo ? lo : v); };
  bottom = clamp(bottom, region.top, region.bottom);
  top = clamp(top, region.top, region.bottom);
  right = clamp(right, region.left, region.right);
  left = clamp(left, region.left, region.right);
  const int width = static_cast<int>(right - left), height = static_cast<int>(bottom - top);
  if (width <= 0 || height <= 0) return;
  const int sx = static_cast<int>(left - x), sy = static_cast<int>(top - y);

  ReferenceDraw r{};
  r.mode = state.blendMode;
  r.p = state.blendParameter;
  if (r.mode == 1 && r.p == 255) r.mode = 0;
  if ((r.mode == 1 || r.mode == 2 || r.mode == 3) && r.p == 0) return;
  if (!(r.mode <= 4 || r.mode == 10 || r.mode == 11) || r.mode < 0) return;
  r.b[0] = Byte(state.brightness, 0), r.b[1] = Byte(state.brightness, 1), r.b[2] = Byte(state.brightness, 2);
  r.white = r.b[0] == 255 && r.b[1] == 255 && r.b[2] == 255;
  r.graphic = blendGraphic != nullptr;
  r.alpha = ss->alphaFlag != 0;
  r.keyed = transparent != 0;
  // A key that no raw value can equal (above 0xFFFF for a 16-bit word,
  // above 255 for an index) runs the loops without the flag.
  if (!r.alpha && (palette ? ss->colorKey > 0xFF : !wide && ss->colorKey > 0xFFFF)) r.keyed = false;
  r.weights = graphicWeights;
  const uint32_t key = ss->colorKey;

  // Which special path runs, and how many pixels its steps read at once
  // (0: the whole row).
  Path path = Path::General;
  int group = 1;
  const bool plain = !r.graphic && r.white && !r.alpha;
  if (r.mode == 0 && plain) {
    path = Path::Whole;
    group = r.keyed ? (wide ? 4 : 2) : 0;
  } else if (r.mode == 0 && !r.graphic && r.white && r.alpha && !r.keyed) {
    path = Path::Whole;
  } else if (r.mode == 1 && plain && r.p == 128) {
    path = Path::Halve;
    group = wide && r.keyed && !mmx ? 1 : 2;
  } else if ((r.mode == 2 || r.mode == 3) && plain && r.p == 255) {
    if (!wide) {
      path = r.mode == 2 ? Path::AddPair : Path::SubPair;
      group = 2;
    } else if (mmx) {
      path = r.mode == 2 ? Path::AddSat : Path::SubSat;
      group = r.keyed ? 2 : 4;
    } else {
      path = r.mode == 2 ? Path::AddB : Path::SubWhole;
    }
  }

  for (int row = 0; row < height; ++row) {
    uint8_t* drow = destination->pixels + static_cast<intptr_t>(top + row) * ds->pitch + left * destinationBytes;
    const uint8_t* srow = source->pixels + static_cast<intptr_t>(sy + row) * ss->pitch + sx * sourceBytes;
    const uint8_t* grow =
        r.graphic ? blendGraphic->pixels + static_cast<intptr_t>(sy + row) * blendGraphic->store->pitch + sx : nullptr;
    int i = 0;
    while (i < width) {
      const int n = group == 0 ? width : (i + group <= width ? group : 1);
      // The step's source pixels are read before any of them is written.
      std::vector<uint8_t> read(static_cast<size_t>(n) * sourceBytes);
      std::memcpy(read.data(), srow + sourceBytes * i, read.size());
      std::vector<uint32_t> raw(n), colour(n);
      std::vector<int> alpha(n, 0);
      std::vector<bool> hit(n);
      for (int j = 0; j < n; ++j) {
        raw[j] = Read(&read[static_cast<size_t>(sourceBytes) * j], sourceBytes);
        if (palette) {
          colour[j] = Read(ss->palette + destinationBytes * raw[j], destinationBytes);
        } else if (!wide && r.alpha) {
          colour[j] = raw[j] & 0xFFFF;
          alpha[j] = Byte(raw[j], 2);
        } else {
          colour[j] = raw[j];
        }
        // The key is compared with the whole raw value: pixel, word or index.
        hit[j] = r.keyed && !r.alpha && raw[j] == key;
      }
      std::vector<uint32_t> dest(n);
      for (int j = 0; j < n; ++j) dest[j] = Read(drow + destinationBytes * (i + j), destinationBytes);
      std::vector<bool> drawn(n, true);

      if (path == Path::AddPair || path == Path::SubPair) {
        const bool add = path == Path::AddPair;
        if (n == 2 && !hit[0] && !hit[1]) {
          const uint32_t pair =
              add ? ReferencePackedAddPair16(dest[0] | dest[1] << 16, colour[0] | colour[1] << 16)
                  : ReferencePackedSubtractPair16(dest[0] | dest[1] << 16, colour[0] | colour[1] << 16);
          dest[0] = pair & 0xFFFF, dest[1] = pair >> 16;
        } else {
          // A pixel alone: the one-pixel form.
          for (int j = 0; j < n; ++j) {
            if (hit[j])
              drawn[j] = false;
            else
              dest[j] =
                  add ? ReferencePackedAdd16(dest[j], colour[j], false) : ReferencePackedSubtract16(dest[j], colour[j]);
          }
        }
      } else {
        for (int j = 0; j < n; ++j) {
          const uint32_t s = colour[j];
          uint32_t& d = dest[j];
          if (path != Path::General && hit[j]) {
            drawn[j] = false;
            continue;
          }
          switch (path) {
            case Path::Whole:
              d = s;
              break;
            case Path::Halve:
              if (wide) {
                uint32_t out = 0;
                for (int c = 0; c < 3; ++c) out |= static_cast<uint32_t>(Byte(s, c) / 2 + Byte(d, c) / 2) << (8 * c);
                d = out;
              } else {
                d = ((s >> 11) / 2 + (d >> 11) / 2) << 11 | (((s >> 5) & 63) / 2 + ((d >> 5) & 63) / 2) << 5 |
                    ((s & 31) / 2 + (d & 31) / 2);
              }
              break;
            case Path::AddSat:
              d = ReferenceBytewiseSaturate32(d, s, true);
              break;
            case Path::SubSat:
              d = ReferenceBytewiseSaturate32(d, s, false);
              break;
            case Path::AddB:
              d = ReferencePackedAdd32(d, s, false);
              break;
            case Path::SubWhole:
              d = ReferencePackedSubtract32(d, s);
              break;
            default: {
              const int g = grow ? grow[i + j] : 0;
              drawn[j] = wide ? ReferenceGeneralPixel32(r, s, d, g, hit[j])
                              : ReferenceGeneralPixel16(r, s, alpha[j], d, g, hit[j]);
            }
          }
        }
      }
      for (int j = 0; j < n; ++j)
        if (drawn[j]) std::memcpy(drow + destinationBytes * (i + j), &dest[j], destinationBytes);
      i += n;
    }
  }
}
