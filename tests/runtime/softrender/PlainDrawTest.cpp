// The plain draw's edge cases, one or a few pixels at a time.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b, uint32_t top = 0) { return top << 24 | r << 16 | g << 8 | b; }

class PlainDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    gDrawState = DrawState{{0, 0, 64, 64}, BlendCopy, 0, -1, 0, 0, 0xFFFFFF};
    gPlatform.mmxUsable = 1;
  }
  void TearDown() override {
    gPlatform.mmxUsable = 0;
    for (MemImg* m : {&destination, &source, &graphic}) ReleaseMemImg(m);
  }

  void Make(int width, int height, std::vector<uint32_t> sourcePixels, uint32_t destinationPixel,
            bool alpha = false, uint32_t key = 0) {
    ASSERT_EQ(CreateMemImg(&destination, 64, 64, -1, 0, 1, 0, 0, nullptr), 0);
    FillMemImg(&destination, nullptr, destinationPixel);
    ASSERT_EQ(CreateMemImg(&source, width, height, -1, key, 1, 0, alpha, nullptr), 0);
    for (int i = 0; i < width * height; ++i)
      std::memcpy(source.pixels + (i / width) * source.store->pitch + 4 * (i % width), &sourcePixels[i], 4);
  }
  uint32_t At(int x, int y) const {
    uint32_t v;
    std::memcpy(&v, destination.pixels + y * destination.store->pitch + 4 * x, 4);
    return v;
  }
  // One source pixel drawn over one destination pixel.
  uint32_t DrawOne(uint32_t s, uint32_t d, int mode, int parameter, bool alpha = false, int transparent = 0,
                   uint32_t brightness = 0xFFFFFF, uint32_t key = 0x12345678) {
    for (MemImg* m : {&destination, &source}) ReleaseMemImg(m);
    Make(1, 1, {s}, d, alpha, key);
    gDrawState.blendMode = mode;
    gDrawState.blendParameter = parameter;
    gDrawState.brightness = brightness;
    SoftDrawImage(&destination, &source, 5, 5, transparent, nullptr);
    return At(5, 5);
  }

  MemImg destination{}, source{}, graphic{};
};

TEST_F(PlainDrawTest, SpecialParameterPaths) {
  const uint32_t s = Rgb(5, 5, 5, 9), d = Rgb(7, 7, 7, 3);
  EXPECT_EQ(DrawOne(s, d, 1, 128), Rgb(5, 5, 5, 0));
  EXPECT_EQ(DrawOne(s, d, 1, 127), Rgb(6, 6, 6, 3));
  EXPECT_EQ(DrawOne(s, d, 1, 129), Rgb(5, 5, 5, 3));

  const uint32_t one = Rgb(1, 1, 1, 1), three = Rgb(3, 3, 3, 5);
  EXPECT_EQ(DrawOne(one, three, 2, 255), Rgb(4, 4, 4, 6));
  EXPECT_EQ(DrawOne(one, three, 3, 255), Rgb(2, 2, 2, 4));
  EXPECT_EQ(DrawOne(one, three, 2, 254), Rgb(3, 3, 3, 0));
  gPlatform.mmxUsable = 0;
  EXPECT_EQ(DrawOne(one, three, 2, 255), Rgb(2, 2, 4, 0));
  EXPECT_EQ(DrawOne(one, three, 3, 255), Rgb(3, 3, 2, 0));
}

TEST_F(PlainDrawTest, ModesAndParametersThatDrawNothing) {
  const uint32_t s = Rgb(200, 100, 50, 7), d = Rgb(1, 2, 3, 4);
  for (int mode : {5, 6, 7, 8, 9, 12, -1}) EXPECT_EQ(DrawOne(s, d, mode, 100), d) << mode;
  for (int mode : {1, 2, 3}) EXPECT_EQ(DrawOne(s, d, mode, 0), d) << mode;
  for (int mode : {10, 11}) EXPECT_EQ(DrawOne(s, d, mode, 0), d) << mode;
  EXPECT_EQ(DrawOne(Rgb(255, 255, 255), Rgb(255, 255, 255), 4, 0), Rgb(254, 254, 254));
  EXPECT_EQ(DrawOne(s, d, 4, 0), DrawOne(s, d, 4, 255));
  // The inverted source of white under brightness 128 is black.
  EXPECT_EQ(DrawOne(Rgb(255, 255, 255), Rgb(50, 60, 70, 1), 10, 255, false, 0, 0x808080),
            Rgb(50 - 50 * 255 / 256 - 1, 60 - 60 * 255 / 256 - 1, 70 - 70 * 255 / 256 - 1, 1));
}

TEST_F(PlainDrawTest, KeyAndAlphaRules) {
  const uint32_t key = Rgb(254, 0, 254, 0);
  const uint32_t d = Rgb(10, 20, 30, 40);
  EXPECT_EQ(DrawOne(key, d, 0, 0, false, 1, 0xFFFFFF, key), d);
  EXPECT_EQ(DrawOne(key | 0x01000000, d, 0, 0, false, 1, 0xFFFFFF, key), key | 0x01000000);

  // Mode 0 with alpha and no flag: copied whole under white brightness,
  // mixed by the alpha (even at 255) otherwise.
  const uint32_t opaque = Rgb(200, 100, 0, 255);
  EXPECT_EQ(DrawOne(Rgb(200, 100, 0, 0), d, 0, 0, true, 0), Rgb(200, 100, 0, 0));
  EXPECT_EQ(DrawOne(opaque, d, 0, 0, true, 0, 0xFEFFFF),
            Rgb(10 + (255 * (Product(0xFE, 200) - 10) >> 8), 20 + (255 * 80 >> 8), 30 + ((255 * -30) >> 8), 40));

  // Alpha 0 under the flag: untouched in modes 0 to 3, black in mode 4.
  const uint32_t clear = Rgb(200, 100, 50, 0);
  for (int mode : {0, 1, 2, 3}) EXPECT_EQ(DrawOne(clear, d, mode, 100, true, 1), d) << mode;
  EXPECT_EQ(DrawOne(clear, d, 4, 100, true, 1), Rgb(0, 0, 0, 40));
  EXPECT_EQ(DrawOne(clear, d, 4, 100, true, 0), Rgb(0, 0, 0, 40));
  for (int mode : {10, 11}) EXPECT_EQ(DrawOne(clear, d, mode, 100, true, 1), d) << mode;
  EXPECT_EQ(DrawOne(opaque, d, 0, 0, true, 1), opaque);
}

TEST_F(PlainDrawTest, SubtractWithZeroWeightStillSetsLowBits) {
  Make(1, 1, {Rgb(9, 9, 9)}, Rgb(10, 20, 30, 40));
  ASSERT_EQ(CreateMemImg(&graphic, 1, 1, -1, 0, 2, 0, 0, nullptr), 0);
  graphic.pixels[0] = 0;
  BuildBlendGraphicTable(255, 255);  // weight 0 for 0
  gDrawState.blendMode = 3;
  gDrawState.blendParameter = 200;
  SoftDrawImage(&destination, &source, 0, 0, 0, &graphic);
  EXPECT_EQ(At(0, 0), Rgb(11, 21, 30, 0));
}

TEST_F(PlainDrawTest, ClippingAndTheBlendGraphicOffset) {
  Make(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0);
  ASSERT_EQ(CreateMemImg(&graphic, 3, 3, -1, 0, 2, 0, 0, nullptr), 0);
  for (int i = 0; i < 9; ++i) graphic.pixels[(i / 3) * graphic.store->pitch + i % 3] = i == 4 ? 255 : 0;
  BuildBlendGraphicTable(128, 255);  // weight = value
  gDrawState.drawRegion = IntRect{0, 0, 64, 64};
  // Crossing the left and top edges: (1, 1) of the source lands on (0, 0),
  // weighted by the blend graphic's own (1, 1).
  SoftDrawImage(&destination, &source, -1, -1, 0, &graphic);
  EXPECT_EQ(At(0, 0), 4u);  // 0 + floor(255 x 5 / 256)
  EXPECT_EQ(At(1, 0), 0u);
  EXPECT_EQ(At(2, 0), 0u);

  FillMemImg(&destination, nullptr, 0xAA);
  gDrawState.drawRegion = IntRect{10, 10, 10, 20};
  SoftDrawImage(&destination, &source, 9, 9, 0, nullptr);
  gDrawState.drawRegion = IntRect{0, 0, 64, 64};
  SoftDrawImage(&destination, &source, 70, 0, 0, nullptr);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(At(x, y), 0xAAu);
}

// A blend graphic must cover the drawn part of the source, else nothing is drawn.
TEST_F(PlainDrawTest, BlendGraphicsThatDoNotCoverTheDrawnPart) {
  Make(64, 64, std::vector<uint32_t>(64 * 64, Rgb(200, 200, 200)), Rgb(10, 10, 10));
  BuildBlendGraphicTable(128, 255);
  gDrawState.blendMode = BlendTranslucent;
  gDrawState.blendParameter = 128;
  struct Case {
    int width, height, type;
    IntRect region;
    bool draws;
  } cases[] = {{1, 1, 2, {0, 0, 64, 64}, false}, {64, 63, 2, {0, 0, 64, 64}, false},
               {63, 64, 2, {0, 0, 64, 64}, false}, {64, 64, 1, {0, 0, 64, 64}, false},
               {2, 2, 2, {0, 0, 2, 2}, true},     {64, 64, 2, {0, 0, 64, 64}, true}};
  for (const Case& c : cases) {
    FillMemImg(&destination, nullptr, Rgb(10, 10, 10));
    ASSERT_EQ(CreateMemImg(&graphic, c.width, c.height, -1, 0, c.type, 0, 0, nullptr), 0);
    FillMemImg(&graphic, nullptr, 0xFFFFFFFF);
    gDrawState.drawRegion = c.region;
    SoftDrawImage(&destination, &source, 0, 0, 0, &graphic);
    EXPECT_EQ(At(0, 0), c.draws ? Rgb(104, 104, 104) : Rgb(10, 10, 10)) << c.width << "x" << c.height;
    EXPECT_EQ(At(63, 63), c.draws && c.region.right == 64 ? Rgb(104, 104, 104) : Rgb(10, 10, 10));
    ReleaseMemImg(&graphic);
  }
  // The part a crossing source draws is what the graphic must cover.
  ASSERT_EQ(CreateMemImg(&graphic, 64, 64, -1, 0, 2, 0, 0, nullptr), 0);
  FillMemImg(&graphic, nullptr, 0xFF);
  FillMemImg(&destination, nullptr, Rgb(10, 10, 10));
  gDrawState.drawRegion = IntRect{0, 0, 64, 64};
  SoftDrawImage(&destination, &source, -1, 0, 0, &graphic);
  EXPECT_EQ(At(0, 0), Rgb(104, 104, 104));
}

TEST_F(PlainDrawTest, RefusedImages) {
  Make(2, 2, {1, 2, 3, 4}, 0xAA);
  MemImg other{};
  for (auto [type, palette, alpha] : {std::tuple{0, 0, 0}, {1, 1, 0}, {1, 0, 1}, {2, 0, 0}}) {
    ASSERT_EQ(CreateMemImg(&other, 4, 4, -1, 0, type, palette, alpha, nullptr), 0);
    FillMemImg(&other, nullptr, 0xAA);
    SoftDrawImage(&other, &source, 0, 0, 0, nullptr);
    EXPECT_EQ(other.pixels[0], 0xAA);
    ReleaseMemImg(&other);
  }
  MemImg single{}, singleSource{};
  ASSERT_EQ(CreateMemImg(&single, 4, 4, -1, 0, 2, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&singleSource, 4, 4, -1, 0, 2, 0, 0, nullptr), 0);
  FillMemImg(&single, nullptr, 1);
  FillMemImg(&singleSource, nullptr, 2);
  SoftDrawImage(&single, &singleSource, 0, 0, 0, nullptr);
  EXPECT_EQ(single.pixels[0], 1);
  ReleaseMemImg(&single);
  ReleaseMemImg(&singleSource);
}

// Translucent at 255 is copy, in every combination of modifiers.
TEST_F(PlainDrawTest, TranslucentAt255IsCopy) {
  std::mt19937 rng(3);
  std::vector<uint32_t> pixels(7 * 3);
  for (auto& p : pixels) p = rng() | (rng() % 3 == 0 ? 0xFF000000 : 0);
  pixels[4] = 0x00FE00FE;
  for (int alpha = 0; alpha < 2; ++alpha) {
    for (int withGraphic = 0; withGraphic < 2; ++withGraphic) {
      for (uint32_t brightness : {0xFFFFFFu, 0x80FF40u}) {
        for (int transparent = 0; transparent < 2; ++transparent) {
          uint32_t results[2][64];
          for (int mode = 0; mode < 2; ++mode) {
            for (MemImg* m : {&destination, &source, &graphic}) ReleaseMemImg(m);
            Make(7, 3, pixels, 0x11223344, alpha, 0x00FE00FE);
            ASSERT_EQ(CreateMemImg(&graphic, 7, 3, -1, 0, 2, 0, 0, nullptr), 0);
            FillMemImg(&graphic, nullptr, 0x99);
            gDrawState.blendMode = mode;
            gDrawState.blendParameter = 255;
            gDrawState.brightness = brightness;
            SoftDrawImage(&destination, &source, 0, 0, transparent, withGraphic ? &graphic : nullptr);
            for (int i = 0; i < 21; ++i) results[mode][i] = At(i % 7, i / 7);
          }
          EXPECT_EQ(std::memcmp(results[0], results[1], 21 * 4), 0);
        }
      }
    }
  }
}

}  // namespace
