// The box fill and the lines: the worked examples of their rules, refusals
// and the mended faults, on both instruction sets.

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/shapes/FlatDraw.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }
uint32_t Rgb16(int r, int g, int b) { return static_cast<uint32_t>(r << 11 | g << 5 | b); }

class FlatDrawTest : public ::testing::TestWithParam<SoftDrawIsa> {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    if (GetParam() == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    SetSoftDrawIsa(GetParam());
    State(0, 0);
  }
  void TearDown() override {
    SetSoftDrawIsa(SoftDrawIsa::Automatic);
    ReleaseMemImg(&image_);
  }
  static void State(int mode, int parameter, uint32_t brightness = 0xFFFFFF, IntRect region = {0, 0, 640, 480}) {
    gDrawState.blendMode = mode;
    gDrawState.blendParameter = parameter;
    gDrawState.brightness = brightness;
    gDrawState.drawRegion = region;
  }
  MemImg* Image(int width, int height, int pixelType, uint32_t fill, int palette = 0, int alpha = 0) {
    ReleaseMemImg(&image_);
    EXPECT_EQ(CreateMemImg(&image_, width, height, -1, 0, pixelType, palette, alpha, nullptr), 0);
    if (!palette) FillMemImg(&image_, nullptr, fill);
    return &image_;
  }
  uint32_t At(int x, int y) const {
    const int bytes = MemImgBytesPerPixel(image_.store);
    uint32_t v = 0;
    std::memcpy(&v, image_.pixels + y * image_.store->pitch + x * bytes, bytes);
    return v;
  }
  std::set<std::pair<int, int>> Changed(uint32_t background) const {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < image_.height; ++y)
      for (int x = 0; x < image_.width; ++x)
        if (At(x, y) != background) out.insert({x, y});
    return out;
  }
  std::vector<uint8_t> Bytes() const {
    return std::vector<uint8_t>(image_.store->pixels, image_.store->pixels + image_.store->pitch * image_.height);
  }
  MemImg image_{};
};

TEST_P(FlatDrawTest, BoxCornersInEitherOrderAndClipping) {
  State(0, 0, 0xFFFFFF, {2, 1, 30, 20});
  Image(40, 30, 1, 0);
  SoftFillRect(&image_, nullptr, 7);
  EXPECT_EQ(Changed(0).size(), 28u * 19u);
  EXPECT_EQ(At(2, 1), 7u);
  EXPECT_EQ(At(29, 19), 7u);
  EXPECT_EQ(At(30, 19), 0u);
  Image(40, 30, 1, 0);
  const IntRect swapped{10, 12, 4, 5};
  SoftFillRect(&image_, &swapped, 9);
  std::set<std::pair<int, int>> want;
  for (int y = 5; y < 12; ++y)
    for (int x = 4; x < 10; ++x) want.insert({x, y});
  EXPECT_EQ(Changed(0), want);
  for (const IntRect& nothing : {IntRect{5, 5, 5, 9}, IntRect{31, 0, 39, 9}, IntRect{0, 20, 9, 29}}) {
    Image(40, 30, 1, 0);
    SoftFillRect(&image_, &nothing, 9);
    EXPECT_TRUE(Changed(0).empty());
  }
  Image(40, 30, 1, 0);
  const IntRect edge{25, 15, 35, 25};
  SoftFillRect(&image_, &edge, 9);
  EXPECT_EQ(Changed(0).size(), 5u * 5u);
}

struct PixelCase {
  int pixelType, mode, parameter;
  uint32_t brightness, destination, color, want;
};

TEST_P(FlatDrawTest, BoxPixelOperations) {
  const PixelCase cases[] = {
      {1, 1, 255, 0xFFFFFF, 0x11223344, 0xAABBCCDD, 0xAABBCCDD},
      {1, 1, 0, 0xFFFFFF, 0x11223344, 0xAABBCCDD, 0x11223344},
      {1, 10, 255, 0xFFFFFF, 0, 0, Rgb(254, 254, 254)},
      {1, 0, 0, 0xFFFFFF, 0, Rgb(255, 255, 255), Rgb(255, 255, 255)},
      {1, 0, 0, 0xFFFFFE, 0, Rgb(255, 255, 255), Rgb(254, 254, 253)},
      {1, 2, 255, 0xFFFFFF, Rgb(1, 1, 1), Rgb(1, 1, 1), Rgb(1, 1, 2)},
      {1, 2, 255, 0xFFFFFF, Rgb(0, 0, 255), Rgb(0, 0, 1), Rgb(0, 1, 255)},
      {1, 2, 255, 0xFFFFFF, Rgb(128, 128, 128), Rgb(128, 128, 128), 0x01FFFFFF},
      {1, 3, 255, 0xFFFFFF, Rgb(1, 1, 1), Rgb(1, 1, 1), Rgb(1, 1, 0)},
      {1, 3, 255, 0xFFFFFF, 0xFF000000, Rgb(1, 1, 1), Rgb(1, 0, 0)},
      {1, 3, 255, 0xFFFFFF, Rgb(3, 3, 3), Rgb(1, 1, 1), Rgb(3, 3, 2)},
      {1, 4, 0, 0xFFFFFF, 0x77000000 | Rgb(255, 200, 1), Rgb(255, 128, 255), 0x77000000 | Rgb(254, 100, 0)},
      {1, 11, 128, 0xFFFFFF, Rgb(200, 200, 200), Rgb(0, 0, 0), Rgb(100, 100, 100)},
      {1, 5, 255, 0xFFFFFF, 1, 2, 1},
      {1, 12, 255, 0xFFFFFF, 1, 2, 1},
      {0, 2, 255, 0xFFFFFF, Rgb16(1, 1, 1), Rgb16(1, 1, 1), Rgb16(1, 1, 2)},
      {0, 2, 255, 0xFFFFFF, Rgb16(16, 32, 16), Rgb16(16, 32, 16), Rgb16(31, 63, 31)},
      {0, 3, 255, 0xFFFFFF, Rgb16(1, 1, 1), Rgb16(1, 1, 1), Rgb16(1, 0, 0)},
      {0, 3, 255, 0xFFFFFF, Rgb16(3, 3, 3), Rgb16(1, 1, 1), Rgb16(3, 2, 2)},
      {0, 4, 0, 0xFFFFFF, Rgb16(31, 63, 31), Rgb16(31, 63, 31), Rgb16(30, 62, 30)},
      {0, 0, 0, 0x808080, 0, Rgb16(31, 63, 31), Rgb16(15, 31, 15)},
      {0, 1, 128, 0xFFFFFF, Rgb16(0, 0, 0), Rgb16(31, 63, 31), Rgb16(15, 31, 15)},
  };
  for (const PixelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " p " << c.parameter << " type " << c.pixelType);
    State(c.mode, c.parameter, c.brightness);
    Image(70, 2, c.pixelType, c.destination);
    SoftFillRect(&image_, nullptr, c.color);
    EXPECT_EQ(At(0, 0), c.want);
    EXPECT_EQ(At(69, 1), c.want);  // past any vector width
  }
}

TEST_P(FlatDrawTest, PaletteAndAlphaDestinationsAreLeftAlone) {
  for (int mode : {0, 1, 2, 3, 4, 10, 11}) {
    State(mode, 100);
    for (const bool palette : {true, false}) {
      Image(8, 4, 1, 0x12345678, palette, !palette);
      const std::vector<uint8_t> before = Bytes();
      SoftFillRect(&image_, nullptr, 0xFFFFFFFF);
      SoftDrawLine(&image_, 0, 0, 7, 3, 0xFFFFFFFF);
      EXPECT_EQ(Bytes(), before);
    }
  }
}

// A 16-bit colour with its upper half set paints only its own word.
TEST_P(FlatDrawTest, SixteenBitColourKeepsToItsWord) {
  State(0, 0, 0xFFFFFF, {0, 0, 3, 1});
  Image(8, 1, 0, 0x1111);
  SoftFillRect(&image_, nullptr, 0xABCD1234);
  EXPECT_EQ(At(2, 0), 0x1234u);
  EXPECT_EQ(At(3, 0), 0x1111u);
  State(2, 255, 0xFFFFFF, {0, 0, 3, 1});
  Image(8, 1, 0, 0);
  SoftFillRect(&image_, nullptr, 0xFFFF0001);
  EXPECT_EQ(At(3, 0), 0u);
  EXPECT_EQ(At(0, 0), 1u);
}

struct LineCase {
  int x1, y1, x2, y2;
  std::vector<std::pair<int, int>> pixels;
};

TEST_P(FlatDrawTest, LinePixels) {
  std::vector<std::pair<int, int>> down, across, clipped;
  for (int y = 470; y < 480; ++y) down.push_back({5, y});
  for (int x = 0; x < 10; ++x) across.push_back({x, 3});
  for (int k = 0; k < 10; ++k) clipped.push_back({k, 10 + k});
  std::vector<std::pair<int, int>> up(down.begin() + 1, down.end());
  std::vector<std::pair<int, int>> row5, back5;
  for (int x = 0; x < 10; ++x) row5.push_back({x, 5});
  for (int x = 1; x <= 10; ++x) back5.push_back({x, 5});
  const LineCase cases[] = {
      {0, 5, 10, 5, row5},
      {10, 5, 0, 5, back5},
      {3, 3, 3, 3, {}},
      {640, 0, 640, 100, {}},
      {0, 480, 100, 480, {}},
      {0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {0, 0, 2, 4, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
      {5, 470, 5, 490, down},
      {5, 490, 5, 470, up},
      {-5, 3, 10, 3, across},
      {-10, 0, 10, 20, clipped},
      {-10, 5, 5, -10, {{0, 0}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2);
    State(0, 0);
    Image(640, 480, 1, 0);
    SoftDrawLine(&image_, c.x1, c.y1, c.x2, c.y2, 0xFFFFFFFF);
    const std::set<std::pair<int, int>> want(c.pixels.begin(), c.pixels.end());
    EXPECT_EQ(Changed(0), want);
  }
}

TEST_P(FlatDrawTest, OutlineDrawsEachPixelOnceAndListsRunInOrder) {
  State(2, 255);
  Image(40, 30, 1, 0);
  const uint32_t one = Rgb(0, 0, 1);
  const LineSegment outline[4] = {
      {10, 10, 19, 10, one, 0}, {19, 10, 19, 14, one, 0}, {19, 14, 10, 14, one, 0}, {10, 14, 10, 10, one, 0}};
  SoftDrawLines(&image_, outline, 0);
  EXPECT_TRUE(Changed(0).empty());
  SoftDrawLines(&image_, outline, 4);
  const auto changed = Changed(0);
  EXPECT_EQ(changed.size(), 26u);
  for (const auto& [x, y] : changed) EXPECT_EQ(At(x, y), one) << x << "," << y;
  const LineSegment twice[2] = {{0, 0, 5, 0, one, 0}, {2, 0, 3, 0, one, 0}};
  SoftDrawLines(&image_, twice, 2);
  EXPECT_EQ(At(2, 0), Rgb(0, 0, 2));
}

// End points far apart: their differences need more than 32 bits.
TEST_P(FlatDrawTest, LinesBetweenExtremeEndPointsStayInTheRegion) {
  State(0, 0, 0xFFFFFF, {4, 4, 36, 26});
  const int extremes[][4] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                             {INT_MAX, 10, INT_MIN, 12},
                             {20, INT_MIN, 21, INT_MAX},
                             {INT_MIN, INT_MAX, INT_MAX, INT_MIN}};
  for (const auto& e : extremes) {
    Image(40, 30, 1, 0);
    SoftDrawLine(&image_, e[0], e[1], e[2], e[3], 0xFFFFFFFF);
    for (const auto& [x, y] : Changed(0)) {
      EXPECT_TRUE(x >= 4 && x < 36 && y >= 4 && y < 26) << x << "," << y;
    }
  }
}

// The box's row loops against one-pixel lines (the kernel's single-pixel
// form) on random pixels, every mode, parameter and brightness.
TEST_P(FlatDrawTest, BoxRowsEqualThePixelByPixelForm) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    const int modes[] = {0, 1, 2, 3, 4, 10, 11};
    const int pixelType = static_cast<int>(rng() % 2);
    State(modes[rng() % 7], static_cast<int>(rng() % 256), rng() % 2 ? 0xFFFFFF : rng() & 0xFFFFFF);
    const uint32_t colour = static_cast<uint32_t>(rng());
    const int width = 1 + static_cast<int>(rng() % 40);
    Image(width, 2, pixelType, 0);
    for (int i = 0; i < image_.store->pitch * 2; ++i) image_.store->pixels[i] = static_cast<uint8_t>(rng());
    const std::vector<uint8_t> before = Bytes();
    SoftFillRect(&image_, nullptr, colour);
    const std::vector<uint8_t> box = Bytes();
    std::memcpy(image_.store->pixels, before.data(), before.size());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < width; ++x) SoftDrawLine(&image_, x, y, x + 1, y, colour);
    ASSERT_EQ(Bytes(), box) << "round " << round << " mode " << gDrawState.blendMode;
  }
}

INSTANTIATE_TEST_SUITE_P(Isa, FlatDrawTest, ::testing::Values(SoftDrawIsa::Sse2, SoftDrawIsa::Avx2),
                         [](const auto& info) { return info.param == SoftDrawIsa::Sse2 ? "Sse2" : "Avx2"; });

}  // namespace
