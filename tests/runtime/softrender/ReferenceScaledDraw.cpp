#include "tests/runtime/softrender/ReferenceScaledDraw.h"

#include <algorithm>
#include <cstring>

#include "tests/runtime/softrender/ReferencePixel.h"
#include "tests/runtime/softrender/ReferencePlainDraw.h"

namespace {

int Byte(uint32_t v, int i) { return static_cast<int>((v >> (8 * i)) & 0xFF); }

uint32_t Read(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, bytes);
  return v;
}

}  // namespace

void ReferenceSoftDrawImageScaled(MemImg* destination, const MemImg* source, int x1, int y1, int x2, int y2,
                                  int transparent, const MemImg* blendGraphic, const DrawState& state,
                                  const uint8_t graphicWeights[256], bool mmx) {
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return;
  if (ss->pixelType != 1 && ss->pixelType != 0) return;
  if (source->width <= 0 || source->height <= 0) return;
  const bool mirrorX = x1 > x2, mirrorY = y1 > y2;
  const int64_t left = std::min(x1, x2), top = std::min(y1, y2);
  const int64_t w = int64_t{std::max(x1, x2)} - left, h = int64_t{std::max(y1, y2)} - top;
  if (w == 0 || h == 0) return;
  if (w == source->width && h == source->height && !mirrorX && !mirrorY) {
    ReferenceSoftDrawImage(destination, source, static_cast<int>(left), static_cast<int>(top), transparent,
                           blendGraphic, state, graphicWeights, mmx);
    return;
  }
  if (w >= 65536 || h >= 65536 || source->width >= 65536 || source->height >= 65536) return;
  if (blendGraphic && (blendGraphic->store->pixelType != 2 || blendGraphic->width < source->width ||
                       blendGraphic->height < source->height))
    return;
  const int64_t columnStep = (w << 16) / source->width;
  const int64_t rowStep = (h << 16) / source->height;

  const bool wide = ss->pixelType == 1;
  const bool palette = ss->paletteFlag != 0;
  const int destinationBytes = wide ? 4 : 2;
  const int sourceBytes = palette ? 1 : (wide || ss->alphaFlag ? 4 : 2);

  const IntRect& region = state.drawRegion;
  const int64_t clipLeft =
      std::clamp<int64_t>(left, std::max(0, region.left), std::min(destination->width, region.right));
  const int64_t clipRight =
      std::clamp<int64_t>(left + w, std::max(0, region.left), std::min(destination->width, region.right));
  const int64_t clipTop =
      std::clamp<int64_t>(top, std::max(0, region.top), std::min(destination->height, region.bottom));
  const int64_t clipBottom =
      std::clamp<int64_t>(top + h, std::max(0, region.top), std::min(destination->height, region.bottom));
  if (clipRight <= clipLeft || clipBottom <= clipTop) return;

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
  r.weights = graphicWeights;
  r.scaled = true;
  const uint32_t key = ss->colorKey;
  const bool plainOpaque = !r.graphic && r.white && !r.alpha;

  for (int64_t y = clipTop; y < clipBottom; ++y) {
    const int64_t qy = ((y - top) << 16) / rowStep;
    const int64_t sy = mirrorY ? source->height - 1 - qy : qy;
    for (int64_t x = clipLeft; x < clipRight; ++x) {
      const int64_t qx = ((x - left) << 16) / columnStep;
      const int64_t sx = mirrorX ? source->width - 1 - qx : qx;
      const uint32_t raw = Read(source->pixels + sy * ss->pitch + sx * sourceBytes, sourceBytes);
      uint32_t colour = raw;
      int alpha = 0;
      if (palette) {
        colour = Read(ss->palette + destinationBytes * raw, destinationBytes);
      } else if (!wide && r.alpha) {
        colour = raw & 0xFFFF;
        alpha = Byte(raw, 2);
      }
      // The key is compared with the whole raw value: pixel, word or index.
      const bool hit = r.keyed && !r.alpha && raw == key;
      uint8_t* at = destination->pixels + y * ds->pitch + x * destinationBytes;
      uint32_t d = Read(at, destinationBytes);
      bool drawn = true;
      if (r.mode == 0 && plainOpaque) {
        drawn = !hit;
        d = colour;
      } else if (r.mode == 3 && plainOpaque && r.p == 255 && wide) {
        drawn = !hit;
        d = mmx ? ReferenceBytewiseSaturate32(d, colour, false) : ReferencePackedSubtract32(d, colour);
      } else {
        const int g = r.graphic ? blendGraphic->pixels[sy * blendGraphic->store->pitch + sx] : 0;
        drawn =
            wide ? ReferenceGeneralPixel32(r, colour, d, g, hit) : ReferenceGeneralPixel16(r, colour, alpha, d, g, hit);
      }
      if (drawn) std::memcpy(at, &d, destinationBytes);
    }
  }
}
