// Boxes, lines, triangles, quads and rotated draws with any vertices,
// corners, centres, angles and scales (NaN, infinities, tiny and huge),
// sources of any kind (tall and wide ones too), blend graphics of any size
// and any draw state, into a destination fenced by guard bytes. Nothing may
// be read or written outside the images.

#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/shapes/FlatDraw.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

constexpr int kGuard = 256;

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  int Byte() { return at < size ? data[at++] : 0; }
  int32_t Int() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
    return static_cast<int32_t>(v);
  }
  // Mostly small values near the images, sometimes any 32 bits.
  int32_t Coordinate() {
    const int kind = Byte();
    if (kind < 200) return static_cast<int8_t>(Byte()) + (kind & 0x3F);
    return Int();
  }
  float Float() {
    const int kind = Byte() % 4;
    if (kind == 0) return static_cast<float>(static_cast<int8_t>(Byte())) / 16.0f;
    uint32_t bits = static_cast<uint32_t>(Int());
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (BuildSoftBlendTables(), true);
  (void)tables;
  Reader r{data, size};
  SetSoftDrawIsa(r.Byte() % 2 ? SoftDrawIsa::Avx2 : SoftDrawIsa::Sse2);
  const int pixelType = r.Byte() % 2;
  const int bytes = pixelType ? 4 : 2;
  const int dw = 1 + r.Byte() % 64, dh = 1 + r.Byte() % 64;
  const int pitch = dw * bytes + (r.Byte() % 4) * 4;
  std::vector<uint8_t> buffer(static_cast<size_t>(pitch) * dh + 2 * kGuard, 0xA5);
  MemImg destination{};
  if (CreateMemImg(&destination, dw, dh, pitch, 0, pixelType, 0, 0, buffer.data() + kGuard) != 0) return 0;

  // Source: direct, with alpha or palette, of the same or the other type;
  // sometimes tall or wide.
  const int sourceKind = r.Byte();
  const int shape = r.Byte() % 8;
  int sw = 1 + r.Byte() % 24, sh = 1 + r.Byte() % 24;
  if (shape == 0) sh = 4096 + r.Byte() * 8;
  if (shape == 1) sw = 8192 + r.Byte() * 8, sh = 1 + sh % 3;
  const int sourceType = sourceKind % 7 == 6 ? 1 - pixelType : pixelType;
  const int palette = sourceKind % 3 == 2, alpha = sourceKind % 3 == 1;
  MemImg source{};
  if (CreateMemImg(&source, sw, sh, -1, static_cast<uint32_t>(r.Int()), sourceType, palette, alpha, nullptr) != 0)
    return 0;
  for (int i = 0; i < source.store->pitch * sh; ++i) source.store->pixels[i] = static_cast<uint8_t>(i * 37 + r.Byte());
  MemImg graphic{};
  const int graphicKind = r.Byte() % 4;
  if (graphicKind) CreateMemImg(&graphic, sw + graphicKind - 2, sh + (r.Byte() % 3) - 1, -1, 0, 2, 0, 0, nullptr);
  const MemImg* blend = graphicKind && IsMemImgValid(&graphic) ? &graphic : nullptr;

  gDrawState.blendMode = static_cast<int8_t>(r.Byte()) % 14;
  gDrawState.blendParameter = r.Byte();
  gDrawState.brightness = static_cast<uint32_t>(r.Int()) & 0xFFFFFF;
  if (r.Byte() % 2) gDrawState.brightness = 0xFFFFFF;
  gDrawState.drawRegion = {r.Coordinate(), r.Coordinate(), r.Coordinate(), r.Coordinate()};
  if (r.Byte() % 2) gDrawState.drawRegion = {0, 0, dw, dh};
  BuildBlendGraphicTable(r.Byte(), r.Byte());
  const int transparent = r.Byte() % 2;

  for (int draw = 0; draw < 4 && r.at < r.size; ++draw) {
    switch (r.Byte() % 6) {
      case 0: {
        const IntRect box{r.Coordinate(), r.Coordinate(), r.Coordinate(), r.Coordinate()};
        SoftFillRect(&destination, r.Byte() % 4 ? &box : nullptr, static_cast<uint32_t>(r.Int()));
        break;
      }
      case 1: {
        LineSegment lines[2];
        for (LineSegment& l : lines) l = {r.Coordinate(), r.Coordinate(), r.Coordinate(), r.Coordinate(),
                                          static_cast<uint32_t>(r.Int()), 0};
        SoftDrawLines(&destination, lines, r.Byte() % 3);
        break;
      }
      case 2: {
        TexturedVertex v[3];
        for (TexturedVertex& t : v) t = {r.Coordinate(), r.Coordinate(), r.Coordinate(), r.Coordinate()};
        SoftDrawTriangle(&destination, &source, v, transparent, blend);
        break;
      }
      case 3: {
        QuadCorner c[4];
        for (QuadCorner& q : c) q = {r.Coordinate(), r.Coordinate()};
        SoftDrawQuad(&destination, &source, c, transparent, blend);
        break;
      }
      default: {
        const int cx = r.Coordinate(), cy = r.Coordinate();
        const float angle = r.Float(), scale = r.Float();
        SoftDrawImageRotated(&destination, &source, cx, cy, angle, scale, transparent, r.Byte() % 2, blend);
        break;
      }
    }
  }
  for (int i = 0; i < kGuard; ++i) {
    if (buffer[i] != 0xA5 || buffer[buffer.size() - 1 - i] != 0xA5) __builtin_trap();
  }
  ReleaseMemImg(&graphic);
  ReleaseMemImg(&source);
  ReleaseMemImg(&destination);
  return 0;
}
