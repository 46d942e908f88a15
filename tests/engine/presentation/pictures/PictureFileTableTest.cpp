// The picture file table: entries shared by file and split, cut into
// pieces, released when no picture shows the file, refused splits, missing
// files and the reload after a lost display.

#include <gtest/gtest.h>

#include "tests/engine/presentation/pictures/PictureFixture.h"

namespace {

class PictureFileTableTest : public PictureFixture {
 protected:
  void ShowFile(int32_t number, const std::string& file, int32_t divX, int32_t divY) {
    PictureShowArguments a = At(0, 0);
    a.divX = divX;
    a.divY = divY;
    GamePictures.Show(number, number, file, a, 100, 0, false);
  }
  void EraseNow(int32_t number) {
    GamePictures.Erase(number, number, 0, 0, picture::kNoColor);
    GamePictures.Update();
  }
};

TEST_F(PictureFileTableTest, PicturesShareAnEntryPerFileAndSplitUntilNoneShowsTheFile) {
  const std::string a = Solid("a", 40, 40, 0xFF0000);
  ShowFile(1, a, 4, 1);
  ShowFile(2, a, 4, 1);
  ShowFile(3, a, 2, 2);
  ASSERT_EQ(PictureFiles.entries.size(), 2u);
  EXPECT_EQ(Find(1)->imageHandle, Find(2)->imageHandle);
  EXPECT_EQ(Find(1)->pieces, Find(2)->pieces);
  EXPECT_NE(Find(1)->imageHandle, Find(3)->imageHandle);
  EXPECT_EQ(GetGraphicCount() - graphicsAtStart, (1 + 4) + (1 + 4));

  EraseNow(1);
  EraseNow(3);
  EXPECT_EQ(PictureFiles.entries.size(), 2u) << "picture 2 still shows the file";
  EraseNow(2);
  EXPECT_TRUE(PictureFiles.entries.empty());
  EXPECT_EQ(GetGraphicCount(), graphicsAtStart);
}

TEST_F(PictureFileTableTest, ShowingAnotherFileReleasesTheOldOne) {
  ShowFile(1, Solid("a", 8, 8, 0xFF0000), 1, 1);
  ShowFile(1, Solid("b", 8, 8, 0x00FF00), 1, 1);
  ASSERT_EQ(PictureFiles.entries.size(), 1u);
  EXPECT_EQ(PictureFiles.entries[0].fileName, "Picture\\b.bmp");
  EXPECT_EQ(GetGraphicCount() - graphicsAtStart, 2);
}

TEST_F(PictureFileTableTest, PiecesAreCutRowByRowAndTheRemainderIsNeverShown) {
  ShowFile(1, Coordinates("c", 100, 50), 3, 2);
  const Picture& p = *Find(1);
  EXPECT_EQ(p.pieceWidth, 33);
  EXPECT_EQ(p.pieceHeight, 25);
  ASSERT_EQ(p.pieces.size(), 6u);
  const int32_t origins[6][2] = {{0, 0}, {33, 0}, {66, 0}, {0, 25}, {33, 25}, {66, 25}};
  for (size_t k = 0; k < 6; ++k) {
    int w = 0, h = 0;
    GetGraphicSize(p.pieces[k], &w, &h);
    EXPECT_EQ(w, 33);
    EXPECT_EQ(h, 25);
    ClearBack();
    SetBlendMode(0, 255);
    DrawGraphicAt(0, 0, p.pieces[k], 0);
    EXPECT_EQ(BackPixel(0, 0), static_cast<uint32_t>(origins[k][0] << 16 | origins[k][1] << 8)) << "piece " << k;
    EXPECT_EQ(BackPixel(32, 24), static_cast<uint32_t>((origins[k][0] + 32) << 16 | (origins[k][1] + 24) << 8));
  }
}

TEST_F(PictureFileTableTest, ASplitFinerThanTheImageIsCutWholeAfterOneErrorScreen) {
  const std::string file = Solid("small", 10, 10, 0x00FF00);
  ShowFile(1, file, 20, 1);
  ASSERT_EQ(errorScreens().size(), 1u);
  EXPECT_EQ(errorScreens()[0].substr(0, errorScreens()[0].find('|')),
            "分割数が画像サイズより大きすぎます！ 横20分割 縦1分割  サイズX=10 Y=10");
  EXPECT_EQ(Find(1)->pieces.size(), 1u);
  EXPECT_EQ(Find(1)->pieceWidth, 10);
  ShowFile(2, file, 20, 1);
  EXPECT_EQ(errorScreens().size(), 1u) << "the second request finds the entry";
  EXPECT_EQ(PictureFiles.entries.size(), 1u);
}

TEST_F(PictureFileTableTest, ASplitThatWouldFillTheGraphicTableIsRefused) {
  ShowFile(1, Solid("big", 256, 256, 0x0000FF), 256, 256);
  ASSERT_EQ(errorScreens().size(), 1u);
  EXPECT_NE(errorScreens()[0].find("横256分割 縦256分割"), std::string::npos);
  EXPECT_EQ(Find(1)->pieces.size(), 1u);
  EXPECT_EQ(GetGraphicCount() - graphicsAtStart, 2);
  EXPECT_FALSE(Find(1)->hidden);
}

TEST_F(PictureFileTableTest, AFileThatCannotBeShownLeavesThePictureErased) {
  dir.Write("Data/Picture/junk.bmp", "not an image at all");
  struct Case {
    std::string file;
    bool messageBox;
  };
  const Case cases[] = {{"Picture\\missing.bmp", true}, {"Picture\\junk.bmp", true}, {"<<ERROR>>", false}, {"", false}};
  for (const Case& c : cases) {
    messageBoxes().clear();
    ShowFile(1, c.file, 1, 1);
    const Picture& p = *Find(1);
    EXPECT_TRUE(p.erased && p.hidden) << c.file;
    EXPECT_TRUE(PictureFiles.entries.empty()) << c.file;
    ASSERT_EQ(messageBoxes().size(), c.messageBox ? 1u : 0u) << c.file;
    if (c.messageBox) {
      EXPECT_EQ(messageBoxes()[0].rfind("■PictureControl error:ファイル Data\\" + c.file + " が見つかりません\r\n", 0), 0u);
    }
  }
  GamePictures.Update();
  EXPECT_TRUE(GamePictures.pictures.empty()) << "an erased picture with nothing queued leaves";
}

TEST_F(PictureFileTableTest, AfterALostDisplayEveryEntryIsMadeAgainAndNinePieceFramesKeepTheirSize) {
  const std::string frame = NineGrid("frame", 8);
  const std::string plain = Solid("plain", 20, 20, 0xFFFFFF);
  PictureShowArguments a = At(0, 0);
  a.divX = 100;
  a.divY = 60;
  GamePictures.Show(1, 1, frame, a, 100, 0, true);
  ShowFile(2, plain, 2, 1);
  const int32_t oldFrame = Find(1)->imageHandle;
  const std::vector<int32_t> oldPieces = Find(2)->pieces;

  RePictureControl(GamePictures);
  EXPECT_NE(Find(1)->imageHandle, oldFrame);
  EXPECT_EQ(Find(1)->divX, 100);
  EXPECT_EQ(Find(1)->divY, 60);
  EXPECT_EQ(Find(1)->pieces.size(), 9u);
  EXPECT_NE(Find(2)->pieces, oldPieces);
  EXPECT_EQ(Find(2)->pieces, PictureFiles.entries[1].pieces);
  EXPECT_EQ(GetGraphicCount() - graphicsAtStart, (1 + 9) + (1 + 2));

  // A file gone meanwhile keeps its entry's graphics.
  std::remove(dir.File("Data/Picture/plain.bmp").c_str());
  const std::vector<int32_t> kept = PictureFiles.entries[1].pieces;
  RePictureControl(GamePictures);
  ASSERT_EQ(messageBoxes().size(), 1u);
  EXPECT_EQ(messageBoxes()[0], "■RePictureControl error:ファイル Data\\Picture\\plain.bmp が見つかりません\n");
  EXPECT_EQ(PictureFiles.entries[1].pieces, kept);
}

TEST_F(PictureFileTableTest, ClearingWithFilesDeletesEveryGraphic) {
  ShowFile(1, Solid("a", 8, 8, 0xFF0000), 2, 2);
  ShowFile(2, Solid("b", 8, 8, 0xFF0000), 1, 1);
  GamePictures.Clear(false);
  EXPECT_EQ(PictureFiles.entries.size(), 2u);
  GamePictures.Clear(true);
  EXPECT_TRUE(PictureFiles.entries.empty());
  EXPECT_EQ(GetGraphicCount(), graphicsAtStart);
}

}  // namespace
