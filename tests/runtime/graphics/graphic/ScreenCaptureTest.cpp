#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "runtime/graphics/graphic/DrawOperations.h"
#include "runtime/graphics/graphic/ScreenCapture.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/TestDirectory.h"

namespace {

class ScreenCaptureTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start(32);
    SetDrawTarget(kBackScreen);
    ClearDrawTarget();
    // A pattern on the back screen: (x, y) holds (x & 0xFF, y & 0xFF, 0x33).
    MemImg& back = gScreen.back;
    for (int y = 0; y < back.height; ++y) {
      for (int x = 0; x < back.width; ++x) {
        StorePixelBytes(back.pixels + static_cast<size_t>(y) * back.store->pitch + static_cast<size_t>(x) * 4, 4,
                        Pattern(x, y));
      }
    }
  }
  void TearDown() override {
    SetTrackedAllocFailureCountdown(-1);
    GraphicsFixture::TearDown();
  }

  static uint32_t Pattern(int x, int y) {
    return (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) | 0x33;
  }

  static uint32_t GraphicPixel(int graphic, int x, int y) {
    Surface2DImage part(GetSurface2D(GetGraphicRecord(graphic)->parts[0]));
    const MemImg* image = part.Get();
    return LoadPixelBytes(image->pixels + static_cast<size_t>(y) * image->store->pitch + static_cast<size_t>(x) * 4,
                          4) &
           0xFFFFFF;
  }
};

TEST_F(ScreenCaptureTest, ARectangleOfTheTargetFillsAGraphicOfItsSize) {
  const int graphic = CreateBlankGraphic(64, 64, 1);
  EXPECT_EQ(CaptureScreenToGraphic(100, 50, 164, 114, graphic), 0);
  EXPECT_EQ(GraphicPixel(graphic, 0, 0), Pattern(100, 50));
  EXPECT_EQ(GraphicPixel(graphic, 63, 63), Pattern(163, 113));
  // Wrong size, outside the target, a bad graphic.
  EXPECT_EQ(CaptureScreenToGraphic(0, 0, 64, 63, graphic), -1);
  EXPECT_EQ(CaptureScreenToGraphic(-1, 0, 63, 64, graphic), -1);
  EXPECT_EQ(CaptureScreenToGraphic(600, 0, 664, 64, graphic), -1);
  EXPECT_EQ(CaptureScreenToGraphic(0, 0, 64, 64, graphic + 1), -1);
}

TEST_F(ScreenCaptureTest, ADerivedGraphicReceivesTheCaptureInItsOwnRectangle) {
  const int parent = CreateBlankGraphic(32, 32, 1);
  FillGraphic(parent, 0, 0, 0xFF, 0);
  const int derived = DeriveGraphic(16, 8, 8, 8, parent);
  ASSERT_EQ(CaptureScreenToGraphic(10, 20, 18, 28, derived), 0);
  EXPECT_EQ(GraphicPixel(parent, 16, 8), Pattern(10, 20));
  EXPECT_EQ(GraphicPixel(parent, 23, 15), Pattern(17, 27));
  EXPECT_EQ(GraphicPixel(parent, 0, 0), 0x0000FFu) << "the parent's corner stays";
  EXPECT_EQ(GraphicPixel(parent, 15, 8), 0x0000FFu);
}

TEST_F(ScreenCaptureTest, CaptureFromTheFrontScreenReadsTheWindowBackFirst) {
  FlipScreen();  // the window now shows the pattern; the front image lags
  SetDrawTarget(kFrontScreen);
  const int graphic = CreateBlankGraphic(4, 4, 1);
  ASSERT_EQ(CaptureScreenToGraphic(300, 200, 304, 204, graphic), 0);
  EXPECT_EQ(GraphicPixel(graphic, 3, 3), Pattern(303, 203));
}

// Reads a saved file back as 0x00RRGGBB pixels.
GraphImage ReadBack(const std::string& path) {
  GraphImage image = {};
  EXPECT_EQ(LoadImageFile(path.c_str(), nullptr, 0, 0, 0, &image), 0) << path;
  return image;
}

TEST_F(ScreenCaptureTest, TheSavedRectangleIsClippedToTheDrawRegion) {
  SetDrawRegion(100, 100, 200, 200);
  ASSERT_EQ(SaveScreenImage(0, 0, 640, 480, "shot.png", 0), 0);
  GraphImage image = ReadBack(dir.File("shot.png"));
  EXPECT_EQ(image.width, 100);
  EXPECT_EQ(image.height, 100);
  EXPECT_EQ(GetGraphImagePixelPacked(image, 0, 0) & 0xFFFFFF, Pattern(100, 100));
  EXPECT_EQ(GetGraphImagePixelPacked(image, 99, 99) & 0xFFFFFF, Pattern(199, 199));
  FreeGraphImage(&image);
  // Nothing of the region: nothing written.
  EXPECT_EQ(SaveScreenImage(300, 300, 400, 400, "none.png", 0), -1);
  EXPECT_FALSE(FileExists(dir.File("none.png")));
}

TEST_F(ScreenCaptureTest, EachFileTypeWritesItsFormat) {
  struct Case {
    int type;
    const char* name;
    const char* magic;
    bool exact;
  };
  for (const Case& c : {Case{0, "s.bmp", "BM", true}, Case{1, "s.jpg", "\xFF\xD8", false},
                        Case{2, "Shots\\s.png", "\x89PNG", true}}) {
    if (c.type == 2) dir.Write("Shots/keep", "");
    ASSERT_EQ(SaveScreenImage(8, 4, 40, 20, c.name, c.type, 95, 6), 0) << c.name;
    std::string path = dir.File(c.name);
    if (c.type == 2) path = dir.File("Shots/s.png");
    EXPECT_EQ(ReadWholeFile(path).rfind(c.magic, 0), 0u) << c.name;
    GraphImage image = ReadBack(path);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.height, 16);
    const uint32_t got = GetGraphImagePixelPacked(image, 5, 5) & 0xFFFFFF;
    if (c.exact) {
      EXPECT_EQ(got, Pattern(13, 9)) << c.name;
    }
    FreeGraphImage(&image);
  }
  EXPECT_EQ(SaveScreenImage(0, 0, 8, 8, "s.gif", 3, 0, 0), -1);
}

TEST_F(ScreenCaptureTest, NamesLeavingTheGameFolderAreRefused) {
  const std::string outside = dir.File("../escape.png");
  for (const std::string& name : {std::string("..\\escape.png"), std::string("Sub\\..\\..\\escape.png"),
                                  std::string("C:\\escape.png"), outside, std::string("")}) {
    EXPECT_EQ(SaveScreenImage(0, 0, 8, 8, name.c_str(), 0), -1) << name;
  }
  EXPECT_FALSE(FileExists(outside));
}

TEST_F(ScreenCaptureTest, AFailedWriteGivesMinusOneAndLeavesNoFile) {
  // A folder where the file would go: the write cannot take its place.
  dir.Write("taken.png/inside", "");
  EXPECT_EQ(SaveScreenImage(0, 0, 16, 16, "taken.png", 0), -1);
  EXPECT_EQ(SaveScreenImage(0, 0, 16, 16, "nofolder\\shot.png", 0), -1);
  EXPECT_FALSE(FileExists(dir.File("nofolder/shot.png")));
  const std::string ro = dir.File("ro");
  ASSERT_EQ(mkdir(ro.c_str(), 0500), 0);
  if (access(ro.c_str(), W_OK) != 0) {
    EXPECT_EQ(SaveScreenImage(0, 0, 16, 16, "ro\\shot.png", 0), -1);
    EXPECT_FALSE(FileExists(dir.File("ro/shot.png")));
  }
  chmod(ro.c_str(), 0700);
}

TEST_F(ScreenCaptureTest, AFailedBufferIsLoggedAndGivesMinusOneWithNoFile) {
  SetTrackedAllocFailureCountdown(0);
  EXPECT_EQ(SaveScreenImage(0, 0, 16, 16, "nomem.png", 0), -1);
  SetTrackedAllocFailureCountdown(-1);
  EXPECT_FALSE(FileExists(dir.File("nomem.png")));
  bool logged = false;
  for (const std::string& line : NewLogLines()) logged |= line == "画像セーブ用一時バッファの確保に失敗しました";
  EXPECT_TRUE(logged);
}

}  // namespace
