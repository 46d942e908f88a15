// Randomised comparison of every fast plain-draw loop with the reference:
// every source kind, modes, modifiers, special parameters, clipping, odd and one-pixel widths,
// views with padding and views that overlap their destination. A bounded
// number of cases runs by default; MOVAN_SOFTRENDER_CASES asks for more.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"
#include "tests/runtime/softrender/DifferentialCases.h"
#include "tests/runtime/softrender/ReferencePlainDraw.h"

namespace {

int CaseCount() {
  const char* text = std::getenv("MOVAN_SOFTRENDER_CASES");
  return text ? std::atoi(text) : 20000;
}

struct Scenario {
  MemImg destinationImage{};
  MemImg sourceImage{};  // the store the source view belongs to
  MemImg destination{};
  MemImg source{};
  MemImg graphic{};
  bool hasGraphic = false;
  int x = 0, y = 0, transparent = 0;
  bool mmx = false;
  DrawState state{};
  std::string description;

  ~Scenario() {
    ReleaseMemImg(&source);
    ReleaseMemImg(&destination);
    ReleaseMemImg(&sourceImage);
    ReleaseMemImg(&destinationImage);
    ReleaseMemImg(&graphic);
  }
};

// Builds the same scenario for the same seed, so the fast draw and the
// reference each get their own copy.
void Build(Scenario& sc, uint32_t seed) {
  std::mt19937 rng(seed);
  static const Kind kKinds[] = {Kind::Direct32, Kind::Direct32,  Kind::Direct16, Kind::Direct16,
                                Kind::Alpha16,  Kind::Palette32, Kind::Palette16};
  const Kind kind = kKinds[Pick(rng, 0, static_cast<int>(std::size(kKinds)) - 1)];
  const bool wide = kind == Kind::Direct32 || kind == Kind::Palette32;
  const bool palette = kind == Kind::Palette32 || kind == Kind::Palette16;
  const int pixelType = wide ? 1 : 0;
  const int destinationBytes = wide ? 4 : 2;
  // A third of the cases aim at the special paths: no blend graphic, white
  // brightness and a source without alpha.
  const bool special = kind != Kind::Alpha16 && Pick(rng, 0, 2) == 0;
  const bool overlap = !palette && kind != Kind::Alpha16 && Pick(rng, 0, 4) == 0;
  const bool alpha = kind == Kind::Alpha16 || (kind == Kind::Direct32 && !overlap && !special && Pick(rng, 0, 1) == 0);
  const int sourceBytes = palette ? 1 : (wide || alpha ? 4 : 2);
  const int dw = Pick(rng, 1, 72), dh = Pick(rng, 1, 10);
  const int dpitch = Pick(rng, 0, 1) ? -1 : dw * destinationBytes + 4 * Pick(rng, 0, 3);
  EXPECT_EQ(CreateMemImg(&sc.destinationImage, dw, dh, dpitch, 0, pixelType, 0, 0, nullptr), 0);
  FillRandom(&sc.destinationImage, rng);
  const int vx = Pick(rng, 0, dw - 1), vy = Pick(rng, 0, dh - 1);
  MakeMemImgView(&sc.destination, &sc.destinationImage, vx, vy, Pick(rng, 1, dw - vx), Pick(rng, 1, dh - vy));
  const MemImg& dest = sc.destination;

  const uint32_t key = PickKey(rng, kind);
  if (overlap) {
    MakeMemImgView(&sc.sourceImage, &sc.destinationImage, 0, 0, dw, dh);
    sc.destinationImage.store->colorKey = key;
  } else {
    const int sw = Pick(rng, 1, 72), sh = Pick(rng, 1, 10);
    EXPECT_EQ(CreateMemImg(&sc.sourceImage, sw, sh, Pick(rng, 0, 1) ? -1 : sw * sourceBytes + 8, key, pixelType,
                           palette, alpha, nullptr),
              0);
    FillRandom(&sc.sourceImage, rng);
    if (palette) {
      MemImgStore* store = sc.sourceImage.store;
      for (int i = 0; i < kMemImgPaletteBytes; ++i) store->palette[i] = static_cast<uint8_t>(rng());
      // The draw reads every entry, whatever the count says.
      store->paletteColorCount = Pick(rng, 0, 256);
    }
  }
  const MemImg& whole = sc.sourceImage;
  const int sx = Pick(rng, 0, whole.width - 1), sy = Pick(rng, 0, whole.height - 1);
  MakeMemImgView(&sc.source, &whole, sx, sy, Pick(rng, 1, whole.width - sx), Pick(rng, 1, whole.height - sy));

  // Source pixels: keys, near-keys, clear and opaque alpha, extremes.
  const MemImgStore* ss = whole.store;
  for (int row = 0; row < whole.height; ++row) {
    for (int col = 0; col < whole.width; ++col) {
      uint8_t* at = whole.pixels + row * ss->pitch + col * sourceBytes;
      uint32_t v = 0;
      std::memcpy(&v, at, sourceBytes);
      const int roll = Pick(rng, 0, 19);
      if (wide && !palette) {
        if (roll < 4) v = key;
        if (roll == 4) v = key ^ 0x01000000;
        if (alpha && roll >= 5 && roll < 9) v &= 0x00FFFFFF;
        if (alpha && roll >= 9 && roll < 13) v |= 0xFF000000;
        if (alpha && roll == 13) v = (v & 0x00FFFFFF) | (Pick(rng, 0, 1) ? 0x01000000 : 0xFE000000);
        if (roll == 14) v = Pick(rng, 0, 1) ? 0xFFFFFFFF : 0;
      } else if (palette) {
        if (roll < 4) v = key & 0xFF;
        if (roll == 4) v = 255;
      } else {
        if (roll < 4) v = (v & ~0xFFFFu) | (key & 0xFFFF);
        if (roll == 4) v ^= 1;
        if (alpha && roll >= 5 && roll < 9) v &= 0xFF00FFFF;
        if (alpha && roll >= 9 && roll < 13) v |= 0x00FF0000;
        if (alpha && roll == 13) v = (v & 0xFF00FFFF) | (Pick(rng, 0, 1) ? 0x00010000 : 0x00FE0000);
        if (roll == 14) v = (v & ~0xFFFFu) | (Pick(rng, 0, 1) ? 0xFFFF : 0);
      }
      std::memcpy(at, &v, sourceBytes);
    }
  }

  sc.hasGraphic = !special && Pick(rng, 0, 2) == 0;
  if (sc.hasGraphic) {
    EXPECT_EQ(CreateMemImg(&sc.graphic, sc.source.width + Pick(rng, 0, 3), sc.source.height + Pick(rng, 0, 3), -1, 0, 2,
                           0, 0, nullptr),
              0);
    FillRandom(&sc.graphic, rng);
  }

  static const int kModes[] = {0, 1, 2, 3, 4, 10, 11, 0, 1, 2, 3, 4, 10, 11, 0, 1, 2, 3, 4, 10, 11, 5, 9, 12, -1};
  static const int kParameters[] = {0, 1, 2, 127, 128, 129, 254, 255};
  sc.state.blendMode = kModes[Pick(rng, 0, static_cast<int>(std::size(kModes)) - 1)];
  sc.state.blendParameter = Pick(rng, 0, 1) ? kParameters[Pick(rng, 0, 7)] : Pick(rng, 0, 255);
  sc.state.brightness = 0xFFFFFF;
  if (Pick(rng, 0, 1)) {
    for (int c = 0; c < 3; ++c) {
      const uint32_t level = Pick(rng, 0, 3) == 0 ? 255 : static_cast<uint32_t>(Pick(rng, 0, 255));
      sc.state.brightness = (sc.state.brightness & ~(0xFFu << (8 * c))) | level << (8 * c);
    }
  }
  if (special) {
    static const int kSpecial[][2] = {{0, 7}, {1, 255}, {1, 128}, {2, 255}, {3, 255}};
    const auto& modeAndParameter = kSpecial[Pick(rng, 0, 4)];
    sc.state.blendMode = modeAndParameter[0];
    sc.state.blendParameter = modeAndParameter[1];
    sc.state.brightness = 0xFFFFFF;
  }
  sc.state.brightness |= static_cast<uint32_t>(Pick(rng, 0, 255)) << 24;  // takes no part
  const int rl = Pick(rng, 0, dest.width), rt = Pick(rng, 0, dest.height);
  sc.state.drawRegion = Pick(rng, 0, 3) == 0 ? IntRect{0, 0, dest.width, dest.height}
                                             : IntRect{rl, rt, Pick(rng, rl, dest.width), Pick(rng, rt, dest.height)};
  sc.x = Pick(rng, -sc.source.width - 2, dest.width + 1);
  sc.y = Pick(rng, -sc.source.height - 2, dest.height + 1);
  if (overlap && Pick(rng, 0, 3) != 0) {
    // Shift by a few pixels so the destination overlaps its own source,
    // mostly to the right within the same rows.
    const bool right = Pick(rng, 0, 3) != 0;
    sc.x = sx - vx + (right ? Pick(rng, 1, 5) : Pick(rng, -3, 0));
    sc.y = sy - vy + (right ? 0 : Pick(rng, -1, 1));
    sc.state.drawRegion = IntRect{0, 0, dest.width, dest.height};
  }
  sc.transparent = Pick(rng, 0, 1) ? Pick(rng, 1, 3) : 0;
  sc.mmx = Pick(rng, 0, 1);
  sc.description = "seed " + std::to_string(seed) + " " + KindName(kind) + " key " + std::to_string(key) + " mode " +
                   std::to_string(sc.state.blendMode) + " p " + std::to_string(sc.state.blendParameter) +
                   " brightness " + std::to_string(sc.state.brightness) + (alpha ? " alpha" : "") +
                   (overlap ? " overlap" : "") + (sc.hasGraphic ? " graphic" : "") + (sc.transparent ? " keyed" : "") +
                   (sc.mmx ? " mmx" : "");
}

class PlainDrawDifferentialTest : public ::testing::TestWithParam<SoftDrawIsa> {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    if (GetParam() == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    SetSoftDrawIsa(GetParam());
  }
  void TearDown() override {
    SetSoftDrawIsa(SoftDrawIsa::Automatic);
    gPlatform.mmxUsable = 0;
  }
};

TEST_P(PlainDrawDifferentialTest, FastLoopsMatchTheReference) {
  const int cases = CaseCount();
  for (int i = 0; i < cases; ++i) {
    const uint32_t seed = 1000u + static_cast<uint32_t>(i);
    std::mt19937 tableRng(seed);
    BuildBlendGraphicTable(Pick(tableRng, 0, 255), Pick(tableRng, 0, 255));

    Scenario fast, reference;
    Build(fast, seed);
    Build(reference, seed);
    gDrawState = fast.state;
    gPlatform.mmxUsable = fast.mmx ? 1 : 0;
    SoftDrawImage(&fast.destination, &fast.source, fast.x, fast.y, fast.transparent,
                  fast.hasGraphic ? &fast.graphic : nullptr);
    ReferenceSoftDrawImage(&reference.destination, &reference.source, reference.x, reference.y, reference.transparent,
                           reference.hasGraphic ? &reference.graphic : nullptr, reference.state,
                           gSoftBlendTables.blendGraphic, reference.mmx);

    const MemImgStore* a = fast.destinationImage.store;
    const MemImgStore* b = reference.destinationImage.store;
    const size_t bytes = static_cast<size_t>(a->pitch) * a->height;
    if (std::memcmp(a->pixels, b->pixels, bytes) != 0) {
      size_t at = 0;
      while (a->pixels[at] == b->pixels[at]) ++at;
      const size_t pixelBytes = static_cast<size_t>(MemImgBytesPerPixel(a));
      const size_t pixel = at / pixelBytes * pixelBytes;
      uint32_t got = 0, want = 0;
      std::memcpy(&got, a->pixels + pixel, pixelBytes);
      std::memcpy(&want, b->pixels + pixel, pixelBytes);
      FAIL() << fast.description << ": byte " << at << " (row " << at / a->pitch << ") got " << std::hex << got
             << " want " << want;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Isa, PlainDrawDifferentialTest, ::testing::Values(SoftDrawIsa::Sse2, SoftDrawIsa::Avx2),
                         [](const auto& info) { return info.param == SoftDrawIsa::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
