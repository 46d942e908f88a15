#include <gtest/gtest.h>

#include <cstring>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/MemImgTransfer.h"

namespace {

class MemImgTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(TrackedBlockCount(), 0) << "blocks left behind"; }
};

TEST_F(MemImgTest, AutomaticPitchRoundsRowsTo16Bytes) {
  struct Case {
    int width, pitch, type, want;
  } cases[] = {{10, -1, 1, 48}, {16, -1, 1, 64}, {4, -1, 0, 16}, {17, -1, 0, 48}, {1, -1, 2, 16},
               {0, -1, 1, 0},   {10, 1000, 1, 1000}};
  for (const Case& c : cases) {
    MemImg image{};
    ASSERT_EQ(CreateMemImg(&image, c.width, 2, c.pitch, 0, c.type, 0, 0, nullptr), 0);
    EXPECT_EQ(image.store->pitch, c.want) << c.width;
    ReleaseMemImg(&image);
  }
}

TEST_F(MemImgTest, PitchesThatCannotHoldTheImageAreRefused) {
  struct Case {
    int width, height, pitch, type, want;
  } cases[] = {{10, 2, 4, 1, -1},          {10, 2, 39, 1, -1}, {10, 1, 39, 1, -1}, {10, 2, 40, 1, 0},
               {10, 0, 4, 1, 0},           {0, 2, 0, 1, 0},    {3, 2, 5, 0, -1},   {3, 2, 6, 0, 0},
               {4, 2, 0x40000000, 2, -1},  {4, 2, -2, 1, -1},  {-1, 2, -1, 1, -1}};
  for (const Case& c : cases) {
    MemImg image{};
    const int result = CreateMemImg(&image, c.width, c.height, c.pitch, 0, c.type, 0, 0, nullptr);
    EXPECT_EQ(result, c.want) << c.width << " " << c.height << " " << c.pitch;
    if (result == 0) FillMemImg(&image, nullptr, 0xFFFFFFFF);
    ReleaseMemImg(&image);
  }
}

TEST_F(MemImgTest, FlagsPickTheFormat) {
  MemImg alpha{}, palette{}, single{};
  ASSERT_EQ(CreateMemImg(&alpha, 4, 1, -1, 0, 0, 0, 1, nullptr), 0);
  EXPECT_EQ(MemImgBytesPerPixel(alpha.store), 4);
  EXPECT_EQ(alpha.store->colorFormat->depth, 32);
  EXPECT_EQ(alpha.store->colorFormat->alphaMask, 0x00FF0000u);
  ASSERT_EQ(CreateMemImg(&palette, 4, 1, -1, 0xFFFF, 0, 1, 1, nullptr), 0);
  EXPECT_EQ(palette.store->alphaFlag, 0);
  EXPECT_EQ(MemImgBytesPerPixel(palette.store), 1);
  EXPECT_EQ(palette.store->colorFormat->depth, 8);
  ASSERT_NE(palette.store->palette, nullptr);
  ASSERT_EQ(CreateMemImg(&single, 4, 1, -1, 0, 2, 1, 1, nullptr), 0);
  EXPECT_EQ(single.store->paletteFlag, 0);
  EXPECT_EQ(single.store->alphaFlag, 0);
  EXPECT_EQ(single.store->palette, nullptr);
  ReleaseMemImg(&alpha);
  ReleaseMemImg(&palette);
  ReleaseMemImg(&single);

  EXPECT_EQ(GetMemImgColorFormat(5, 0, 0), nullptr);
  EXPECT_EQ(GetMemImgColorFormat(1, 1, 0), GetMemImgColorFormat(1, 1, 0));
  EXPECT_EQ(GetMemImgColorFormat(1, 0, 0)->unusedMask, 0xFF000000u);
  EXPECT_EQ(GetMemImgColorFormat(3, 1, 1)->redWidth, 16);
  EXPECT_EQ(GetMemImgDDPixelFormat(1, 1, 0)->alphaMask, 0xFF000000u);
  EXPECT_EQ(GetMemImgDDPixelFormat(0, 0, 0)->flags, 0x40u);
  EXPECT_EQ(GetMemImgDDPixelFormat(2, 0, 0)->flags, 0u);
  EXPECT_EQ(GetMemImgDDPixelFormat(2, 0, 0)->blueMask, 0xFFu);
  EXPECT_EQ(GetMemImgDDPixelFormat(4, 0, 0), nullptr);
}

TEST_F(MemImgTest, ValidRecordsAreRefusedAndScreenImagesClearFirst) {
  MemImg image{};
  ASSERT_EQ(CreateMemImg(&image, 4, 4, -1, 0, 1, 0, 0, nullptr), 0);
  MemImgStore* store = image.store;
  EXPECT_EQ(CreateMemImg(&image, 8, 8, -1, 0, 1, 0, 0, nullptr), -1);
  EXPECT_EQ(image.store, store);
  ReleaseMemImg(&image);

  gScreenDevice.depth = 16;
  ASSERT_EQ(CreateScreenMemImg(&image, 4, 4, -1), 0);
  EXPECT_EQ(image.store->pixelType, 0);
  ReleaseMemImg(&image);
  gScreenDevice.depth = 32;
  ASSERT_EQ(CreateScreenMemImg(&image, 4, 4, -1), 0);
  EXPECT_EQ(image.store->pixelType, 1);
  ReleaseMemImg(&image);
  gScreenDevice.depth = 0;
  ASSERT_EQ(CreateDepthMemImg(&image, 4, 4), 0);
  EXPECT_EQ(image.store->pixelType, 3);
  ReleaseMemImg(&image);
}

TEST_F(MemImgTest, FailedAllocationsLeaveNothingBehind) {
  for (int failing = 0; failing < 3; ++failing) {
    MemImg image{};
    SetTrackedAllocFailureCountdown(failing);
    EXPECT_EQ(CreateMemImg(&image, 4, 4, -1, 0, 1, 1, 0, nullptr), -1) << failing;
    SetTrackedAllocFailureCountdown(-1);
    EXPECT_EQ(IsMemImgValid(&image), 0);
    EXPECT_EQ(image.store, nullptr);
    EXPECT_EQ(TrackedBlockCount(), 0);
  }
}

TEST_F(MemImgTest, ViewsShareTheStoreUntilTheLastRelease) {
  MemImg image{}, a{}, b{}, untouched{};
  ASSERT_EQ(CreateMemImg(&image, 5, 4, -1, 0, 1, 0, 0, nullptr), 0);
  MakeMemImgView(&a, &image, 4, 3, 1, 1);
  EXPECT_EQ(IsMemImgValid(&a), 1);
  EXPECT_EQ(a.pixels, image.pixels + 3 * image.store->pitch + 16);
  MakeMemImgView(&untouched, &image, 5, 0, 1, 1);
  EXPECT_EQ(IsMemImgValid(&untouched), 0);
  MakeMemImgView(&b, &image, 0, 0, 0, 0);
  EXPECT_EQ(IsMemImgValid(&b), 1);
  EXPECT_EQ(image.store->useCount, 3);

  ReleaseMemImg(&image);
  EXPECT_EQ(IsMemImgValid(&image), 0);
  a.pixels[0] = 1;  // still alive
  ReleaseMemImg(&a);
  ReleaseMemImg(&a);
  EXPECT_GT(TrackedBlockCount(), 0);
  ReleaseMemImg(&b);
}

TEST_F(MemImgTest, CallerBuffersStayTheCallers) {
  uint8_t buffer[64];
  MemImg image{};
  ASSERT_EQ(CreateMemImg(&image, 4, 2, 32, 0, 1, 0, 0, buffer), 0);
  EXPECT_EQ(image.pixels, buffer);
  ReleaseMemImg(&image);
  EXPECT_EQ(TrackedBlockCount(), 0);
}

TEST_F(MemImgTest, FillClipsToTheView) {
  MemImg image{};
  ASSERT_EQ(CreateMemImg(&image, 4, 2, -1, 0, 0, 0, 0, nullptr), 0);
  FillMemImg(&image, nullptr, 0xABCD1234);
  const IntRect outside{10, 0, 20, 2};
  FillMemImg(&image, &outside, 0);
  const IntRect overhang{2, 1, 9, 9};
  FillMemImg(&image, &overhang, 0x5555);
  uint16_t row1[4];
  std::memcpy(row1, image.pixels + image.store->pitch, 8);
  EXPECT_EQ(row1[0], 0x1234);
  EXPECT_EQ(row1[2], 0x5555);
  EXPECT_EQ(row1[3], 0x5555);
  ReleaseMemImg(&image);
}

// Transfers.

GraphImage PaletteImage(int width, int height) {
  GraphImage image;
  std::memset(&image, 0, sizeof image);
  MakePaletteColorFormat(&image.format);
  image.width = width, image.height = height, image.pitch = width;
  image.pixels = static_cast<uint8_t*>(TrackedAllocZero(static_cast<size_t>(width) * height));
  return image;
}

TEST_F(MemImgTest, PaletteTransferCountsColoursAndConvertsAllEntries) {
  GraphImage image = PaletteImage(4, 2);
  image.pixels[5] = 17;
  image.format.palette[1][0] = 255, image.format.palette[1][1] = 255, image.format.palette[1][2] = 255;
  image.format.palette[2][0] = 7, image.format.palette[2][1] = 3, image.format.palette[2][2] = 7;
  image.format.palette[255][2] = 0x80;

  MemImg p32{}, p16{};
  ASSERT_EQ(CreateMemImg(&p32, 4, 2, -1, 0xFFFF, 1, 1, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&p16, 4, 2, -1, 0xFFFF, 0, 1, 0, nullptr), 0);
  EXPECT_EQ(TransferGraphImageToMemImg(image, nullptr, &p32, 0, 0, 4, 2, 0, 0, 0), 0);
  EXPECT_EQ(p32.store->paletteColorCount, 18);
  uint32_t entry;
  std::memcpy(&entry, p32.store->palette + 4, 4);
  EXPECT_EQ(entry, 0x00FFFFFFu);
  std::memcpy(&entry, p32.store->palette + 4 * 255, 4);
  EXPECT_EQ(entry, 0x00800000u);
  EXPECT_EQ(p32.pixels[p32.store->pitch + 1], 17);

  EXPECT_EQ(TransferGraphImageToMemImg(image, nullptr, &p16, 0, 0, 4, 2, 0, 0, 0), 0);
  uint16_t word;
  std::memcpy(&word, p16.store->palette + 2, 2);
  EXPECT_EQ(word, 0xFFFF);
  std::memcpy(&word, p16.store->palette + 4, 2);
  EXPECT_EQ(word, 0);

  // With an alpha image the count stays, the palette is still converted.
  GraphImage alpha = PaletteImage(4, 2);
  image.format.palette[1][2] = 0;
  p32.store->paletteColorCount = 3;
  EXPECT_EQ(TransferGraphImageToMemImg(image, &alpha, &p32, 0, 0, 4, 2, 0, 0, 0), 0);
  EXPECT_EQ(p32.store->paletteColorCount, 3);
  std::memcpy(&entry, p32.store->palette + 4, 4);
  EXPECT_EQ(entry, 0x0000FFFFu);

  // Width 0: -1 for direct stores, 0 for single-channel ones.
  MemImg direct{}, single{};
  ASSERT_EQ(CreateMemImg(&direct, 4, 2, -1, 0, 1, 0, 0, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&single, 4, 2, -1, 0, 2, 0, 0, nullptr), 0);
  p32.store->paletteColorCount = 3;
  EXPECT_EQ(TransferGraphImageToMemImg(image, nullptr, &p32, 0, 0, 0, 2, 0, 0, 0), -1);
  EXPECT_EQ(p32.store->paletteColorCount, 3);
  EXPECT_EQ(TransferGraphImageToMemImg(image, nullptr, &direct, 0, 0, 0, 2, 0, 0, 0), -1);
  EXPECT_EQ(TransferGraphImageToMemImg(image, nullptr, &single, 0, 0, 0, 2, 0, 0, 0), 0);

  for (MemImg* m : {&p32, &p16, &direct, &single}) ReleaseMemImg(m);
  FreeGraphImage(&image);
  FreeGraphImage(&alpha);
}

TEST_F(MemImgTest, KeyFlagMakesKeyPixelsClear) {
  GraphImage image;
  ASSERT_EQ(CreateXrgbGraphImage(2, 1, &image), 0);
  const uint32_t pixels[2] = {0xFFFE00FE, 0xFF102030};
  std::memcpy(image.pixels, pixels, 8);
  MemImg a32{}, a16{};
  ASSERT_EQ(CreateMemImg(&a32, 2, 1, -1, 0x00FE00FE, 1, 0, 1, nullptr), 0);
  ASSERT_EQ(CreateMemImg(&a16, 2, 1, -1, 0xF81F, 0, 0, 1, nullptr), 0);
  TransferGraphImageToMemImg(image, nullptr, &a32, 0, 0, 2, 1, 0, 0, 1);
  TransferGraphImageToMemImg(image, nullptr, &a16, 0, 0, 2, 1, 0, 0, 1);
  uint32_t got[2];
  std::memcpy(got, a32.pixels, 8);
  EXPECT_EQ(got[0], 0x00FE00FEu);
  EXPECT_EQ(got[1], 0xFF102030u);
  std::memcpy(got, a16.pixels, 8);
  EXPECT_EQ(got[0] & 0x00FF0000, 0u);
  EXPECT_EQ(got[1] & 0x00FF0000, 0x00FF0000u);
  ReleaseMemImg(&a32);
  ReleaseMemImg(&a16);
  FreeGraphImage(&image);
}

TEST_F(MemImgTest, OutOfMemoryImagesAndRectCopies) {
  MemImg screen{}, other{};
  ASSERT_EQ(CreateMemImg(&screen, 3, 2, -1, 0, 1, 0, 0, nullptr), 0);
  FillMemImg(&screen, nullptr, 0x00123456);
  GraphImage out;
  ASSERT_EQ(CreateXrgbGraphImage(3, 2, &out), 0);
  std::memset(out.pixels, 0x11, static_cast<size_t>(out.pitch) * 2);
  TransferMemImgToGraphImage(&out, &screen, 0, 0, 3, 2, 0, 0, 0x00123456, 1);
  EXPECT_EQ(out.pixels[0], 0x11);
  TransferMemImgToGraphImage(&out, &screen, 0, 0, 0, 2, 0, 0, 0, 0);
  EXPECT_EQ(out.pixels[0], 0x11);
  TransferMemImgToGraphImage(&out, &screen, 1, 1, 2, 1, 0, 0, 0, 0);
  uint32_t first;
  std::memcpy(&first, out.pixels, 4);
  EXPECT_EQ(first, 0x00123456u);

  ASSERT_EQ(CreateMemImg(&other, 5, 5, -1, 0, 1, 0, 0, nullptr), 0);
  FillMemImg(&other, nullptr, 0);
  EXPECT_EQ(CopyMemImgRect(&other, &screen, nullptr, 2, 3), 0);
  std::memcpy(&first, other.pixels + 3 * other.store->pitch + 8, 4);
  EXPECT_EQ(first, 0x00123456u);
  const IntRect empty{0, 0, 0, 2};
  EXPECT_EQ(CopyMemImgRect(&other, &screen, &empty, 0, 0), -1);
  ReleaseMemImg(&screen);
  ReleaseMemImg(&other);
  FreeGraphImage(&out);
}

}  // namespace
