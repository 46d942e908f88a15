#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/presentation/text/TextBlock.h"
#include "engine/presentation/text/TextResources.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "tests/engine/presentation/MessageText.h"
#include "tests/engine/presentation/RichTextFixture.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/BmpFileWriter.h"

namespace {

std::string SolidBmp(int32_t width, int32_t height, uint32_t rgb) {
  BmpFileFields fields;
  fields.width = width;
  fields.height = -height;
  fields.data = PackBmpRows(24, std::vector<std::vector<uint32_t>>(static_cast<size_t>(height),
                                                                   std::vector<uint32_t>(static_cast<size_t>(width), rgb)));
  return BmpFile(fields);
}

class TextIconsTest : public RichTextFixture {
 protected:
  std::vector<int32_t> LoadedNumbers() const {
    std::vector<int32_t> numbers;
    for (size_t n = 0; n < TextResourcesHub.iconHandles.size(); ++n) {
      if (TextResourcesHub.iconHandles[n] > 0) numbers.push_back(static_cast<int32_t>(n));
    }
    return numbers;
  }
};

TEST_F(TextIconsTest, TheFolderScanTakesThreeDigitsAfterIcon) {
  dir.Write("Data/BasicData/icon007.png", SolidBmp(24, 16, 0xFF0000));
  dir.Write("Data/BasicData/ICON012.PNG", SolidBmp(8, 8, 0x00FF00));
  dir.Write("Data/BasicData/icon1000.png", SolidBmp(8, 8, 0x00FF00));
  dir.Write("Data/BasicData/icon07.png", SolidBmp(8, 8, 0x00FF00));
  dir.Write("Data/BasicData/picture.png", SolidBmp(8, 8, 0x00FF00));
  TextResourcesHub.LoadIcons();
  EXPECT_EQ(LoadedNumbers(), (std::vector<int32_t>{7, 12}));
  EXPECT_EQ(TextResourcesHub.iconHandles.size(), 13u);
  EXPECT_EQ(TextResourcesHub.iconWidths[7], 24);
  EXPECT_EQ(TextResourcesHub.iconHeights[7], 16);
  EXPECT_EQ(TextResourcesHub.iconWidths.size(), 1000u);
  EXPECT_TRUE(messageBoxes().empty());

  const int32_t graphics = GetGraphicCount();
  TextResourcesHub.LoadIcons();
  EXPECT_EQ(GetGraphicCount(), graphics) << "a reload deletes the old icons";
}

TEST_F(TextIconsTest, TheListNamesFilesUpToAnEmptyLine) {
  dir.Write("Data/BasicData/EncodedIconList.xxxxx", "icon12a.png\r\nicon003.png\r\nicon009.png\r\n\r\nicon004.png\r\n");
  dir.Write("Data/BasicData/icon12a.png", SolidBmp(8, 8, 0x0000FF));
  dir.Write("Data/BasicData/icon003.png", SolidBmp(8, 8, 0x0000FF));
  dir.Write("Data/BasicData/icon004.png", SolidBmp(8, 8, 0x0000FF));
  dir.Write("Data/BasicData/icon005.png", SolidBmp(8, 8, 0x0000FF));
  TextResourcesHub.LoadIcons();
  EXPECT_EQ(LoadedNumbers(), (std::vector<int32_t>{3, 12})) << "icon12a is 12; the scan is not used";
  ASSERT_EQ(messageBoxes().size(), 1u) << "icon009.png is missing";
  EXPECT_NE(messageBoxes()[0].find("icon009.png"), std::string::npos);
}

TEST_F(TextIconsTest, TheListAndIconsComeFromTheArchive) {
  ArchiveWriter writer;
  writer.AddFile("BasicData\\EncodedIconList.xxxxx", "icon005.png\r\n");
  writer.AddFile("BasicData\\icon005.png", SolidBmp(10, 6, 0xFFFFFF), true);
  dir.Write("Data.mva", writer.Build());
  ResetArchiveState();
  TextResourcesHub.LoadIcons();
  EXPECT_EQ(LoadedNumbers(), (std::vector<int32_t>{5}));
  EXPECT_EQ(TextResourcesHub.iconWidths[5], 10);
}

TEST_F(TextIconsTest, AnIconStandsInTheLineAndIsDrawnStretchedToTheScale) {
  dir.Write("Data/BasicData/icon007.png", SolidBmp(20, 40, 0xFF0000));
  TextResourcesHub.LoadIcons();
  RootRunner.messageFontSize = 24;
  TextBlock block(100, 50);
  block.sourceText = std::string("a").append(WideCode(kCodeIcon, 7)) + "b" + WideCode(kCodeIcon, 8);
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  EXPECT_EQ(block.lineWidths, (std::vector<int32_t>{44}));
  EXPECT_EQ(block.lineHeights, (std::vector<int32_t>{40}));
  block.revealed = 100.0;
  ClearBack();
  block.Layout(TextBlock::kDraw, 1.0, 1.0);
  // The icon stands on the line's bottom: x 112..131, y 50..89.
  EXPECT_EQ(BackPixel(112, 50), 0xFF0000u);
  EXPECT_EQ(BackPixel(131, 89), 0xFF0000u);
  EXPECT_NE(BackPixel(132, 70), 0xFF0000u);
  EXPECT_NE(BackPixel(112, 90), 0xFF0000u);
}

TEST_F(TextIconsTest, AnImageIsLoadedOnceIntoTheCacheAndDrawnInline) {
  dir.Write("Data/Picture/mark.bmp", SolidBmp(16, 10, 0x00FF00));
  RootRunner.messageFontSize = 24;
  TextBlock block(0, 0);
  block.sourceText = std::string("a").append(Code(kCodeImage)).append("Picture\\mark.bmp]b");
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  EXPECT_EQ(block.lineWidths, (std::vector<int32_t>{40}));
  block.Layout(TextBlock::kDraw, 1.0, 1.0);
  EXPECT_EQ(CachedGraphics.EntryCount(), 1);
  EXPECT_GE(CachedGraphics.IndexOf("Picture\\mark.bmp"), 0);
  block.sourceText += Code(kCodeImage) + "Picture\\none.bmp]";
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  EXPECT_EQ(block.lineWidths, (std::vector<int32_t>{40})) << "an image that does not load moves nothing";
  EXPECT_EQ(messageBoxes().size(), 1u);
}

}  // namespace
