// Randomised comparison of the mapped draws (triangles, rotated draws) with
// their literal walkers: every source kind, mode and modifier, clipping,
// vertices and texel positions beyond the source. A bounded number of cases
// runs by default; MOVAN_SOFTRENDER_CASES asks for more.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDrawIsa.h"
#include "tests/runtime/softrender/DifferentialCases.h"
#include "tests/runtime/softrender/ReferenceMappedDraw.h"

namespace {

int CaseCount() {
  const char* text = std::getenv("MOVAN_SOFTRENDER_CASES");
  return text ? std::atoi(text) / 4 : 3000;
}

struct Scene {
  MemImg destination{};
  MemImg source{};
  MemImg graphic{};
  bool hasGraphic = false;
  int transparent = 0;
  DrawState state{};
  TexturedVertex vertices[3]{};
  int cx = 0, cy = 0;
  float angle = 0, scale = 1;
  std::string description;
  ~Scene() {
    ReleaseMemImg(&destination);
    ReleaseMemImg(&source);
    ReleaseMemImg(&graphic);
  }
};

// The same scene for the same seed.
void Build(Scene& sc, uint32_t seed) {
  std::mt19937 rng(seed);
  const bool wide = Pick(rng, 0, 1);
  const int kind = Pick(rng, 0, 2);  // direct, direct with alpha, palette
  const bool palette = kind == 2, alpha = kind == 1;
  const int sourceBytes = palette ? 1 : (wide || alpha) ? 4 : 2;
  const int dw = Pick(rng, 1, 48), dh = Pick(rng, 1, 40);
  EXPECT_EQ(CreateMemImg(&sc.destination, dw, dh, -1, 0, wide, 0, 0, nullptr), 0);
  FillRandom(&sc.destination, rng);
  const int sw = Pick(rng, 1, 20), sh = Pick(rng, 1, 20);
  uint32_t key = static_cast<uint32_t>(rng());
  if (!wide || palette) key &= palette ? 0xFF : 0xFFFF;
  EXPECT_EQ(CreateMemImg(&sc.source, sw, sh, -1, key, wide, palette, alpha, nullptr), 0);
  FillRandom(&sc.source, rng);
  const MemImgStore* ss = sc.source.store;
  if (palette)
    for (int i = 0; i < kMemImgPaletteBytes; ++i) ss->palette[i] = static_cast<uint8_t>(rng());
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x) {
      uint8_t* at = ss->pixels + y * ss->pitch + x * sourceBytes;
      const int roll = Pick(rng, 0, 9);
      if (roll < 2) std::memcpy(at, &key, palette ? 1 : wide ? 4 : 2);
      if (alpha && roll == 2) at[wide ? 3 : 2] = 0;
      if (alpha && roll == 3) at[wide ? 3 : 2] = 255;
    }
  sc.hasGraphic = Pick(rng, 0, 3) == 0;
  if (sc.hasGraphic) {
    EXPECT_EQ(CreateMemImg(&sc.graphic, sw + Pick(rng, 0, 2), sh + Pick(rng, 0, 2), -1, 0, 2, 0, 0, nullptr), 0);
    FillRandom(&sc.graphic, rng);
  }
  static const int kModes[] = {0, 1, 2, 3, 4, 10, 11, 0, 1, 2, 3, 4, 10, 11, 5, 12};
  static const int kParameters[] = {0, 1, 128, 254, 255};
  sc.state.blendMode = kModes[Pick(rng, 0, 15)];
  sc.state.blendParameter = Pick(rng, 0, 1) ? kParameters[Pick(rng, 0, 4)] : Pick(rng, 0, 255);
  sc.state.brightness = 0xFFFFFF;
  if (Pick(rng, 0, 1))
    for (int c = 0; c < 3; ++c) {
      const uint32_t level = Pick(rng, 0, 2) == 0 ? 255 : static_cast<uint32_t>(Pick(rng, 0, 255));
      sc.state.brightness = (sc.state.brightness & ~(0xFFu << (8 * c))) | level << (8 * c);
    }
  const int rl = Pick(rng, 0, dw - 1), rt = Pick(rng, 0, dh - 1);
  sc.state.drawRegion = Pick(rng, 0, 2) == 0 ? IntRect{0, 0, dw, dh}
                                             : IntRect{rl, rt, Pick(rng, rl + 1, dw), Pick(rng, rt + 1, dh)};
  sc.transparent = Pick(rng, 0, 1);
  for (TexturedVertex& v : sc.vertices) {
    v = {Pick(rng, -12, dw + 12), Pick(rng, -12, dh + 12), Pick(rng, -4, sw + 4), Pick(rng, -4, sh + 4)};
    if (Pick(rng, 0, 3) == 0) v.u = Pick(rng, 0, 1) ? 0 : sw;
  }
  sc.cx = Pick(rng, -8, dw + 8);
  sc.cy = Pick(rng, -8, dh + 8);
  sc.angle = std::uniform_real_distribution<float>(-7.0f, 7.0f)(rng);
  if (Pick(rng, 0, 4) == 0) sc.angle = static_cast<float>(Pick(rng, -4, 4)) * 1.5707964f;
  sc.scale = std::uniform_real_distribution<float>(0.3f, 3.0f)(rng) * (Pick(rng, 0, 5) == 0 ? -1.0f : 1.0f);
  sc.description = "seed " + std::to_string(seed) + (wide ? " 32" : " 16") + (palette ? " palette" : "") +
                   (alpha ? " alpha" : "") + " mode " + std::to_string(sc.state.blendMode) + " p " +
                   std::to_string(sc.state.blendParameter) + (sc.hasGraphic ? " graphic" : "") +
                   (sc.transparent ? " keyed" : "") + " brightness " + std::to_string(sc.state.brightness);
}

void ExpectSame(const Scene& fast, const Scene& reference) {
  const MemImgStore* a = fast.destination.store;
  const MemImgStore* b = reference.destination.store;
  const size_t bytes = static_cast<size_t>(a->pitch) * a->height;
  if (std::memcmp(a->pixels, b->pixels, bytes) == 0) return;
  size_t at = 0;
  while (a->pixels[at] == b->pixels[at]) ++at;
  const size_t pixelBytes = static_cast<size_t>(MemImgBytesPerPixel(a));
  const size_t pixel = at / pixelBytes * pixelBytes;
  uint32_t got = 0, want = 0;
  std::memcpy(&got, a->pixels + pixel, pixelBytes);
  std::memcpy(&want, b->pixels + pixel, pixelBytes);
  ADD_FAILURE() << fast.description << ": pixel (" << at % a->pitch / pixelBytes << ", " << at / a->pitch << ") got "
                << std::hex << got << " want " << want;
}

class MappedDrawDifferentialTest : public ::testing::TestWithParam<SoftDrawIsa> {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    if (GetParam() == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    SetSoftDrawIsa(GetParam());
  }
  void TearDown() override { SetSoftDrawIsa(SoftDrawIsa::Automatic); }
};

TEST_P(MappedDrawDifferentialTest, TrianglesMatchTheLiteralWalker) {
  for (int i = 0; i < CaseCount() && !HasFailure(); ++i) {
    const uint32_t seed = 7000u + static_cast<uint32_t>(i);
    std::mt19937 tableRng(seed);
    BuildBlendGraphicTable(Pick(tableRng, 0, 255), Pick(tableRng, 0, 255));
    Scene fast, reference;
    Build(fast, seed);
    Build(reference, seed);
    gDrawState = fast.state;
    SoftDrawTriangle(&fast.destination, &fast.source, fast.vertices, fast.transparent,
                     fast.hasGraphic ? &fast.graphic : nullptr);
    ReferenceSoftDrawTriangle(&reference.destination, &reference.source, reference.vertices, reference.transparent,
                              reference.hasGraphic ? &reference.graphic : nullptr, reference.state,
                              gSoftBlendTables.blendGraphic);
    ExpectSame(fast, reference);
  }
}

TEST_P(MappedDrawDifferentialTest, RotatedDrawsMatchTheLiteralWalker) {
  for (int i = 0; i < CaseCount() && !HasFailure(); ++i) {
    const uint32_t seed = 9000u + static_cast<uint32_t>(i);
    std::mt19937 tableRng(seed);
    BuildBlendGraphicTable(Pick(tableRng, 0, 255), Pick(tableRng, 0, 255));
    Scene fast, reference;
    Build(fast, seed);
    Build(reference, seed);
    gDrawState = fast.state;
    SoftDrawImageRotated(&fast.destination, &fast.source, fast.cx, fast.cy, fast.angle, fast.scale, fast.transparent,
                         0, fast.hasGraphic ? &fast.graphic : nullptr);
    ReferenceSoftDrawImageRotated(&reference.destination, &reference.source, reference.cx, reference.cy,
                                  reference.angle, reference.scale, reference.transparent,
                                  reference.hasGraphic ? &reference.graphic : nullptr, reference.state,
                                  gSoftBlendTables.blendGraphic);
    ExpectSame(fast, reference);
  }
}

INSTANTIATE_TEST_SUITE_P(Isa, MappedDrawDifferentialTest, ::testing::Values(SoftDrawIsa::Sse2, SoftDrawIsa::Avx2),
                         [](const auto& info) { return info.param == SoftDrawIsa::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
