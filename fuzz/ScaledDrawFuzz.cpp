// The scaled draw with arguments of any value: source and destination of
// any pixel type, flags and size (a source view may have no pixels), blend
// graphics of any size and type, rectangles anywhere in the 32-bit range,
// any region inside the destination (its callers' promise), any mode, parameter, brightness and key, on either
// instruction set. Nothing may be read or written outside an image, and every draw must give the closed-form
// reference's pixels.

#include <cstdint>
#include <cstring>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"
#include "tests/runtime/softrender/ReferenceScaledDraw.h"

namespace {

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  int Byte() { return at < size ? data[at++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<uint32_t>(Byte());
    return v;
  }
  // Mostly near the images, sometimes anywhere.
  int Coordinate() {
    const int kind = Byte() % 4;
    if (kind == 0) return static_cast<int>(Word());
    if (kind == 1) return static_cast<int>(Word() % 140000) - 70000;
    return Byte() - 64;
  }
};

void Fill(MemImg& m, Reader& r) {
  MemImgStore* s = m.store;
  const uint32_t seed = r.Word();
  for (int i = 0; i < s->pitch * s->height; ++i) s->pixels[i] = static_cast<uint8_t>((seed >> (8 * (i % 4))) + i * 37);
  if (s->palette)
    for (int i = 0; i < kMemImgPaletteBytes; ++i) s->palette[i] = static_cast<uint8_t>(seed * 7 + i * 13);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (BuildSoftBlendTables(), true);
  (void)tables;
  Reader r{data, size};
  const int sourceType = r.Byte() % 4;
  const int sourcePalette = r.Byte() % 2;
  const int sourceAlpha = r.Byte() % 2;
  const int sw = r.Byte() % 24 + 1, sh = r.Byte() % 12 + 1;
  const int destinationType = r.Byte() % 3 == 0 ? r.Byte() % 4 : sourceType;
  const int destinationFlags = r.Byte() % 4;
  const int dw = r.Byte() % 48 + 1, dh = r.Byte() % 24 + 1;
  const uint32_t key = r.Byte() % 2 ? r.Word() : static_cast<uint32_t>(r.Byte());

  MemImg sourceImage{}, source{}, fast{}, slow{}, graphic{};
  if (CreateMemImg(&sourceImage, sw, sh, -1, key, sourceType, sourcePalette, sourceAlpha, nullptr) != 0) return 0;
  Fill(sourceImage, r);
  // A view of the source, possibly without pixels.
  const int vx = r.Byte() % sw, vy = r.Byte() % sh;
  MakeMemImgView(&source, &sourceImage, vx, vy, r.Byte() % (sw - vx + 1), r.Byte() % (sh - vy + 1));
  if (!IsMemImgValid(&source)) {
    ReleaseMemImg(&sourceImage);
    return 0;
  }
  const bool ok =
      CreateMemImg(&fast, dw, dh, -1, 0, destinationType, destinationFlags & 1, destinationFlags >> 1, nullptr) == 0 &&
      CreateMemImg(&slow, dw, dh, -1, 0, destinationType, destinationFlags & 1, destinationFlags >> 1, nullptr) == 0;
  if (ok) {
    Fill(fast, r);
    std::memcpy(slow.store->pixels, fast.store->pixels, static_cast<size_t>(fast.store->pitch) * dh);
    const int graphicKind = r.Byte() % 4;
    bool hasGraphic = false;
    if (graphicKind != 0) {
      const int gw = graphicKind == 1 ? r.Byte() % 30 + 1 : source.width + r.Byte() % 3;
      const int gh = graphicKind == 1 ? r.Byte() % 14 + 1 : source.height + r.Byte() % 3;
      hasGraphic =
          gw > 0 && gh > 0 && CreateMemImg(&graphic, gw, gh, -1, 0, graphicKind == 3 ? 1 : 2, 0, 0, nullptr) == 0;
      if (hasGraphic) Fill(graphic, r);
    }
    DrawState state{};
    state.drawRegion = {r.Byte() % (dw + 1), r.Byte() % (dh + 1), r.Byte() % (dw + 1), r.Byte() % (dh + 1)};
    state.blendMode = r.Byte() % 14 - 1;
    state.blendParameter = r.Byte() % 3 == 0 ? 255 : r.Byte();
    state.brightness = r.Byte() % 2 ? 0xFFFFFF : r.Word();
    BuildBlendGraphicTable(r.Byte(), r.Byte());
    const int x1 = r.Coordinate(), y1 = r.Coordinate(), x2 = r.Coordinate(), y2 = r.Coordinate();
    const int transparent = r.Byte() % 2;
    const bool mmx = r.Byte() % 2;
    SetSoftDrawIsa(r.Byte() % 2 ? SoftDrawIsa::Sse2 : SoftDrawIsa::Avx2);
    gPlatform.mmxUsable = mmx ? 1 : 0;
    gDrawState = state;
    SoftDrawImageScaled(&fast, &source, x1, y1, x2, y2, transparent, hasGraphic ? &graphic : nullptr);
    // The reference takes regions in order; the draw must take the rest
    // safely.
    const bool comparable =
        state.drawRegion.left <= state.drawRegion.right && state.drawRegion.top <= state.drawRegion.bottom;
    if (comparable) {
      ReferenceSoftDrawImageScaled(&slow, &source, x1, y1, x2, y2, transparent, hasGraphic ? &graphic : nullptr, state,
                                   gSoftBlendTables.blendGraphic, mmx);
      if (std::memcmp(fast.store->pixels, slow.store->pixels, static_cast<size_t>(fast.store->pitch) * dh) != 0)
        __builtin_trap();
    }
  }
  for (MemImg* m : {&graphic, &slow, &fast, &source, &sourceImage}) ReleaseMemImg(m);
  return 0;
}
