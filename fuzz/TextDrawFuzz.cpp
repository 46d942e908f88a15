// Game text of any bytes drawn and measured with fonts of every type, edge
// size and charset, glyphs of any size and placement from the fake source,
// into every target kind at any position and clip. Nothing may be written
// outside the target, and measuring must agree with drawing.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/platform/base/ResourceHandle.h"
#include "tests/support/FakeGlyphSource.h"

namespace {

constexpr int kGuard = 64;

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  int Byte() { return at < size ? data[at++] : 0; }
  int Signed() { return static_cast<int8_t>(Byte()); }
};

}  // namespace

// Input: screen depth and target kind, font type, edge size, charset and
// size, spacing, a glyph shape (origin, size, advance, fill) given to every
// code, position and clip, then the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FakeGlyphSource* glyphs = new FakeGlyphSource;
  Reader r{data, size};
  const int kind = r.Byte() % 5;
  static const int kDepth[5] = {8, 16, 16, 32, 32};
  SetScreenMode(640, 480, kDepth[kind], -1);
  const int type = r.Byte() % 4;
  const int edge = r.Byte() % 8;
  const int charset = r.Byte() % 3;
  const int fontSize = r.Byte() % 64 + 1;
  const int spacing = r.Signed();
  FakeGlyphSource::Glyph g;
  g.originX = r.Signed();
  g.originY = r.Signed();
  g.width = r.Byte() % 80;
  g.height = r.Byte() % 80;
  g.advance = r.Signed();
  const int fill = r.Byte();
  g.levels.resize(static_cast<size_t>(g.width) * g.height);
  for (size_t i = 0; i < g.levels.size(); ++i) g.levels[i] = static_cast<uint8_t>((i * fill + fill / 3) % 17);
  for (uint32_t code : {0x41u, 0x8140u, 0x82A0u, 0xA1A1u}) glyphs->SetGlyph(code, g);
  const int x = r.Signed() * 4, y = r.Signed();
  IntRect clip = {r.Signed(), r.Signed(), r.Signed() + 100, r.Signed() + 40};
  const int byteCount = r.Signed();
  const std::string text(reinterpret_cast<const char*>(data + r.at), size - r.at);

  const int font = CreateFontToHandle(nullptr, fontSize, -1, type, charset, edge, 0, 0, -1);
  if (font == -1) return 0;
  SetFontSpacing(spacing, font);

  static const int kPixelType[5] = {MemImgXrgb8888, MemImgRgb565, MemImgRgb565, MemImgXrgb8888, MemImgXrgb8888};
  static const int kPalette[5] = {1, 0, 0, 0, 0};
  static const int kAlpha[5] = {0, 0, 1, 0, 1};
  const int width = 96, height = 32;
  const int bytes = kind == 0 ? 1 : kind == 1 ? 2 : 4;
  const int pitch = width * bytes;
  std::vector<uint8_t> buffer(static_cast<size_t>(pitch) * height + 2 * kGuard, 0xA5);
  MemImg target{};
  CreateMemImg(&target, width, height, pitch, 0, kPixelType[kind], kPalette[kind], kAlpha[kind],
               buffer.data() + kGuard);
  const int drawn = RenderString(1, x, y, 0, 1.0, 1.0, text.c_str(), 0xFFFFFFFF, 0x12345678, &target, &clip, 1, font,
                                 byteCount, 0, nullptr);
  const int measured = RenderString(0, 0, 0, 0, 1.0, 1.0, text.c_str(), 0, 0, nullptr, nullptr, 1, font, byteCount,
                                    0, nullptr);
  if (drawn != measured) __builtin_trap();
  for (int i = 0; i < kGuard; ++i) {
    if (buffer[i] != 0xA5 || buffer[buffer.size() - 1 - i] != 0xA5) __builtin_trap();
  }
  ReleaseMemImg(&target);
  DeleteFontHandle(font);
  return 0;
}
