// The plain draw's edge cases for 16-bit R5G6B5 sources, a row of pixels at
// a time.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"
#include "tests/runtime/softrender/ReferencePlainDraw.h"

namespace {

using Words = std::vector<uint32_t>;

struct Draw16 {
  int mode = 0;
  int parameter = 0;
  uint32_t brightness = 0xFFFFFF;  // red, green, blue from high to low byte
  int transparent = 0;
  uint32_t key = 0x12345678;
  std::vector<int> alphas;  // one per source pixel: a source with the alpha flag
  int graphicValue = -1;    // every blend-graphic byte, identity weights; -1: none
};

// Draws the row of source words onto the row of destination words.
Words DrawRow(const Draw16& c, const Words& source, const Words& destination) {
  const int n = static_cast<int>(source.size());
  MemImg d{}, s{}, g{};
  const bool alpha = !c.alphas.empty();
  EXPECT_EQ(CreateMemImg(&d, n, 1, -1, 0, MemImgRgb565, 0, 0, nullptr), 0);
  EXPECT_EQ(CreateMemImg(&s, n, 1, -1, c.key, MemImgRgb565, 0, alpha, nullptr), 0);
  for (int i = 0; i < n; ++i) {
    const uint16_t dw = static_cast<uint16_t>(destination[i]), sw = static_cast<uint16_t>(source[i]);
    std::memcpy(d.pixels + 2 * i, &dw, 2);
    if (alpha) {
      std::memcpy(s.pixels + 4 * i, &sw, 2);
      s.pixels[4 * i + 2] = static_cast<uint8_t>(c.alphas[i]);
    } else {
      std::memcpy(s.pixels + 2 * i, &sw, 2);
    }
  }
  if (c.graphicValue >= 0) {
    EXPECT_EQ(CreateMemImg(&g, n, 1, -1, 0, MemImgGrey8, 0, 0, nullptr), 0);
    std::memset(g.pixels, c.graphicValue, n);
    BuildBlendGraphicTable(128, 255);
  }
  gDrawState = DrawState{{0, 0, n, 1}, c.mode, c.parameter, -1, 0, 0, c.brightness};
  SoftDrawImage(&d, &s, 0, 0, c.transparent, c.graphicValue >= 0 ? &g : nullptr);
  Words out(n);
  for (int i = 0; i < n; ++i) {
    uint16_t w;
    std::memcpy(&w, d.pixels + 2 * i, 2);
    out[i] = w;
  }
  for (MemImg* m : {&d, &s, &g}) ReleaseMemImg(m);
  return out;
}

class PlainDraw16Test : public ::testing::TestWithParam<SoftDrawIsa> {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    if (GetParam() == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    SetSoftDrawIsa(GetParam());
  }
  void TearDown() override { SetSoftDrawIsa(SoftDrawIsa::Automatic); }
};

struct Case {
  const char* what;
  Draw16 draw;
  Words source, destination, expected;
};

TEST_P(PlainDraw16Test, EdgeCases) {
  auto m = [](int mode, int p) {
    Draw16 d;
    d.mode = mode;
    d.parameter = p;
    return d;
  };
  auto with = [](Draw16 d, auto change) {
    change(d);
    return d;
  };
  const Case cases[] = {
      {"lerp slab 0 at 3", m(1, 3), {0xFFFF}, {0}, {0}},
      {"lerp slab 1 at 4", m(1, 4), {0xFFFF}, {0}, {0x0020}},
      {"lerp slab 63 at 252", m(1, 252), {0xFFFF}, {0}, {0xFFFF}},
      {"halving drops low bits", m(1, 128), {0x0821, 0xFFFF}, {0x0821, 0}, {0x0000, 0x7BEF}},
      {"lerp at 127", m(1, 127), {0x0821}, {0x0821}, {0x0821}},
      {"lerp at 100", m(1, 100), {0xFFFF}, {0}, {0x632C}},
      {"table mix under brightness", with(m(1, 100), [](Draw16& d) { d.brightness = 0xFFFFFE; }), {0xFFFF}, {0},
       {0x630B}},
      {"opaque alpha pixel: table mix", with(m(1, 100), [](Draw16& d) { d.alphas = {255}, d.transparent = 1; }),
       {0xFFFF}, {0}, {0x630C}},
      {"alpha 254: shift mix", with(m(1, 100), [](Draw16& d) { d.alphas = {254}, d.transparent = 1; }), {0xFFFF},
       {0}, {0x630C}},
      {"graphic weight 255 stops short rising", with(m(0, 0), [](Draw16& d) { d.graphicValue = 255; }),
       {0xFFFF, 0x0000}, {0x0000, 0xFFFF}, {0xF7DE, 0x0000}},
      {"alpha copy without the flag copies the word", with(m(0, 0), [](Draw16& d) { d.alphas = {0, 128, 255}; }),
       {0xFFFF, 0xFFFF, 0xFFFF}, {0, 0, 0}, {0xFFFF, 0xFFFF, 0xFFFF}},
      {"alpha copy with the flag",
       with(m(0, 0), [](Draw16& d) { d.alphas = {0, 128, 255}, d.transparent = 1; }), {0xFFFF, 0xFFFF, 0xFFFF},
       {0, 0, 0}, {0x0000, 0x7BEF, 0xFFFF}},
      {"alpha copy under brightness",
       with(m(0, 0), [](Draw16& d) { d.alphas = {0, 128, 255}, d.brightness = 0xFFFFFE; }),
       {0xFFFF, 0xFFFF, 0xFFFF}, {0, 0, 0}, {0x0000, 0x7BEF, 0xF7DD}},
      {"additive pair: red carry into the second blue", m(2, 255), {0xF800, 0x0000}, {0xF800, 0x0000},
       {0xF800, 0x0001}},
      {"additive 255 alone is variant B", m(2, 255), {0x0821}, {0x0821}, {0x0002}},
      {"additive 255 alone, blue", m(2, 255), {0x000F}, {0x0011}, {0x003F}},
      {"additive 255 second of a pair: blue on halves", m(2, 255), {0x0000, 0x000F}, {0x0000, 0x0011},
       {0x0000, 0x001E}},
      {"additive 255 black source: pair and alone", m(2, 255), {0, 0, 0}, {0xFFFF, 0xFFFF, 0xFFFF},
       {0xF7DF, 0xF7DE, 0xF7DF}},
      {"additive 255 opaque alpha pixel takes variant A",
       with(m(2, 255), [](Draw16& d) { d.alphas = {255}, d.transparent = 1; }), {0x0821}, {0x0821}, {0x0822}},
      {"additive black source at 200", m(2, 200), {0, 0}, {0xFFFF, 0x1234}, {0xFFFF, 0x1234}},
      {"subtractive black source at 1", m(3, 1), {0, 0}, {0x0000, 0xFFFF}, {0x0800, 0xFFDF}},
      {"subtractive black source at 255", m(3, 255), {0, 0, 0}, {0x0000, 0xFFFF, 0x0000}, {0x0800, 0xFFDF, 0x0800}},
      {"multiply at 0", m(4, 0), {0xFFFF}, {0xFFFF}, {0xF7DE}},
      {"multiply at 200", m(4, 200), {0xFFFF}, {0xFFFF}, {0xF7DE}},
      {"multiply by graphic weight 0", with(m(4, 0), [](Draw16& d) { d.graphicValue = 0; }), {0xFFFF}, {0xFFFF},
       {0}},
      {"multiply: clear alpha is black", with(m(4, 0), [](Draw16& d) { d.alphas = {0}, d.transparent = 1; }),
       {0xFFFF}, {0xFFFF}, {0}},
      {"inverted at 255", m(10, 255), {0x1234}, {0xABCD}, {0xEDCB}},
      {"inverted at 0", m(10, 0), {0x1234}, {0xABCD}, {0xABCD}},
      {"multiply translucent at 0", m(11, 0), {0x1234}, {0xABCD}, {0xABCD}},
      {"multiply translucent at 255", m(11, 255), {0x0000}, {0xFFFF}, {0x0000}},
      {"green keeps its fraction bits", with(m(11, 255), [](Draw16& d) { d.alphas = {255}; }), {0x0020}, {0x0580},
       {0x0020}},
      {"green without alpha", m(11, 255), {0x0020}, {0x0580}, {0x0000}},
      {"key", with(m(0, 0), [](Draw16& d) { d.transparent = 1, d.key = 0x1234; }), {0x1234, 0x1235}, {7, 7},
       {7, 0x1235}},
      {"key above 16 bits matches no word", with(m(0, 0), [](Draw16& d) { d.transparent = 1, d.key = 0x11234; }),
       {0x1234, 0x1235}, {7, 7}, {0x1234, 0x1235}},
      {"key above 16 bits, translucent", with(m(1, 100), [](Draw16& d) { d.transparent = 1, d.key = 0x1FFFF; }),
       {0xFFFF}, {0}, {0x632C}},
      {"half-keyed pair: the other pixel alone",
       with(m(2, 255), [](Draw16& d) { d.transparent = 1, d.key = 0x0000; }), {0x0000, 0x000F, 0x000F, 0x0000},
       {0x0000, 0x0011, 0x0011, 0x0000}, {0x0000, 0x003F, 0x003F, 0x0000}},
  };
  for (const Case& c : cases) EXPECT_EQ(DrawRow(c.draw, c.source, c.destination), c.expected) << c.what;
}

// Long rows go through the vector forms: a key above 16 bits still matches
// no word there, and a 16-bit key matches its word.
TEST_P(PlainDraw16Test, KeysInLongRows) {
  const Words source(40, 0x1234), destination(40, 7);
  for (int mode : {0, 1, 2, 3, 4, 10, 11}) {
    Draw16 d;
    d.mode = mode, d.parameter = 100, d.transparent = 1, d.key = 0x11234;
    Draw16 unkeyed = d;
    unkeyed.transparent = 0;
    EXPECT_EQ(DrawRow(d, source, destination), DrawRow(unkeyed, source, destination)) << mode;
    d.key = 0x1234;
    EXPECT_EQ(DrawRow(d, source, destination), destination) << mode;
  }
}

// A 4-byte alpha source and a 2-byte destination over the same caller
// buffer: the overlap test counts each side's own bytes, and the draw keeps
// the one-pass order, as the reference does.
TEST_P(PlainDraw16Test, AlphaSourceOverItsDestinationsBytes) {
  for (int shift : {0, 2, 6, 24, 30}) {
    uint8_t fast[256], slow[256];
    for (int i = 0; i < 256; ++i) fast[i] = slow[i] = static_cast<uint8_t>(i * 37 + 11);
    for (int i = 2; i < 256; i += 4) fast[i] = slow[i] = static_cast<uint8_t>(i % 3 == 0 ? 0 : i % 3 == 1 ? 255 : i);
    for (uint8_t* buffer : {fast, slow}) {
      MemImg d{}, s{};
      ASSERT_EQ(CreateMemImg(&d, 24, 2, 64, 0, MemImgRgb565, 0, 0, buffer + shift), 0);
      ASSERT_EQ(CreateMemImg(&s, 12, 2, 64, 0, MemImgRgb565, 0, 1, buffer), 0);
      gDrawState = DrawState{{0, 0, 24, 2}, BlendCopy, 0, -1, 0, 0, 0xFFFFFE};
      if (buffer == fast)
        SoftDrawImage(&d, &s, 1, 0, 1, nullptr);
      else
        ReferenceSoftDrawImage(&d, &s, 1, 0, 1, nullptr, gDrawState, gSoftBlendTables.blendGraphic, false);
      ReleaseMemImg(&s);
      ReleaseMemImg(&d);
    }
    EXPECT_EQ(std::memcmp(fast, slow, sizeof fast), 0) << shift;
  }
}

// The halving at 128 and the pair forms differ from the general loops only
// without blend graphic, brightness and alpha.
TEST_P(PlainDraw16Test, SpecialValuesAreOrdinaryWithModifiers) {
  Draw16 d;
  d.mode = 1, d.parameter = 128, d.brightness = 0xFFFFFE;
  EXPECT_NE(DrawRow(d, {0x0821}, {0x0821}), Words{0x0000});
  d.brightness = 0xFFFFFF, d.graphicValue = 255;
  EXPECT_NE(DrawRow(d, {0x0821}, {0x0821}), Words{0x0000});
}

INSTANTIATE_TEST_SUITE_P(Isa, PlainDraw16Test, ::testing::Values(SoftDrawIsa::Sse2, SoftDrawIsa::Avx2),
                         [](const auto& info) { return info.param == SoftDrawIsa::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
