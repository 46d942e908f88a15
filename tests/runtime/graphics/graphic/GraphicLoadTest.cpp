#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/graphics/graphic/GraphicFileLoad.h"
#include "runtime/graphics/graphic/GraphicFromImage.h"
#include "runtime/graphics/graphic/GraphicsLifeCycle.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "runtime/softrender/MemImgTransfer.h"
#include "tests/support/TestDirectory.h"

namespace {

// Every open of the installed file table, by name.
std::vector<std::string> gOpened;
FileAccessTable gInner;

FileHandle CountingOpen(const char* name, int cacheFlag, int unused, int threadFlag) {
  gOpened.emplace_back(name);
  return gInner.open(name, cacheFlag, unused, threadFlag);
}

// An RGB PNG whose pixel (x, y) is (x * 4, y * 4, 0x40).
std::string GradientPng(uint32_t width, uint32_t height) {
  PngFixtureFields f;
  f.width = width;
  f.height = height;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      f.rows += static_cast<char>(x * 4);
      f.rows += static_cast<char>(y * 4);
      f.rows += static_cast<char>(0x40);
    }
  }
  return EncodePngFixture(f);
}

uint32_t Gradient(int x, int y) { return (static_cast<uint32_t>(x * 4) << 16) | (static_cast<uint32_t>(y * 4) << 8) | 0x40; }

// A grey PNG: the alpha companion.
std::string GreyPng(uint32_t width, uint32_t height, uint8_t level) {
  PngFixtureFields f;
  f.width = width;
  f.height = height;
  f.colourType = 0;
  f.rows.assign(static_cast<size_t>(width) * height, static_cast<char>(level));
  return EncodePngFixture(f);
}

class GraphicLoadTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start(32);
    SetDrawTarget(kBackScreen);
    gOpened.clear();
  }
  void TearDown() override {
    InstallFileAccessTable(nullptr);
    GraphicsFixture::TearDown();
  }

  void CountOpens() {
    gInner = ArchiveAwareFileTable();
    FileAccessTable counting = gInner;
    counting.open = CountingOpen;
    InstallFileAccessTable(&counting);
    gOpened.clear();
  }

  int OpensOf(const std::string& name) const {
    int n = 0;
    for (const std::string& opened : gOpened) n += opened == name ? 1 : 0;
    return n;
  }

  // A pixel of the graphic's own rectangle, 0x00RRGGBB (or the index of a
  // palette graphic).
  static uint32_t GraphicPixel(int graphic, int x, int y) {
    const GraphicEntry* g = GetGraphicRecord(graphic);
    Surface2DImage part(GetSurface2D(g->parts[0]));
    const MemImg* image = part.Get();
    const int bytes = MemImgBytesPerPixel(image->store);
    const uint8_t* at = image->pixels + static_cast<size_t>(y) * image->store->pitch + static_cast<size_t>(x) * bytes;
    const uint32_t value = LoadPixelBytes(at, bytes);
    return bytes == 4 ? value & 0xFFFFFF : value;
  }

  bool Logged(const std::string& line) const {
    for (const std::string& l : NewLogLines()) {
      if (l.find(line) != std::string::npos) return true;
    }
    return false;
  }
};

TEST_F(GraphicLoadTest, APngLoadsWithItsCompanionAsAlphaAndWithoutOneOpaque) {
  dir.Write("pic.png", GradientPng(8, 6));
  const int plain = LoadGraphicFile("pic.png", 1);
  ASSERT_GE(plain, 0);
  const GraphicEntry* g = GetGraphicRecord(plain);
  EXPECT_EQ(g->width, 8);
  EXPECT_EQ(g->height, 6);
  EXPECT_EQ(g->format.alphaChannel, 0);
  EXPECT_STREQ(g->fileName, "pic.png");
  EXPECT_EQ(GraphicPixel(plain, 0, 0), Gradient(0, 0));
  EXPECT_EQ(GraphicPixel(plain, 7, 5), Gradient(7, 5));

  dir.Write("pic_a.png", GreyPng(8, 6, 0x80));
  const int withAlpha = LoadGraphicFile("pic.png", 1);
  ASSERT_GE(withAlpha, 0);
  EXPECT_EQ(GetGraphicRecord(withAlpha)->format.alphaChannel, 1);
}

TEST_F(GraphicLoadTest, LoadsFromAnArchiveWithAndWithoutCompanion) {
  ArchiveWriter writer;
  writer.AddFile("Pic\\one.png", GradientPng(5, 4), true);
  writer.AddFile("Pic\\two.png", GradientPng(6, 3));
  writer.AddFile("Pic\\two_a.png", GreyPng(6, 3, 0xFF));
  dir.Write("Data.mva", writer.Build());
  ResetArchiveState();

  const int one = LoadGraphicFile("Data\\Pic\\one.png", 1);
  ASSERT_GE(one, 0);
  EXPECT_EQ(GetGraphicRecord(one)->format.alphaChannel, 0);
  EXPECT_EQ(GraphicPixel(one, 4, 3), Gradient(4, 3));
  const int two = LoadGraphicFile("data\\PIC\\two.png", 1);
  ASSERT_GE(two, 0);
  EXPECT_EQ(GetGraphicRecord(two)->format.alphaChannel, 1);
  EXPECT_EQ(GetGraphicRecord(two)->width, 6);
}

TEST_F(GraphicLoadTest, MissingAndUnreadableFilesAreLogged) {
  EXPECT_EQ(LoadGraphicFile("nothing.png", 1), -1);
  dir.Write("note.txt", "this is no picture at all\r\n");
  EXPECT_EQ(LoadGraphicFile("note.txt", 1), -1);
  EXPECT_TRUE(Logged("グラフィックファイル nothing.png がありません"));
  EXPECT_TRUE(Logged("右記のグラフィックファイルのロードに失敗しました：note.txt "));
  EXPECT_EQ(GetGraphicCount(), 0);
}

TEST_F(GraphicLoadTest, LoadingNeedsTheGraphicsStarted) {
  dir.Write("pic.png", GradientPng(2, 2));
  EndGraphics();
  EXPECT_EQ(LoadGraphicFile("pic.png", 1), -1);
  InitGraphics();
  EXPECT_GE(LoadGraphicFile("pic.png", 1), 0);
}

TEST_F(GraphicLoadTest, TheForcedLoadMakesABlendImageAndPutsTheSettingBack) {
  dir.Write("pic.png", GradientPng(4, 4));
  const int graphic = LoadGraphicFileForced("pic.png");
  ASSERT_GE(graphic, 0);
  EXPECT_EQ(GetGraphicRecord(graphic)->blendImageSetting, 1);
  EXPECT_EQ(gDrawState.createBlendGraphicImage, 0);
}

TEST_F(GraphicLoadTest, FromMemoryWithAndWithoutAlphaBuffer) {
  const std::string png = GradientPng(3, 3);
  const std::string grey = GreyPng(3, 3, 0x10);
  const int plain = CreateGraphicFromImage(png.data(), static_cast<uint32_t>(png.size()), nullptr, 0, 1, 0);
  ASSERT_GE(plain, 0);
  EXPECT_EQ(GetGraphicRecord(plain)->format.alphaChannel, 0);
  EXPECT_EQ(GetGraphicRecord(plain)->fileName[0], '\0');
  EXPECT_EQ(GraphicPixel(plain, 2, 1), Gradient(2, 1));
  const int alpha = CreateGraphicFromImage(png.data(), static_cast<uint32_t>(png.size()), grey.data(),
                                           static_cast<uint32_t>(grey.size()), 1, 0);
  ASSERT_GE(alpha, 0);
  EXPECT_EQ(GetGraphicRecord(alpha)->format.alphaChannel, 1);
  EXPECT_EQ(CreateGraphicFromImage("junk", 4, nullptr, 0, 1, 0), -1);
}

TEST_F(GraphicLoadTest, AfterALossTenDerivedGraphicsCostOneRead) {
  dir.Write("sheet.png", GradientPng(40, 8));
  const int sheet = LoadGraphicFile("sheet.png", 1);
  ASSERT_GE(sheet, 0);
  std::vector<int> cells;
  for (int i = 0; i < 10; ++i) cells.push_back(DeriveGraphic(i * 4, 2, 4, 4, sheet));
  FillGraphic(sheet, 0, 0, 0, 0);
  ASSERT_EQ(GraphicPixel(cells[9], 3, 3), 0u);

  CountOpens();
  ASSERT_EQ(ReinitGraphics(), 0);  // the full-screen window came back
  EXPECT_EQ(OpensOf("sheet.png"), 1);
  EXPECT_EQ(GraphicPixel(sheet, 39, 7), Gradient(39, 7));
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(GraphicPixel(cells[i], 3, 1), Gradient(i * 4 + 3, 3)) << i;
    EXPECT_EQ(GetGraphicRecord(cells[i])->restorePending, 0);
  }
  EXPECT_TRUE(Logged("グラフィックを復帰します"));
}

TEST_F(GraphicLoadTest, ADeletedSourceIsSkippedOnceAndKeepsItsPixels) {
  dir.Write("gone.png", GradientPng(4, 4));
  dir.Write("kept.png", GradientPng(4, 4));
  const int gone = LoadGraphicFile("gone.png", 1);
  const int kept = LoadGraphicFile("kept.png", 1);
  ASSERT_GE(kept, 0);
  std::remove(dir.File("gone.png").c_str());
  FillGraphic(gone, 0, 0, 0xFF, 0);
  FillGraphic(kept, 0, 0, 0xFF, 0);
  CountOpens();
  RunGraphicsRestore();
  EXPECT_EQ(OpensOf("gone.png"), 1);
  EXPECT_EQ(GetGraphicRecord(gone)->restorePending, 0);
  EXPECT_EQ(GraphicPixel(gone, 1, 1), 0x0000FFu);
  EXPECT_EQ(GraphicPixel(kept, 1, 1), Gradient(1, 1));
}

TEST_F(GraphicLoadTest, AReplacedSmallerFileIsCutToTheImage) {
  dir.Write("big.png", GradientPng(32, 32));
  const int big = LoadGraphicFile("big.png", 1);
  const int corner = DeriveGraphic(24, 24, 8, 8, big);
  ASSERT_GE(corner, 0);
  dir.Write("big.png", GradientPng(28, 26));
  FillGraphic(big, 0, 0xFF, 0, 0);
  RunGraphicsRestore();
  EXPECT_EQ(GraphicPixel(big, 27, 25), Gradient(27, 25));
  EXPECT_EQ(GraphicPixel(big, 28, 25), 0x00FF00u);
  EXPECT_EQ(GraphicPixel(corner, 3, 1), Gradient(27, 25));
  EXPECT_EQ(GraphicPixel(corner, 4, 1), 0x00FF00u);
  EXPECT_EQ(GraphicPixel(corner, 3, 2), 0x00FF00u);
}

TEST_F(GraphicLoadTest, TheRegisteredHandlerRunsAfterTheLayersReload) {
  static int calls = 0;
  calls = 0;
  dir.Write("pic.png", GradientPng(4, 4));
  const int graphic = LoadGraphicFile("pic.png", 1);
  SetGraphicsRestoreHandler([] { ++calls; });
  FillGraphic(graphic, 0, 0, 0, 0);
  RunGraphicsRestore();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(GraphicPixel(graphic, 2, 2), Gradient(2, 2));
  SetGraphicsRestoreHandler(nullptr);
}

TEST_F(GraphicLoadTest, ARectangleHalfOutsideTheGraphicCopiesOnlyWhatLiesInside) {
  const int graphic = CreateBlankGraphic(16, 16, 1);
  FillGraphic(graphic, 0, 0, 0xFF, 0);
  GraphImage image = {};
  ASSERT_EQ(CreateXrgbGraphImage(8, 8, &image), 0);
  FillGraphImage(&image, 0xFF, 0, 0, 255);
  EXPECT_EQ(TransferImageRectToGraphic(image, nullptr, nullptr, IntRect{0, 0, 8, 8}, 12, -4, graphic, 0), 0);
  EXPECT_EQ(TransferImageRectToGraphic(image, nullptr, nullptr, IntRect{4, 4, 40, 40}, -2, 14, graphic, 0), 0);
  FreeGraphImage(&image);
  EXPECT_EQ(GraphicPixel(graphic, 12, 0), 0xFF0000u);
  EXPECT_EQ(GraphicPixel(graphic, 15, 3), 0xFF0000u);
  EXPECT_EQ(GraphicPixel(graphic, 15, 4), 0x0000FFu);
  EXPECT_EQ(GraphicPixel(graphic, 11, 0), 0x0000FFu);
  EXPECT_EQ(GraphicPixel(graphic, 0, 14), 0xFF0000u);
  EXPECT_EQ(GraphicPixel(graphic, 1, 15), 0xFF0000u);
  EXPECT_EQ(GraphicPixel(graphic, 2, 15), 0x0000FFu);
}

TEST_F(GraphicLoadTest, APaletteGraphicTakesTheTransparentColoursEntryAsKey) {
  BmpFileFields f;
  f.width = 4;
  f.height = 1;
  f.bitCount = 8;
  f.palette.assign(256, 0x111111);  // the reader wants every entry of the depth
  f.palette[1] = 0xFF00FF;
  f.palette[7] = 0xFF00FF;
  f.data = PackBmpRows(8, {{0, 1, 2, 3}});
  dir.Write("pal.bmp", BmpFile(f));
  SetTransparentColor(0xFF, 0, 0xFF);
  const int keyed = LoadGraphicFile("pal.bmp", 1);
  ASSERT_GE(keyed, 0);
  ASSERT_EQ(GetGraphicRecord(keyed)->format.paletteImage, 1);
  const Surface2D* s = GetSurface2D(GetGraphicRecord(keyed)->parts[0]);
  EXPECT_EQ(GetImageRecord(s->imageRecord)->image.store->colorKey, 1u);
  // Not in the palette: index 0 becomes transparent.
  SetTransparentColor(1, 2, 3);
  const int other = LoadGraphicFile("pal.bmp", 1);
  const Surface2D* t = GetSurface2D(GetGraphicRecord(other)->parts[0]);
  EXPECT_EQ(GetImageRecord(t->imageRecord)->image.store->colorKey, 0u);
}

}  // namespace

namespace {

// The transfer into a store without alpha skips the key handling (it has no
// alpha to give): the pixels must be those the keyed conversion writes.
TEST(ImageTransferKey, AStoreWithoutAlphaGetsTheKeyedConversionsPixels) {
  for (int type : {MemImgRgb565, MemImgXrgb8888}) {
    GraphImage image = {};
    ASSERT_EQ(CreateRgb24GraphImage(19, 7, &image), 0);
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 19; ++x) SetGraphImagePixel(&image, x, y, x * 13, y * 37, (x * y) & 0xFF, 255);
    }
    SetGraphImagePixel(&image, 3, 3, 0xFF, 0, 0xFF, 255);
    MemImg keyed = {};
    MemImg plain = {};
    ASSERT_EQ(CreateMemImg(&keyed, 19, 7, -1, 0xF81F, type, 0, 0, nullptr), 0);
    ASSERT_EQ(CreateMemImg(&plain, 19, 7, -1, 0xF81F, type, 0, 0, nullptr), 0);
    FillMemImg(&keyed, nullptr, 0x12345678);
    FillMemImg(&plain, nullptr, 0x12345678);
    ASSERT_EQ(TransferGraphImageToMemImg(image, nullptr, &keyed, 0, 0, 19, 7, 0, 0, 1), 0);
    ASSERT_EQ(TransferGraphImageToMemImg(image, nullptr, &plain, 0, 0, 19, 7, 0, 0, 0), 0);
    for (int y = 0; y < 7; ++y) {
      EXPECT_EQ(std::memcmp(keyed.pixels + static_cast<size_t>(y) * keyed.store->pitch,
                            plain.pixels + static_cast<size_t>(y) * plain.store->pitch,
                            static_cast<size_t>(19) * MemImgBytesPerPixel(keyed.store)),
                0)
          << type << " row " << y;
    }
    ReleaseMemImg(&keyed);
    ReleaseMemImg(&plain);
    FreeGraphImage(&image);
  }
}

}  // namespace
