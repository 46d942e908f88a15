// The scaled draw's stepping, mirroring, clipping, family rules and the
// refusals that keep it inside its images.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"
#include "tests/runtime/softrender/ReferenceScaledDraw.h"

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b, uint32_t top = 0) { return top << 24 | r << 16 | g << 8 | b; }

uint32_t Read(const MemImg& m, int x, int y) {
  const int bytes = MemImgBytesPerPixel(m.store);
  uint32_t v = 0;
  std::memcpy(&v, m.pixels + y * m.store->pitch + bytes * x, bytes);
  return v;
}

void Write(MemImg& m, int x, int y, uint32_t v) {
  const int bytes = MemImgBytesPerPixel(m.store);
  std::memcpy(m.pixels + y * m.store->pitch + bytes * x, &v, bytes);
}

void FillRandom(MemImg& m, std::mt19937& rng) {
  for (int i = 0; i < m.store->pitch * m.store->height; ++i) m.store->pixels[i] = static_cast<uint8_t>(rng());
}

bool SamePixels(const MemImg& a, const MemImg& b) {
  return std::memcmp(a.store->pixels, b.store->pixels, static_cast<size_t>(a.store->pitch) * a.store->height) == 0;
}

class ScaledDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildSoftBlendTables();
    gDrawState = DrawState{{0, 0, 64, 64}, BlendCopy, 0, -1, 0, 0, 0xFFFFFF};
    gPlatform.mmxUsable = 1;
  }
  void TearDown() override {
    gPlatform.mmxUsable = 0;
    for (MemImg* m : {&destination, &other, &source, &graphic}) ReleaseMemImg(m);
  }

  // A one-row 32-bit source whose pixel i is i, drawn into a 64x4
  // destination of 0xFFFFFFFF; returns the source column each destination
  // column of row 0 took (-1: untouched).
  std::vector<int> Columns(int sourceWidth, int x1, int x2, IntRect region = {0, 0, 64, 64}) {
    for (MemImg* m : {&destination, &source}) ReleaseMemImg(m);
    EXPECT_EQ(CreateMemImg(&destination, 64, 4, -1, 0, 1, 0, 0, nullptr), 0);
    FillMemImg(&destination, nullptr, 0xFFFFFFFF);
    EXPECT_EQ(CreateMemImg(&source, sourceWidth, 1, -1, 0, 1, 0, 0, nullptr), 0);
    for (int i = 0; i < sourceWidth; ++i) Write(source, i, 0, static_cast<uint32_t>(i));
    gDrawState.drawRegion = region;
    SoftDrawImageScaled(&destination, &source, x1, 0, x2, 1, 0, nullptr);
    std::vector<int> taken;
    for (int x = 0; x < 64; ++x)
      if (Read(destination, x, 0) != 0xFFFFFFFF) taken.push_back(static_cast<int>(Read(destination, x, 0)));
    return taken;
  }

  // One source pixel stretched over two destination pixels.
  uint32_t DrawTwo(int pixelType, uint32_t s, uint32_t d, int mode, int parameter, bool alpha = false,
                   int transparent = 0, uint32_t key = 0x12345678) {
    for (MemImg* m : {&destination, &source}) ReleaseMemImg(m);
    EXPECT_EQ(CreateMemImg(&destination, 8, 8, -1, 0, pixelType, 0, 0, nullptr), 0);
    FillMemImg(&destination, nullptr, d);
    EXPECT_EQ(CreateMemImg(&source, 1, 1, -1, key, pixelType, 0, alpha, nullptr), 0);
    Write(source, 0, 0, s);
    gDrawState.blendMode = mode;
    gDrawState.blendParameter = parameter;
    SoftDrawImageScaled(&destination, &source, 2, 2, 4, 3, transparent, nullptr);
    EXPECT_EQ(Read(destination, 2, 2), Read(destination, 3, 2));
    return Read(destination, 3, 2);
  }

  MemImg destination{}, other{}, source{}, graphic{};
};

TEST_F(ScaledDrawTest, ColumnsTakenFollowTheSixteenSixteenSteps) {
  struct Case {
    int sourceWidth, width;
    std::vector<int> forward, mirrored;
  };
  const Case cases[] = {
      {8, 4, {0, 2, 4, 6}, {7, 5, 3, 1}},
      {4, 8, {0, 0, 1, 1, 2, 2, 3, 3}, {3, 3, 2, 2, 1, 1, 0, 0}},
      {3, 7, {0, 0, 0, 1, 1, 2, 2}, {2, 2, 2, 1, 1, 0, 0}},
      {3, 10, {0, 0, 0, 0, 1, 1, 1, 2, 2, 2}, {2, 2, 2, 2, 1, 1, 1, 0, 0, 0}},
      {10, 3, {0, 3, 6}, {9, 6, 3}},
      {5, 5, {0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}},
      {1, 6, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Columns(c.sourceWidth, 10, 10 + c.width), c.forward) << c.sourceWidth << " into " << c.width;
    EXPECT_EQ(Columns(c.sourceWidth, 10 + c.width, 10), c.mirrored) << c.sourceWidth << " into " << c.width;
  }
  // Equal corners draw nothing.
  EXPECT_TRUE(Columns(3, 10, 10).empty());
}

TEST_F(ScaledDrawTest, AClippedWalkStartsWhereTheUncutWalkWouldBe) {
  // 3 columns drawn 7 wide, the region starting 3 columns in.
  EXPECT_EQ(Columns(3, 10, 17, IntRect{13, 0, 64, 64}), (std::vector<int>{1, 1, 2, 2}));
  EXPECT_EQ(Columns(3, 17, 10, IntRect{13, 0, 64, 64}), (std::vector<int>{1, 1, 0, 0}));
  // Cut on the right only.
  EXPECT_EQ(Columns(3, 10, 17, IntRect{0, 0, 13, 64}), (std::vector<int>{0, 0, 0}));
}

// A clipped draw equals the matching part of the unclipped one, on each
// side, mirrored or not, with a blend graphic and a translucent mode.
TEST_F(ScaledDrawTest, AClippedDrawEqualsThePartOfTheUncutDraw) {
  std::mt19937 rng(7);
  ASSERT_EQ(CreateMemImg(&source, 7, 5, -1, 0, 1, 0, 0, nullptr), 0);
  FillRandom(source, rng);
  ASSERT_EQ(CreateMemImg(&graphic, 7, 5, -1, 0, 2, 0, 0, nullptr), 0);
  FillRandom(graphic, rng);
  ASSERT_EQ(CreateMemImg(&destination, 64, 64, -1, 0, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&other, 64, 64, -1, 0, 1, 0, 0, nullptr), 0);
  BuildBlendGraphicTable(40, 90);
  gDrawState.blendMode = BlendTranslucent;
  gDrawState.blendParameter = 170;
  const IntRect regions[] = {{9, 0, 64, 64}, {0, 11, 64, 64}, {0, 0, 30, 64}, {0, 0, 64, 20}, {12, 9, 25, 18}};
  const int rects[][4] = {{4, 3, 41, 27}, {41, 3, 4, 27}, {4, 27, 41, 3}, {41, 27, 4, 3}, {4, 3, 8, 5}};
  for (const IntRect& region : regions) {
    for (const auto& r : rects) {
      FillMemImg(&destination, nullptr, 0x10203040);
      FillMemImg(&other, nullptr, 0x10203040);
      gDrawState.drawRegion = {0, 0, 64, 64};
      SoftDrawImageScaled(&destination, &source, r[0], r[1], r[2], r[3], 0, &graphic);
      gDrawState.drawRegion = region;
      SoftDrawImageScaled(&other, &source, r[0], r[1], r[2], r[3], 0, &graphic);
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const bool inside = x >= region.left && x < region.right && y >= region.top && y < region.bottom;
          ASSERT_EQ(Read(other, x, y), inside ? Read(destination, x, y) : 0x10203040u) << x << "," << y;
        }
    }
  }
}

// The same rectangle as the source, unmirrored, is the plain draw, its own
// rules included (the halving at 128).
TEST_F(ScaledDrawTest, TheSourceSizeUnmirroredIsThePlainDraw) {
  std::mt19937 rng(3);
  ASSERT_EQ(CreateMemImg(&source, 9, 6, -1, 0, 1, 0, 0, nullptr), 0);
  FillRandom(source, rng);
  ASSERT_EQ(CreateMemImg(&destination, 32, 32, -1, 0, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&other, 32, 32, -1, 0, 1, 0, 0, nullptr), 0);
  for (int mode : {0, 1, 2, 3, 4, 10, 11}) {
    for (int parameter : {128, 255, 77}) {
      FillRandom(destination, rng);
      std::memcpy(other.store->pixels, destination.store->pixels,
                  static_cast<size_t>(other.store->pitch) * other.store->height);
      gDrawState.blendMode = mode;
      gDrawState.blendParameter = parameter;
      SoftDrawImageScaled(&destination, &source, -2, 5, 7, 11, 1, nullptr);
      SoftDrawImage(&other, &source, -2, 5, 1, nullptr);
      ASSERT_TRUE(SamePixels(destination, other)) << mode << " " << parameter;
    }
  }
}

// Mirroring the rectangle equals drawing a mirrored copy of the source and
// of its blend graphic: the graphic is walked with the source.
TEST_F(ScaledDrawTest, ABlendGraphicMirrorsWithTheSource) {
  std::mt19937 rng(11);
  const int w = 6, h = 4;
  ASSERT_EQ(CreateMemImg(&source, w, h, -1, 0, 1, 0, 0, nullptr), 0);
  FillRandom(source, rng);
  ASSERT_EQ(CreateMemImg(&graphic, w + 2, h + 1, -1, 0, 2, 0, 0, nullptr), 0);
  FillRandom(graphic, rng);
  MemImg flipped{}, flippedGraphic{};
  ASSERT_EQ(CreateMemImg(&flipped, w, h, -1, 0, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&flippedGraphic, w, h, -1, 0, 2, 0, 0, nullptr), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Write(flipped, x, y, Read(source, w - 1 - x, h - 1 - y));
      Write(flippedGraphic, x, y, Read(graphic, w - 1 - x, h - 1 - y));
    }
  ASSERT_EQ(CreateMemImg(&destination, 40, 40, -1, 0, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&other, 40, 40, -1, 0, 1, 0, 0, nullptr), 0);
  BuildBlendGraphicTable(10, 200);
  for (int mode : {0, 1, 2, 4}) {
    FillMemImg(&destination, nullptr, 0x00808080);
    FillMemImg(&other, nullptr, 0x00808080);
    gDrawState.blendMode = mode;
    gDrawState.blendParameter = 150;
    SoftDrawImageScaled(&destination, &source, 33, 30, 2, 3, 0, &graphic);
    SoftDrawImageScaled(&other, &flipped, 2, 3, 33, 30, 0, &flippedGraphic);
    ASSERT_TRUE(SamePixels(destination, other)) << mode;
  }
  ReleaseMemImg(&flipped);
  ReleaseMemImg(&flippedGraphic);
}

TEST_F(ScaledDrawTest, TheFamilysOwnRules) {
  // No halving at 128: (5, 5, 5) over (7, 7, 7) mixes to 6, top byte kept.
  EXPECT_EQ(DrawTwo(1, Rgb(5, 5, 5, 9), Rgb(7, 7, 7, 3), BlendTranslucent, 128), Rgb(6, 6, 6, 3));
  // No additive path at 255: the packed add with the red carry on top.
  EXPECT_EQ(DrawTwo(1, Rgb(100, 1, 0), Rgb(200, 1, 0, 0x80), BlendAdditive, 255), Rgb(255, 1, 0, 1));
  // Subtractive at 255: bytewise with the MMX-usable flag, packed without.
  EXPECT_EQ(DrawTwo(1, Rgb(0, 0, 0, 0x30), Rgb(30, 20, 10, 0x80), BlendSubtractive, 255), Rgb(30, 20, 10, 0x50));
  gPlatform.mmxUsable = 0;
  EXPECT_EQ(DrawTwo(1, Rgb(0, 0, 0, 0x30), Rgb(30, 20, 10, 0x80), BlendSubtractive, 255), Rgb(31, 21, 10, 0));
  gPlatform.mmxUsable = 1;
  // An alpha copy without the flag mixes by alpha; with it alpha 255 copies.
  EXPECT_EQ(DrawTwo(1, 0xFFFFFFFF, Rgb(0, 0, 0, 0x12), BlendCopy, 0, true, 0), Rgb(254, 254, 254, 0x12));
  EXPECT_EQ(DrawTwo(1, 0xFFFFFFFF, Rgb(0, 0, 0, 0x12), BlendCopy, 0, true, 1), 0xFFFFFFFFu);
  // Alpha 0 under the flag is skipped in every mode, multiply included.
  EXPECT_EQ(DrawTwo(1, Rgb(9, 9, 9, 0), Rgb(50, 60, 70, 1), BlendMultiply, 0, true, 1), Rgb(50, 60, 70, 1));
  EXPECT_EQ(DrawTwo(0, 0x0000, 0xABCD, BlendMultiply, 0, true, 1), 0xABCDu);
  // 16 bits: the table mix for every parameter, no lerp slab or halving.
  EXPECT_EQ(DrawTwo(0, 0xFFFF, 0x0000, BlendTranslucent, 100), 0x630Cu);
  EXPECT_EQ(DrawTwo(0, 0xFFFF, 0x0000, BlendTranslucent, 128), 0x7BEFu);
  EXPECT_EQ(DrawTwo(0, 0x0821, 0x0821, BlendTranslucent, 128), 0x0821u);
  // 16 bits at 255: the one-pixel forms.
  EXPECT_EQ(DrawTwo(0, 0x0821, 0x0821, BlendAdditive, 255), 0x0822u);
  EXPECT_EQ(DrawTwo(0, 0x0000, 0xFFFF, BlendSubtractive, 255), 0xFFDFu);
  // A keyed source pixel leaves every pixel it covers; the key is all 32 bits.
  EXPECT_EQ(DrawTwo(1, 0x11223344, 0x55555555, BlendCopy, 0, false, 1, 0x11223344), 0x55555555u);
  EXPECT_EQ(DrawTwo(1, 0x11223344, 0x55555555, BlendCopy, 0, false, 1, 0x10223344), 0x11223344u);
  // Modes without loops and the parameter exits draw nothing.
  for (const auto& [mode, parameter] : {std::pair{5, 9}, {12, 9}, {1, 0}, {2, 0}, {3, 0}})
    EXPECT_EQ(DrawTwo(1, 0x11223344, 0x55555555, mode, parameter), 0x55555555u) << mode;
}

TEST_F(ScaledDrawTest, APaletteSourceWithItsCreationKeySkipsNoIndex) {
  ASSERT_EQ(CreateMemImg(&destination, 8, 8, -1, 0, 1, 0, 0, nullptr), 0);
  FillMemImg(&destination, nullptr, 0x01010101);
  ASSERT_EQ(CreateMemImg(&source, 2, 1, -1, 0xFFFF, 1, 1, 0, nullptr), 0);
  Write(source, 0, 0, 255);
  Write(source, 1, 0, 3);
  std::memcpy(source.store->palette + 4 * 255, "\x10\x20\x30\x00", 4);
  std::memcpy(source.store->palette + 4 * 3, "\x01\x02\x03\x00", 4);
  SoftDrawImageScaled(&destination, &source, 0, 0, 4, 1, 1, nullptr);
  EXPECT_EQ(Read(destination, 1, 0), 0x00302010u);
  EXPECT_EQ(Read(destination, 3, 0), 0x00030201u);
  // With the key on index 3 its two pixels stay.
  source.store->colorKey = 3;
  FillMemImg(&destination, nullptr, 0x01010101);
  SoftDrawImageScaled(&destination, &source, 4, 0, 0, 1, 1, nullptr);
  EXPECT_EQ(Read(destination, 0, 0), 0x01010101u);
  EXPECT_EQ(Read(destination, 3, 0), 0x00302010u);
}

// Each refusal leaves the destination as it was, and none reads or
// writes outside an image (the sanitizer builds watch).
TEST_F(ScaledDrawTest, RefusalsLeaveTheDestination) {
  std::mt19937 rng(5);
  ASSERT_EQ(CreateMemImg(&destination, 16, 16, -1, 0, 1, 0, 0, nullptr), 0);
  FillRandom(destination, rng);
  ASSERT_EQ(CreateMemImg(&other, 16, 16, -1, 0, 1, 0, 0, nullptr), 0);
  std::memcpy(other.store->pixels, destination.store->pixels, static_cast<size_t>(other.store->pitch) * 16);
  ASSERT_EQ(CreateMemImg(&source, 4, 4, -1, 0, 1, 0, 0, nullptr), 0);
  FillRandom(source, rng);
  gDrawState.drawRegion = {0, 0, 16, 16};

  // A view without pixels.
  MemImg empty{};
  MakeMemImgView(&empty, &source, 1, 1, 0, 3);
  ASSERT_TRUE(IsMemImgValid(&empty));
  SoftDrawImageScaled(&destination, &empty, 0, 0, 8, 8, 0, nullptr);
  ReleaseMemImg(&empty);
  MakeMemImgView(&empty, &source, 1, 1, 3, 0);
  SoftDrawImageScaled(&destination, &empty, 0, 0, 8, 8, 0, nullptr);
  ReleaseMemImg(&empty);
  // Sides of 65536 and more (their low 16 bits are 0 or small).
  SoftDrawImageScaled(&destination, &source, 0, 0, 65536, 8, 0, nullptr);
  SoftDrawImageScaled(&destination, &source, -65536, 0, 1, 8, 0, nullptr);
  SoftDrawImageScaled(&destination, &source, 0, 0, 8, 65540, 0, nullptr);
  SoftDrawImageScaled(&destination, &source, -2147483647 - 1, 0, 2147483647, 8, 0, nullptr);
  // A source row of 65536 pixels or more.
  MemImg longRow{};
  ASSERT_EQ(CreateMemImg(&longRow, 100000, 1, -1, 0, 1, 0, 0, nullptr), 0);
  SoftDrawImageScaled(&destination, &longRow, 0, 0, 3, 1, 0, nullptr);
  SoftDrawImageScaled(&destination, &longRow, 0, 0, 1, 1, 0, nullptr);
  ReleaseMemImg(&longRow);
  // A blend graphic smaller than the source, or not one byte a pixel.
  ASSERT_EQ(CreateMemImg(&graphic, 4, 3, -1, 0, 2, 0, 0, nullptr), 0);
  SoftDrawImageScaled(&destination, &source, 0, 0, 8, 8, 0, &graphic);
  ReleaseMemImg(&graphic);
  ASSERT_EQ(CreateMemImg(&graphic, 4, 4, -1, 0, 1, 0, 0, nullptr), 0);
  SoftDrawImageScaled(&destination, &source, 0, 0, 8, 8, 0, &graphic);
  ASSERT_TRUE(SamePixels(destination, other));

  // A destination of another pixel type, with a palette or with alpha.
  MemImg narrow{}, paletted{}, alpha{};
  ASSERT_EQ(CreateMemImg(&narrow, 2, 2, -1, 0, 0, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&paletted, 2, 2, -1, 0, 1, 1, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&alpha, 2, 2, -1, 0, 1, 0, 1, nullptr), 0);
  for (MemImg* m : {&narrow, &paletted, &alpha}) {
    FillMemImg(m, nullptr, 0x5A5A5A5A);
    const std::vector<uint8_t> before(m->store->pixels, m->store->pixels + m->store->pitch * 2);
    gDrawState.drawRegion = {0, 0, 64, 64};
    SoftDrawImageScaled(m, &source, 0, 0, 3, 2, 0, nullptr);
    SoftDrawImageScaled(m, &source, 0, 0, 64, 64, 0, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(m->store->pixels, m->store->pixels + m->store->pitch * 2), before);
    ReleaseMemImg(m);
  }
}

// Magnifications of 32768 and more and cuts of 32768 and more columns need
// phases wider than 32 bits; the walk is still the closed form.
TEST_F(ScaledDrawTest, WideMagnificationsAndLongCutsFollowTheClosedForm) {
  std::mt19937 rng(9);
  ASSERT_EQ(CreateMemImg(&source, 3, 2, -1, 0, 1, 0, 0, nullptr), 0);
  FillRandom(source, rng);
  ASSERT_EQ(CreateMemImg(&destination, 32, 8, -1, 0, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&other, 32, 8, -1, 0, 1, 0, 0, nullptr), 0);
  MemImg one{};
  MakeMemImgView(&one, &source, 1, 1, 1, 1);
  gDrawState.drawRegion = {0, 0, 32, 8};
  const struct {
    const MemImg* image;
    int x1, y1, x2, y2;
  } cases[] = {
      {&one, -40000, 0, 20000, 8},     // one pixel 60000 wide: 60000 x 65536 passes 2^31
      {&source, -40000, 0, 25000, 8},  // 40000 columns cut at the left
      {&source, 25000, 0, -40000, 8},  // the same, mirrored
      {&source, 0, -50000, 9, 15000},  // rows alike
  };
  for (const auto& c : cases) {
    FillMemImg(&destination, nullptr, 0x77777777);
    FillMemImg(&other, nullptr, 0x77777777);
    SoftDrawImageScaled(&destination, c.image, c.x1, c.y1, c.x2, c.y2, 0, nullptr);
    ReferenceSoftDrawImageScaled(&other, c.image, c.x1, c.y1, c.x2, c.y2, 0, nullptr, gDrawState,
                                 gSoftBlendTables.blendGraphic, true);
    EXPECT_TRUE(SamePixels(destination, other)) << c.x1;
    EXPECT_NE(Read(destination, 5, 7), 0x77777777u) << c.x1;
  }
  ReleaseMemImg(&one);
}

}  // namespace
