// The mapped draws (triangles, quads, rotated draws): the worked examples of
// their rules, the cross-checks between them, refusals and mended faults.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

using Pixel = std::pair<int, int>;

// A source whose texel (u, v) is 0xFF000000 | v << 12 | u + 1, so a drawn
// pixel names its texel.
uint32_t Texel(int u, int v) { return 0xFF000000u | static_cast<uint32_t>(v) << 12 | static_cast<uint32_t>(u + 1); }

class MappedDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    State(0, 0);
  }
  void TearDown() override {
    ReleaseMemImg(&destination_);
    ReleaseMemImg(&source_);
  }
  static void State(int mode, int parameter, IntRect region = {0, 0, 200, 200}) {
    gDrawState.blendMode = mode;
    gDrawState.blendParameter = parameter;
    gDrawState.brightness = 0xFFFFFF;
    gDrawState.drawRegion = region;
  }
  MemImg* Destination(int width = 200, int height = 200) {
    ReleaseMemImg(&destination_);
    EXPECT_EQ(CreateMemImg(&destination_, width, height, -1, 0, 1, 0, 0, nullptr), 0);
    FillMemImg(&destination_, nullptr, 0);
    return &destination_;
  }
  MemImg* Source(int width, int height) {
    ReleaseMemImg(&source_);
    EXPECT_EQ(CreateMemImg(&source_, width, height, -1, 0xFFFFFFFF, 1, 0, 0, nullptr), 0);
    for (int v = 0; v < height; ++v)
      for (int u = 0; u < width; ++u) {
        const uint32_t t = Texel(u, v);
        std::memcpy(source_.pixels + static_cast<size_t>(v) * source_.store->pitch + 4 * u, &t, 4);
      }
    return &source_;
  }
  uint32_t At(int x, int y) const {
    uint32_t v;
    std::memcpy(&v, destination_.pixels + static_cast<size_t>(y) * destination_.store->pitch + 4 * x, 4);
    return v;
  }
  // Every changed pixel and what it shows.
  std::map<Pixel, uint32_t> Drawn() const {
    std::map<Pixel, uint32_t> out;
    for (int y = 0; y < destination_.height; ++y)
      for (int x = 0; x < destination_.width; ++x)
        if (At(x, y) != 0) out[{x, y}] = At(x, y);
    return out;
  }
  // The covered columns of each row.
  std::map<int, std::pair<int, int>> Spans() const {
    std::map<int, std::pair<int, int>> out;
    for (const auto& [p, v] : Drawn()) {
      auto it = out.find(p.second);
      if (it == out.end())
        out[p.second] = {p.first, p.first};
      else
        it->second.second = p.first;
    }
    return out;
  }
  void Triangle(const TexturedVertex (&v)[3]) { SoftDrawTriangle(&destination_, &source_, v, 0, nullptr); }
  void Quad(const QuadCorner (&c)[4]) { SoftDrawQuad(&destination_, &source_, c, 0, nullptr); }

  MemImg destination_{};
  MemImg source_{};
};

TEST_F(MappedDrawTest, TriangleSpansAndTexels) {
  struct Case {
    TexturedVertex v[3];
    std::map<int, std::pair<int, int>> spans;
  };
  const Case cases[] = {
      {{{0, 0, 0, 0}, {4, 0, 4, 0}, {0, 4, 0, 4}}, {{0, {0, 4}}, {1, {0, 3}}, {2, {0, 2}}, {3, {0, 1}}}},
      {{{2, 0, 2, 0}, {0, 4, 0, 4}, {4, 4, 4, 4}}, {{0, {2, 2}}, {1, {2, 3}}, {2, {1, 3}}, {3, {1, 4}}}},
  };
  for (const Case& c : cases) {
    Destination();
    Source(64, 64);
    Triangle(c.v);
    EXPECT_EQ(Spans(), c.spans);
    for (const auto& [p, v] : Drawn()) EXPECT_EQ(v, Texel(p.first, p.second));
  }
}

TEST_F(MappedDrawTest, MagnifiedTriangleTakesHalfATexelPerPixel) {
  Destination();
  Source(64, 64);
  Triangle({{0, 0, 0, 0}, {8, 0, 4, 0}, {0, 8, 0, 4}});
  const auto spans = Spans();
  EXPECT_EQ(spans.at(0), std::make_pair(0, 8));
  EXPECT_EQ(spans.at(1), std::make_pair(0, 7));
  EXPECT_EQ(spans.at(7), std::make_pair(0, 1));
  for (int x = 0; x <= 8; ++x) EXPECT_EQ(At(x, 0), Texel(x / 2, 0));
  EXPECT_EQ(At(3, 1), Texel(1, 0));
}

TEST_F(MappedDrawTest, TexelPositionAtTheSourceEdgeIsOutside) {
  Destination();
  Source(4, 4);
  Triangle({{0, 0, 0, 0}, {4, 0, 4, 0}, {0, 4, 0, 4}});
  EXPECT_EQ(At(4, 0), 0u);
  EXPECT_EQ(At(3, 0), Texel(3, 0));
  // Positions beyond the source on one side: only the inside changes.
  Destination();
  Triangle({{0, 0, -3, 0}, {10, 0, 7, 0}, {0, 10, -3, 10}});
  for (const auto& [p, v] : Drawn()) EXPECT_EQ(v, Texel(p.first - 3, p.second)) << p.first;
  EXPECT_EQ(At(2, 0), 0u);
}

TEST_F(MappedDrawTest, ZeroAreaDrawsNothing) {
  Destination();
  Source(8, 8);
  Triangle({{0, 0, 0, 0}, {4, 4, 4, 4}, {8, 8, 8, 8}});
  Triangle({{3, 3, 0, 0}, {3, 3, 4, 0}, {9, 1, 0, 4}});
  EXPECT_TRUE(Drawn().empty());
}

// Truncation toward zero at negative coordinates, kept as the rule states it.
TEST_F(MappedDrawTest, NegativeCoordinatesTruncateTowardZero) {
  Destination();
  Source(8, 8);
  Triangle({{-3, 0, 0, 0}, {4, 0, 7, 0}, {-3, 7, 0, 7}});
  EXPECT_EQ(At(0, 0), Texel(2, 0));
  EXPECT_NE(At(0, 5), 0u);
  EXPECT_EQ(Spans().count(6), 0u);

  // Top vertex above row 0, middle vertex on the left: row 4 is covered
  // twice. A one-texel source added at full strength counts the covers.
  State(2, 255);
  Destination();
  Source(1, 1);
  const uint32_t one = 1;
  std::memcpy(source_.pixels, &one, 4);
  Triangle({{10, -3, 0, 0}, {3, 4, 0, 0}, {25, 10, 0, 0}});
  for (int x = 0; x < 30; ++x) {
    const uint32_t covers = At(x, 4) & 0xFF;
    EXPECT_EQ(covers, x >= 4 && x <= 17 ? 2u : x == 3 || x == 18 ? 1u : 0u) << x;
  }
}

TEST_F(MappedDrawTest, ClippedSpanStartsWithTheTexelTheWalkReaches) {
  Destination();
  Source(64, 64);
  State(0, 0, {5, 0, 200, 200});
  Triangle({{0, 0, 0, 0}, {20, 0, 10, 0}, {0, 20, 0, 10}});
  EXPECT_EQ(At(4, 0), 0u);
  EXPECT_EQ(At(5, 0), Texel(2, 0));
  EXPECT_EQ(At(7, 0), Texel(3, 0));
}

TEST_F(MappedDrawTest, AxisAlignedAndMirroredQuads) {
  Destination();
  Source(8, 6);
  Quad({{2, 2}, {10, 2}, {2, 8}, {10, 8}});
  auto drawn = Drawn();
  EXPECT_EQ(drawn.size(), 48u);
  for (const auto& [p, v] : drawn) EXPECT_EQ(v, Texel(p.first - 2, p.second - 2));
  Destination();
  Quad({{10, 2}, {2, 2}, {10, 8}, {2, 8}});
  drawn = Drawn();
  EXPECT_EQ(drawn.size(), 48u);
  for (const auto& [p, v] : drawn) EXPECT_EQ(v, Texel(10 - p.first, p.second - 2));
  EXPECT_EQ(At(2, 4), 0u);
}

// The diagonal the two triangles share is drawn twice, as documented.
TEST_F(MappedDrawTest, QuadDrawsItsSharedDiagonalTwice) {
  State(2, 255);
  Destination();
  Source(8, 6);
  for (int v = 0; v < 6; ++v)
    for (int u = 0; u < 8; ++u) {
      const uint32_t one = 1;
      std::memcpy(source_.pixels + v * source_.store->pitch + 4 * u, &one, 4);
    }
  Quad({{2, 2}, {10, 2}, {2, 8}, {10, 8}});
  std::set<Pixel> twice;
  for (const auto& [p, v] : Drawn())
    if ((v & 0xFF) == 2) twice.insert(p);
  for (const Pixel& p : {Pixel{9, 3}, Pixel{7, 4}, Pixel{6, 5}, Pixel{5, 6}, Pixel{3, 7}}) EXPECT_EQ(twice.count(p), 1u);
  EXPECT_EQ(At(2, 2) & 0xFF, 1u);
}

TEST_F(MappedDrawTest, QuadEarlyOutAndDegenerateCorners) {
  Source(8, 6);
  State(0, 0, {0, 0, 30, 30});
  Destination();
  Quad({{31, 2}, {39, 2}, {31, 8}, {39, 8}});
  Quad({{5, 5}, {5, 5}, {5, 5}, {5, 5}});
  Quad({{100, 100}, {108, 100}, {100, 106}, {108, 106}});
  EXPECT_TRUE(Drawn().empty());
  // Corners beyond the fixed point's reach are refused whole.
  Quad({{-9000, 2}, {10, 2}, {2, 8}, {10, 8}});
  Quad({{2, 2}, {8200, 2}, {2, 8}, {10, 8}});
  Quad({{INT32_MIN, INT32_MIN}, {INT32_MAX, 2}, {2, INT32_MAX}, {10, 8}});
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(MappedDrawTest, RotatedAtAngleZero) {
  struct Case {
    int w, h, cx, cy, left, top;
  };
  for (const Case& c : {Case{5, 3, 20, 10, 18, 9}, Case{4, 2, 20, 15, 18, 14}}) {
    Destination();
    Source(c.w, c.h);
    SoftDrawImageRotated(&destination_, &source_, c.cx, c.cy, 0.0f, 1.0f, 0, 0, nullptr);
    const auto drawn = Drawn();
    EXPECT_EQ(drawn.size(), static_cast<size_t>(c.w * c.h));
    for (const auto& [p, v] : drawn) EXPECT_EQ(v, Texel(p.first - c.left, p.second - c.top));
  }
  Destination();
  Source(4, 4);
  SoftDrawImageRotated(&destination_, &source_, 100, 100, 0.0f, 2.0f, 0, 0, nullptr);
  const auto drawn = Drawn();
  EXPECT_EQ(drawn.size(), 64u);
  for (const auto& [p, v] : drawn) EXPECT_EQ(v, Texel((p.first - 96) / 2, (p.second - 96) / 2));
  EXPECT_EQ(At(104, 100), 0u);
  EXPECT_EQ(At(100, 104), 0u);
}

TEST_F(MappedDrawTest, RotatedQuarterTurn) {
  Destination();
  Source(4, 2);
  const int cx = 50, cy = 60;
  SoftDrawImageRotated(&destination_, &source_, cx, cy, static_cast<float>(M_PI / 2), 1.0f, 0, 0, nullptr);
  EXPECT_EQ(At(cx, cy), Texel(2, 1));
  for (const auto& [p, v] : Drawn()) {
    if (((v & 0xFFF000) >> 12) == 0) {
      EXPECT_EQ(p.first, cx + 1);
    }
    if ((v & 0xFFF) == 1) {
      EXPECT_EQ(p.second, cy - 2);
    }
  }
}

// Turned by half a turn by a negative scale: the same as the angle pi.
TEST_F(MappedDrawTest, NegativeScaleTurnsByHalf) {
  Destination();
  Source(5, 3);
  SoftDrawImageRotated(&destination_, &source_, 40, 40, 0.0f, -1.0f, 0, 0, nullptr);
  const auto drawn = Drawn();
  EXPECT_EQ(drawn.size(), 15u);
  for (const auto& [p, v] : drawn) EXPECT_EQ(v, Texel(2 - (p.first - 40), 1 - (p.second - 40)));
}

TEST_F(MappedDrawTest, TurnFlagMirrorsThroughTheQuad) {
  Destination();
  Source(4, 2);
  SoftDrawImageRotated(&destination_, &source_, 20, 15, 0.0f, 1.0f, 0, 1, nullptr);
  const auto turned = Drawn();
  EXPECT_EQ(turned.size(), 8u);
  EXPECT_EQ(At(19, 14), Texel(3, 0));
  EXPECT_EQ(At(22, 14), Texel(0, 0));
  Destination();
  Quad({{22, 14}, {18, 14}, {22, 16}, {18, 16}});
  EXPECT_EQ(Drawn(), turned);
  Destination();
  SoftDrawImageRotated(&destination_, &source_, 20, 15, 0.0f, 1.0f, 0, 0, nullptr);
  EXPECT_EQ(At(18, 14), Texel(0, 0));
  EXPECT_EQ(At(22, 14), 0u);
}

TEST_F(MappedDrawTest, RefusedScalesAnglesAndSizes) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  Destination();
  Source(8, 8);
  for (const auto& [angle, scale] : std::vector<std::pair<float, float>>{
           {0.0f, 0.0f}, {nan, 1.0f}, {inf, 1.0f}, {0.5f, nan}, {0.5f, inf}, {0.5f, -inf}, {0.3f, 1e-30f},
           {0.3f, -1e-38f}, {0.0f, 1e30f}})
    SoftDrawImageRotated(&destination_, &source_, 50, 50, angle, scale, 0, 0, nullptr);
  EXPECT_TRUE(Drawn().empty());
  MemImg empty{};
  ASSERT_EQ(CreateMemImg(&empty, 8, 8, -1, 0, 1, 0, 0, nullptr), 0);
  MemImg view{};
  MakeMemImgView(&view, &empty, 0, 0, 8, 0);
  SoftDrawImageRotated(&destination_, &view, 50, 50, 0.0f, 1.0f, 0, 0, nullptr);
  EXPECT_TRUE(Drawn().empty());
  ReleaseMemImg(&view);
  ReleaseMemImg(&empty);
}

// Blend modes: translucent at 255 is the copy, at 0 nothing; subtractive at
// 0 draws nothing, palette sources included; a blend graphic smaller than
// the source refuses the draw.
TEST_F(MappedDrawTest, ParameterExitsAndSmallBlendGraphics) {
  const TexturedVertex kTriangle[3] = {{0, 0, 0, 0}, {12, 0, 6, 0}, {0, 8, 0, 4}};
  Source(6, 4);
  std::vector<std::map<Pixel, uint32_t>> results;
  for (const int mode : {0, 1}) {
    State(mode, 255);
    Destination();
    Triangle({{0, 0, 0, 0}, {12, 0, 6, 0}, {0, 8, 0, 4}});
    SoftDrawImageRotated(&destination_, &source_, 40, 40, 0.4f, 1.7f, 0, 0, nullptr);
    results.push_back(Drawn());
  }
  EXPECT_EQ(results[0], results[1]);
  MemImg palette{};
  ASSERT_EQ(CreateMemImg(&palette, 6, 4, -1, 0x100, 1, 1, 0, nullptr), 0);
  std::memset(palette.store->palette, 0x55, kMemImgPaletteBytes);
  for (const auto& [mode, parameter] : std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 0}, {7, 99}, {12, 9}}) {
    State(mode, parameter);
    Destination();
    FillMemImg(&destination_, nullptr, 0x01020304);
    Triangle({{0, 0, 0, 0}, {12, 0, 6, 0}, {0, 8, 0, 4}});
    SoftDrawTriangle(&destination_, &palette, kTriangle, 0, nullptr);
    SoftDrawImageRotated(&destination_, &palette, 40, 40, 0.4f, 1.7f, 0, 0, nullptr);
    for (const auto& [p, v] : Drawn()) EXPECT_EQ(v, 0x01020304u) << mode;
  }
  ReleaseMemImg(&palette);
  MemImg graphic{};
  ASSERT_EQ(CreateMemImg(&graphic, 6, 3, -1, 0, 2, 0, 0, nullptr), 0);
  State(0, 0);
  Destination();
  SoftDrawTriangle(&destination_, &source_, kTriangle, 0, &graphic);
  SoftDrawImageRotated(&destination_, &source_, 40, 40, 0.4f, 1.7f, 0, 0, &graphic);
  EXPECT_TRUE(Drawn().empty());
  ReleaseMemImg(&graphic);
}

// The rotated draw reads the store's palette: every entry, whatever the count.
TEST_F(MappedDrawTest, RotatedPaletteReadsTheStoresEntries) {
  MemImg palette{};
  ASSERT_EQ(CreateMemImg(&palette, 2, 1, -1, 0x100, 1, 1, 0, nullptr), 0);
  palette.store->paletteColorCount = 1;
  palette.pixels[0] = 0;
  palette.pixels[1] = 200;
  const uint32_t first = 0x00112233, late = 0x00445566;
  std::memcpy(palette.store->palette, &first, 4);
  std::memcpy(palette.store->palette + 4 * 200, &late, 4);
  Destination();
  SoftDrawImageRotated(&destination_, &palette, 10, 10, 0.0f, 1.0f, 0, 0, nullptr);
  EXPECT_EQ(At(9, 10), first);
  EXPECT_EQ(At(10, 10), late);
  ReleaseMemImg(&palette);
}

// Sources taller than 4096 rows and wider than 8192 columns.
TEST_F(MappedDrawTest, TallAndWideSources) {
  Destination(64, 64);
  Source(2, 5000);
  SoftDrawImageRotated(&destination_, &source_, 10, 10 - 2000, 0.0f, 1.0f, 0, 0, nullptr);
  EXPECT_EQ(At(9, 10), Texel(0, 4500));
  EXPECT_EQ(At(10, 63), Texel(1, 4553));
  Destination(64, 64);
  Source(9000, 1);
  Triangle({{0, 0, 8500, 0}, {20, 0, 8520, 0}, {0, 4, 8500, 1}});
  EXPECT_EQ(At(0, 0), Texel(8500, 0));
  EXPECT_EQ(At(7, 0), Texel(8507, 0));
}

// Texel gradients that saturate, and vertices far outside: only pixels whose
// exact position lies in the source are drawn, never a wrapped one.
TEST_F(MappedDrawTest, SaturatedGradientsAndFarVertices) {
  Destination(64, 8);
  Source(4, 1);
  Triangle({{0, 0, 0, 0}, {0, 2, 0, 0}, {40, 1, 1000000, 0}});
  for (const auto& [p, v] : Drawn()) EXPECT_EQ(p.first, 0) << p.second;
  Destination(64, 64);
  Source(16, 16);
  const int far = kTriangleCoordinateLimit;
  Triangle({{-far, -far, 0, 0}, {far, -far, 16, 0}, {0, far, 8, 16}});
  Triangle({{-far - 1, 0, 0, 0}, {10, 0, 16, 0}, {0, 10, 8, 16}});  // beyond the limit: refused
  for (const auto& [p, v] : Drawn()) {
    const int u = static_cast<int>(v & 0xFFF) - 1, t = static_cast<int>((v >> 12) & 0xFFF);
    EXPECT_TRUE(u >= 0 && u < 16 && t >= 0 && t < 16);
  }
}

// Cross-checks: at angle 0 and scale 1 the rotated draw equals the quad on
// the same place, with every mode and modifier, except on the quad's
// diagonal where a mix is applied twice. The triangle and rotated leaves
// thereby agree pixel for pixel.
TEST_F(MappedDrawTest, AxisAlignedQuadEqualsTheRotatedDraw) {
  std::mt19937 rng(5);
  MemImg graphic{};
  ASSERT_EQ(CreateMemImg(&graphic, 9, 7, -1, 0, 2, 0, 0, nullptr), 0);
  for (int i = 0; i < graphic.store->pitch * 7; ++i) graphic.store->pixels[i] = static_cast<uint8_t>(rng());
  BuildBlendGraphicTable(40, 200);
  for (int round = 0; round < 200; ++round) {
    const int w = 1 + static_cast<int>(rng() % 9), h = 1 + static_cast<int>(rng() % 7);
    const int modes[] = {0, 1, 2, 3, 4, 10, 11};
    State(modes[rng() % 7], static_cast<int>(rng() % 256));
    gDrawState.brightness = rng() % 2 ? 0xFFFFFF : rng() & 0xFFFFFF;
    const bool useGraphic = rng() % 3 == 0;
    const int transparent = static_cast<int>(rng() % 2);
    MemImg src{};
    ASSERT_EQ(CreateMemImg(&src, w, h, -1, 0, 1, 0, rng() % 2, nullptr), 0);
    for (int i = 0; i < src.store->pitch * h; ++i) src.store->pixels[i] = static_cast<uint8_t>(rng());
    const int cx = 30, cy = 30, left = cx - (w >> 1), top = cy - (h >> 1);
    const MemImg* g = useGraphic ? &graphic : nullptr;
    // The diagonal: pixels the two triangles both cover.
    std::set<Pixel> diagonal;
    {
      const int saved = gDrawState.blendMode, savedP = gDrawState.blendParameter;
      const uint32_t savedB = gDrawState.brightness;
      State(2, 255);
      MemImg ones{};
      ASSERT_EQ(CreateMemImg(&ones, w, h, -1, 0, 1, 0, 0, nullptr), 0);
      FillMemImg(&ones, nullptr, 1);
      Destination(64, 64);
      const QuadCorner c[4] = {{left, top}, {left + w, top}, {left, top + h}, {left + w, top + h}};
      SoftDrawQuad(&destination_, &ones, c, 0, nullptr);
      for (const auto& [p, v] : Drawn())
        if ((v & 0xFF) == 2) diagonal.insert(p);
      ReleaseMemImg(&ones);
      gDrawState.blendMode = saved, gDrawState.blendParameter = savedP, gDrawState.brightness = savedB;
    }
    // A copy that mixes nothing writes the same value twice there.
    const bool idempotent = gDrawState.blendMode == 0 && !useGraphic && src.store->alphaFlag == 0;
    std::vector<uint32_t> results[2];
    for (int which = 0; which < 2; ++which) {
      Destination(64, 64);
      for (int i = 0; i < destination_.store->pitch * 64; ++i) destination_.store->pixels[i] = static_cast<uint8_t>(i * 7);
      if (which == 0) {
        SoftDrawImageRotated(&destination_, &src, cx, cy, 0.0f, 1.0f, transparent, 0, g);
      } else {
        const QuadCorner c[4] = {{left, top}, {left + w, top}, {left, top + h}, {left + w, top + h}};
        SoftDrawQuad(&destination_, &src, c, transparent, g);
      }
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) results[which].push_back(At(x, y));
    }
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (idempotent || !diagonal.count({x, y})) {
          ASSERT_EQ(results[0][y * 64 + x], results[1][y * 64 + x]) << "round " << round << " w " << w << " h " << h << " mode " << gDrawState.blendMode << " p " << gDrawState.blendParameter << " alpha " << src.store->alphaFlag << " key " << transparent << " graphic " << useGraphic << " at " << x << "," << y;
        }
    ReleaseMemImg(&src);
  }
  ReleaseMemImg(&graphic);
}

}  // namespace

namespace {

// One texel onto one pixel through the quad (both triangles cover the pixel
// (0, 0) once: the diagonal does not pass it).
struct PixelCase {
  int pixelType, mode, parameter;
  uint32_t brightness;
  bool alpha, keyed, graphic;  // graphic: weight 255 everywhere
  uint32_t source;             // 32-bit pixel, or 16-bit word | alpha << 16
  uint32_t destination, want;
};

uint32_t Grey(int c) { return static_cast<uint32_t>(c) * 0x010101u; }
uint32_t Fields(int r, int g, int b) { return static_cast<uint32_t>(r << 11 | g << 5 | b); }

class MappedPixelTest : public ::testing::TestWithParam<SoftDrawIsa> {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    BuildBlendGraphicTable(0, 0);
    if (GetParam() == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    SetSoftDrawIsa(GetParam());
  }
  void TearDown() override { SetSoftDrawIsa(SoftDrawIsa::Automatic); }
};

TEST_P(MappedPixelTest, WorkedExamplesOfEveryMode) {
  const uint32_t W = 0xFFFFFF;
  const PixelCase cases[] = {
      // Copy: alpha with and without the flag, the blend-graphic weight.
      {1, 0, 0, W, true, true, false, 0x80000000 | Grey(255), Grey(0), Grey(127)},
      {1, 0, 0, W, true, true, false, 0x80000000 | Grey(0), Grey(255), Grey(127)},
      {1, 0, 0, W, true, false, false, 0xFF000000 | Grey(255), Grey(0), Grey(254)},
      {1, 0, 0, W, true, false, false, 0xFF000000 | Grey(0), Grey(255), Grey(0)},
      {1, 0, 0, W, true, true, false, 0xFF000000 | Grey(9), Grey(0), 0xFF000000 | Grey(9)},
      {1, 0, 0, W, false, false, true, Grey(255), Grey(0), Grey(254)},
      {1, 0, 0, W, false, false, true, Grey(0), Grey(255), Grey(0)},
      {1, 0, 0, W, true, false, true, 0xFF000000 | Grey(255), Grey(0), Grey(253)},
      {1, 0, 0, W, true, false, true, 0xFF000000 | Grey(0), Grey(255), Grey(1)},
      {1, 0, 0, 0xFEFFFF, false, false, false, 0x12000000 | Grey(255), 0x34000000, 0x34FEFFFF},
      // Translucent and inverted.
      {1, 1, 128, W, false, false, false, Grey(255), Grey(0), Grey(127)},
      {1, 10, 255, W, false, false, false, Grey(0), Grey(0), Grey(254)},
      {1, 10, 200, W, true, true, false, Grey(0), Grey(9), Grey(9)},
      // Additive: alpha 255 with the flag takes the short form.
      {1, 2, 255, W, false, false, false, 0x00010203, 0x00102030, 0x00112233},
      {1, 2, 255, W, true, true, false, 0xFF000000 | Grey(255), Grey(0), Grey(255)},
      {1, 2, 255, W, true, false, false, 0xFF000000 | Grey(255), Grey(0), Grey(253)},
      {1, 2, 255, W, false, false, false, 0, 0xAB102030, 0x00102030},
      // Subtractive.
      {1, 3, 255, W, false, false, false, Grey(64), Grey(128), 0x00414140},
      {1, 3, 255, W, true, true, false, 0xFF000000 | Grey(255), Grey(255), 0x00010100},
      {1, 3, 255, W, true, false, false, 0xFF000000 | Grey(255), Grey(255), 0x00030302},
      // Multiply.
      {1, 4, 0, W, false, false, false, Grey(255), 0x77FF01FF, 0x77FE00FE},
      {1, 4, 77, W, false, false, false, Grey(128), Grey(200), Grey(100)},
      {1, 4, 0, W, false, false, true, Grey(255), Grey(255), Grey(253)},
      {1, 4, 0, W, true, true, false, 0xFF000000 | Grey(255), Grey(255), Grey(254)},
      {1, 4, 0, W, true, false, false, 0xFF000000 | Grey(255), Grey(255), Grey(253)},
      {1, 4, 0, W, true, true, false, 0x80000000 | Grey(255), Grey(255), Grey(127)},
      {1, 4, 0, W, true, true, false, 0x00000000 | Grey(255), Grey(255), Grey(0)},
      {1, 4, 0, W, true, false, true, 0xFE000000 | Grey(255), Grey(255), Grey(251)},
      {1, 4, 0, W, true, true, true, 0xFF000000 | Grey(255), Grey(255), Grey(253)},
      {1, 4, 0, W, true, false, true, 0xFF000000 | Grey(255), Grey(255), Grey(252)},
      // Multiply translucent.
      {1, 11, 255, W, false, false, false, Grey(255), Grey(255), Grey(254)},
      {1, 11, 0, W, false, false, false, Grey(0), 0x5A123456, 0x5A123456},
      // 16-bit pixels.
      {0, 0, 0, 0xFF80FF, false, false, false, Fields(31, 63, 31), 0, Fields(31, 31, 31)},
      {0, 0, 0, 0x80FFFF, false, false, false, Fields(31, 63, 31), 0, Fields(15, 63, 31)},
      {0, 2, 255, W, false, false, false, Fields(15, 31, 15), Fields(15, 31, 15), Fields(29, 61, 30)},
      {0, 2, 255, W, true, true, false, 0xFF0000 | Fields(31, 0, 0), 0, Fields(31, 0, 0)},
      {0, 2, 255, W, true, false, false, 0xFF0000 | Fields(31, 0, 0), 0, Fields(30, 0, 0)},
      {0, 2, 255, 0xAAFFFF, true, false, false, 0x800000 | Fields(3, 0, 0), 0, 0},
      {0, 3, 255, W, false, false, false, 0, Fields(31, 63, 31), Fields(31, 62, 31)},
      {0, 3, 255, W, false, false, false, Fields(8, 16, 8), Fields(16, 32, 16), Fields(9, 16, 8)},
      {0, 3, 255, W, false, false, true, Fields(31, 63, 31), Fields(31, 63, 31), Fields(1, 0, 1)},
      {0, 4, 0, W, false, false, false, Fields(31, 63, 31), Fields(31, 63, 31), Fields(30, 62, 30)},
  };
  for (const PixelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.pixelType << " mode " << c.mode << " p " << c.parameter
                                    << " source " << std::hex << c.source << " destination " << c.destination);
    const bool wide = c.pixelType == 1;
    MemImg source{}, destination{}, graphic{};
    ASSERT_EQ(CreateMemImg(&source, 1, 1, -1, 0x7FFFFFFF, c.pixelType, 0, c.alpha, nullptr), 0);
    ASSERT_EQ(CreateMemImg(&destination, 2, 2, -1, 0, c.pixelType, 0, 0, nullptr), 0);
    ASSERT_EQ(CreateMemImg(&graphic, 1, 1, -1, 0, 2, 0, 0, nullptr), 0);
    std::memcpy(source.pixels, &c.source, wide || c.alpha ? 4 : 2);
    FillMemImg(&destination, nullptr, c.destination);
    gDrawState.blendMode = c.mode;
    gDrawState.blendParameter = c.parameter;
    gDrawState.brightness = c.brightness;
    gDrawState.drawRegion = {0, 0, 2, 2};
    const QuadCorner corners[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    SoftDrawQuad(&destination, &source, corners, c.keyed, c.graphic ? &graphic : nullptr);
    uint32_t got = 0;
    std::memcpy(&got, destination.pixels, wide ? 4 : 2);
    EXPECT_EQ(got, c.want);
    // The rotated draw gives the same pixel.
    FillMemImg(&destination, nullptr, c.destination);
    SoftDrawImageRotated(&destination, &source, 0, 0, 0.0f, 1.0f, c.keyed, 0, c.graphic ? &graphic : nullptr);
    got = 0;
    std::memcpy(&got, destination.pixels, wide ? 4 : 2);
    EXPECT_EQ(got, c.want);
    ReleaseMemImg(&source);
    ReleaseMemImg(&destination);
    ReleaseMemImg(&graphic);
  }
}

INSTANTIATE_TEST_SUITE_P(Isa, MappedPixelTest, ::testing::Values(SoftDrawIsa::Sse2, SoftDrawIsa::Avx2),
                         [](const auto& info) { return info.param == SoftDrawIsa::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
