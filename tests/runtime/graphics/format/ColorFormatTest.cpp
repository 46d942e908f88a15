#include <gtest/gtest.h>

#include <cstring>

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/DDPixelFormat.h"
#include "runtime/graphics/format/DeviceBitmap.h"
#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/graphics/format/FormatMaking.h"

namespace {

ColorFormat Grey() { return PresetFormat(MakeGreyPaletteColorFormat); }

TEST(ColorFormatTest, MasksGiveWidthsShiftsAndUnusedBits) {
  const ColorFormat rgb565 = FormatFromMasks(16, 0xF800, 0x07E0, 0x001F, 0);
  EXPECT_EQ(rgb565.bytesPerPixel, 2);
  EXPECT_EQ(rgb565.redWidth, 5);
  EXPECT_EQ(rgb565.greenWidth, 6);
  EXPECT_EQ(rgb565.blueWidth, 5);
  EXPECT_EQ(rgb565.alphaWidth, 0);
  EXPECT_EQ(rgb565.redShift, 11);
  EXPECT_EQ(rgb565.greenShift, 5);
  EXPECT_EQ(rgb565.blueShift, 0);
  EXPECT_EQ(rgb565.unusedMask, 0u);
  EXPECT_EQ(rgb565.unusedWidth, 0);

  const ColorFormat rgb555 = FormatFromMasks(16, 0x7C00, 0x03E0, 0x001F, 0);
  EXPECT_EQ(rgb555.unusedMask, 0x8000u);
  EXPECT_EQ(rgb555.unusedShift, 15);
  EXPECT_EQ(rgb555.unusedWidth, 1);

  const ColorFormat xrgb = FormatFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0);
  EXPECT_EQ(xrgb.unusedMask, 0xFF000000u);
  // A mask with a gap counts its lowest run.
  EXPECT_EQ(FormatFromMasks(16, 0xF00F, 0, 0, 0).redWidth, 4);
}

TEST(ColorFormatTest, PresetsAndComparison) {
  const ColorFormat xrgb = PresetFormat(MakeXrgb8ColorFormat);
  const ColorFormat argb = PresetFormat(MakeArgb8ColorFormat);
  const ColorFormat rgb24 = PresetFormat(MakeRgb24ColorFormat);
  EXPECT_EQ(xrgb.unusedMask, 0xFF000000u);
  EXPECT_EQ(xrgb.unusedShift, 24);
  EXPECT_EQ(argb.alphaMask, 0xFF000000u);
  EXPECT_EQ(argb.unusedMask, 0u);
  EXPECT_EQ(rgb24.bytesPerPixel, 3);
  EXPECT_EQ(ColorFormatsEqual(xrgb, FormatFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0)), 1);
  EXPECT_EQ(ColorFormatsEqual(xrgb, argb), 0);

  const ColorFormat grey = Grey();
  EXPECT_EQ(grey.palette[200][0], 200);
  EXPECT_EQ(grey.palette[200][3], 0);

  ColorFormat widths = FormatFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  widths.unusedMask = 0x1234;
  RecomputeUnusedMask(&widths);
  EXPECT_EQ(widths.unusedMask, 0u);
  ColorFormat gap = FormatFromMasks(16, 0x7C00, 0x03E0, 0x001F, 0);
  gap.unusedMask = 0;
  RecomputeUnusedMask(&gap);
  EXPECT_EQ(gap.unusedMask, 0x8000u);
}

TEST(PixelCodecTest, NearestPaletteEntryKeepsTheLowestOnTies) {
  EXPECT_EQ(EncodePixel(Grey(), 200, 100, 50, 0), 117u);
  ColorFormat twins = Grey();
  twins.palette[3][0] = twins.palette[3][1] = twins.palette[3][2] = 10;
  twins.palette[9][0] = twins.palette[9][1] = twins.palette[9][2] = 10;
  EXPECT_EQ(EncodePixel(twins, 10, 10, 10, 0), 3u);
}

TEST(PixelCodecTest, EncodeDecodeAndConvert) {
  const ColorFormat xrgb = PresetFormat(MakeXrgb8ColorFormat);
  const ColorFormat argb = PresetFormat(MakeArgb8ColorFormat);
  EXPECT_EQ(EncodePixel(xrgb, 1, 2, 3, 4), 0xFF010203u);
  EXPECT_EQ(EncodePixel(argb, 1, 2, 3, 4), 0x04010203u);
  const ColorFormat rgb565 = FormatFromMasks(16, 0xF800, 0x07E0, 0x001F, 0);
  EXPECT_EQ(EncodePixel(rgb565, 255, 255, 255, 0), 0xFFFFu);

  int r, g, b, a;
  DecodePixel(rgb565, 0xF81F, &r, &g, &b, &a);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 255);
  EXPECT_EQ(a, 0);
  DecodePixel(rgb565, 16 << 11, &r, nullptr, nullptr, nullptr);
  EXPECT_EQ(r, 16 * 255 / 31);

  // Narrowing drops low bits, widening shifts; no source alpha means full alpha.
  EXPECT_EQ(ConvertPixel(rgb565, argb, 0x80FF8040), 0xFC08u);
  EXPECT_EQ(ConvertPixel(argb, rgb565, 0xFFFF), 0xFFF8FCF8u);
  EXPECT_EQ(ConvertPixel(argb, xrgb, 0x00123456), 0xFF123456u);

  EXPECT_EQ(ScaleChannel(31, 5, 8), 255u);
  EXPECT_EQ(ScaleChannel(16, 5, 8), 131u);
  EXPECT_EQ(ScaleChannel(255, 8, 5), 31u);
  EXPECT_EQ(ScaleChannel(0x87, 8, 5), 16u);
}

class GraphImageTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(TrackedBlockCount(), 0); }
};

TEST_F(GraphImageTest, CreationRoundsThePitchAndFreeClearsTheRecord) {
  GraphImage image;
  ASSERT_EQ(CreateRgb24GraphImage(3, 2, &image), 0);
  EXPECT_EQ(image.pitch, 12);
  FreeGraphImage(&image);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(image.width, 0);

  SetTrackedAllocFailureCountdown(0);
  EXPECT_EQ(CreateXrgbGraphImage(5, 5, &image), -1);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(image.pitch, 20);
}

TEST_F(GraphImageTest, PixelsFillMirrorAndBounds) {
  GraphImage image;
  ASSERT_EQ(CreateArgbGraphImage(3, 2, &image), 0);
  FillGraphImage(&image, 1, 2, 3, 4);
  uint32_t first;
  std::memcpy(&first, image.pixels, 4);
  EXPECT_EQ(first, 0x04010203u);
  EXPECT_EQ(SetGraphImagePixel(&image, 3, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(SetGraphImagePixel(&image, -1, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(SetGraphImagePixel(&image, 0, 1, 10, 20, 30, 40), 0);
  EXPECT_EQ(SetGraphImagePixel(&image, 2, 1, 50, 60, 70, 80), 0);
  MirrorGraphImage(&image);
  int r, g, b, a;
  ASSERT_EQ(GetGraphImagePixel(image, 0, 1, &r, &g, &b, &a), 0);
  EXPECT_EQ(r, 50);
  EXPECT_EQ(g, 60);
  EXPECT_EQ(b, 70);
  EXPECT_EQ(a, 80);
  EXPECT_EQ(GetGraphImagePixelPacked(image, 2, 1), 0x280A141Eu);
  EXPECT_EQ(GetGraphImagePixel(image, 0, 2, &r, &g, &b, &a), -1);
  FreeGraphImage(&image);
}

TEST_F(GraphImageTest, DibFromImages) {
  GraphImage image;
  ASSERT_EQ(CreateRgb24GraphImage(4, 2, &image), 0);
  DibInfo info;
  uint8_t* pixels = nullptr;
  EXPECT_EQ(GraphImageToDib(image, &info, &pixels), 0);
  EXPECT_EQ(pixels, image.pixels);
  EXPECT_EQ(info.header.height, -2);
  EXPECT_EQ(info.header.bitCount, 24);
  FreeGraphImage(&image);

  // Width 3 with a tight pitch of 9: rows are copied into 12-byte rows.
  ASSERT_EQ(CreateRgb24GraphImage(3, 2, &image), 0);
  image.pitch = 9;
  for (int i = 0; i < 18; ++i) image.pixels[i] = static_cast<uint8_t>(i + 1);
  ASSERT_EQ(GraphImageToDib(image, &info, &pixels), 1);
  EXPECT_EQ(pixels[0], 1);
  EXPECT_EQ(pixels[12], 10);
  EXPECT_EQ(pixels[20], 18);

  HostBitmap* bitmap = CreateDIBGraph(info, pixels);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->stride, 12);
  EXPECT_EQ(bitmap->pixels[12], 10);
  HostDeleteBitmap(bitmap);
  TrackedFree(pixels);
  FreeGraphImage(&image);

  // Any other format is converted to 24 bits.
  ASSERT_EQ(CreateArgbGraphImage(2, 1, &image), 0);
  FillGraphImage(&image, 9, 8, 7, 6);
  ASSERT_EQ(GraphImageToDib(image, &info, &pixels), 1);
  EXPECT_EQ(pixels[0], 7);
  EXPECT_EQ(pixels[1], 8);
  EXPECT_EQ(pixels[2], 9);
  EXPECT_EQ(pixels[3], 7);
  TrackedFree(pixels);
  FreeGraphImage(&image);
}

TEST(ClipRectTest, ClampsAndNeverInverts) {
  struct Case {
    IntRect rect, clip, want;
  } cases[] = {
      {{-5, -5, 5, 5}, {0, 0, 10, 10}, {0, 0, 5, 5}},
      {{20, 3, 30, 4}, {0, 0, 10, 10}, {10, 3, 10, 4}},
      {{5, 5, 2, 1}, {0, 0, 10, 10}, {5, 5, 5, 5}},
      {{-9, -9, -1, -1}, {0, 0, 10, 10}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    IntRect r = c.rect;
    EXPECT_EQ(ClipRect(&r, c.clip), 0);
    EXPECT_EQ(r.left, c.want.left);
    EXPECT_EQ(r.top, c.want.top);
    EXPECT_EQ(r.right, c.want.right);
    EXPECT_EQ(r.bottom, c.want.bottom);
  }
}

TEST(DDPixelFormatTest, DescribesAnRgbFormat) {
  DDPixelFormat f;
  std::memset(&f, 0xAB, sizeof f);
  FillDDPixelFormat(&f, 16, 0xF800, 0x07E0, 0x001F, 0);
  EXPECT_EQ(f.size, 32u);
  EXPECT_EQ(f.flags, 0x40u);
  EXPECT_EQ(f.fourCC, 0u);
  EXPECT_EQ(f.rgbBitCount, 16u);
  EXPECT_EQ(f.greenMask, 0x07E0u);
}

}  // namespace
