#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/GraphicsRestore.h"
#include "engine/presentation/PresentationHooks.h"
#include "engine/presentation/text/TextResources.h"
#include "tests/engine/presentation/PresentationFixture.h"

namespace {

// Blocks of 16 x 16, each of its own colour: block (bx, by) is
// (bx x 30, by x 60, 90).
PixelImage Blocks(int32_t width, int32_t height) {
  PixelImage image(width, height);
  for (int32_t y = 0; y < height; y += 16) {
    for (int32_t x = 0; x < width; x += 16) {
      image.FillRect(x, y, 16, 16, static_cast<uint32_t>(x / 16 * 30) << 16 | static_cast<uint32_t>(y / 16 * 60) << 8 | 90);
    }
  }
  return image;
}

class GraphicCacheTest : public PresentationTest {
 protected:
  // The top-left pixel of a graphic, drawn at the screen's corner.
  uint32_t CornerOf(int graphic) {
    ClearDrawTarget();
    DrawGraphicAt(0, 0, graphic, 0);
    return BackPixel(0, 0);
  }
  // Every graphic of the cache painted over, as a lost display leaves them.
  static void Scribble() {
    for (const std::vector<int32_t>& list : CachedGraphics.pieces) {
      SetDrawTarget(list[0]);
      DrawRectangle(0, 0, 4096, 4096, PackColor(1, 2, 3), 1);
    }
    SetDrawTarget(kBackScreen);
  }
};

TEST_F(GraphicCacheTest, ANameLoadedAgainKeepsItsFirstGrid) {
  WriteImage("a.png", Blocks(64, 64));
  ASSERT_TRUE(LoadGraphic("a.png", 2, 2, 0));
  ASSERT_TRUE(LoadGraphic("a.png", 4, 4, 0));
  ASSERT_TRUE(LoadGraphic("a.png", 16, 16, 1));
  EXPECT_EQ(CachedGraphics.EntryCount(), 1);
  EXPECT_EQ(CachedGraphics.PieceCount(0), 5);
  EXPECT_EQ(CachedGraphics.columns[0], 2);
  EXPECT_EQ(CachedGraphics.rows[0], 2);
}

TEST_F(GraphicCacheTest, PiecesOfAGivenSizeFollowRowByRow) {
  WriteImage("b.png", Blocks(128, 64));
  ASSERT_TRUE(LoadGraphic("b.png", 16, 16, 1));
  const int32_t index = CachedGraphics.IndexOf("b.png");
  EXPECT_EQ(CachedGraphics.PieceCount(index), 1 + 32);
  EXPECT_EQ(CachedGraphics.columns[0], 8);
  EXPECT_EQ(CachedGraphics.rows[0], 4);
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(index, 1)), 0x00005Au);  // the top-left block
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(index, 8)), 0xD2005Au);  // the last of the first row
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(index, 9)), 0x003C5Au);  // the first of the second row
  EXPECT_EQ(CachedGraphics.Piece(index, 33), -1);
  EXPECT_EQ(CachedGraphics.Piece(index, -1), -1);
  EXPECT_EQ(CachedGraphics.Piece(7, 0), -1);
}

TEST_F(GraphicCacheTest, EmptyMissingAndBrokenFiles) {
  dir.Write("Data/junk.png", "not an image at all");
  WriteImage("ok.png", Blocks(32, 32));
  struct Case {
    const char* name;
    int32_t x, y, mode;
    bool loaded;
    bool boxShown;
  };
  const Case cases[] = {
      {"", 1, 1, 0, true, false},
      {"missing.png", 1, 1, 0, false, true},
      // Bytes that make no graphic count as a missing file.
      {"junk.png", 1, 1, 0, false, true},
      // Counts or piece sizes of 0 or below are refused: no division by 0.
      {"ok.png", 0, 16, 1, false, false},
      {"ok.png", 16, -1, 1, false, false},
      {"ok.png", 0, 1, 0, false, false},
  };
  for (const Case& c : cases) {
    messageBoxes.clear();
    EXPECT_EQ(LoadGraphic(c.name, c.x, c.y, c.mode), c.loaded) << c.name << " " << c.x << "," << c.y;
    EXPECT_EQ(messageBoxes.empty(), !c.boxShown) << c.name;
  }
  EXPECT_EQ(CachedGraphics.EntryCount(), 0);
  EXPECT_EQ(CachedGraphics.IndexOf(""), -1);

  // A missing name is not cached: every request reports it again.
  messageBoxes.clear();
  EXPECT_FALSE(LoadGraphic("missing.png", 1, 1, 0));
  EXPECT_FALSE(LoadGraphic("missing.png", 1, 1, 0));
  EXPECT_EQ(messageBoxes, (std::vector<std::string>{"■LoadGraphic error:ファイル Data\\missing.png が見つかりません\n",
                                                    "ファイル読み込みエラー",
                                                    "■LoadGraphic error:ファイル Data\\missing.png が見つかりません\n",
                                                    "ファイル読み込みエラー"}));
}

TEST_F(GraphicCacheTest, AGridTooFineForTheImageOrTheGraphicTableMakesNoPieces) {
  WriteImage("small.png", Blocks(32, 32));
  WriteImage("many.png", Blocks(256, 256));
  const int before = GetGraphicCount();
  ASSERT_TRUE(LoadGraphic("small.png", 64, 1, 0));  // pieces narrower than a pixel
  ASSERT_TRUE(LoadGraphic("many.png", 1, 1, 1));    // 65536 pieces: more than the layer holds
  EXPECT_EQ(CachedGraphics.PieceCount(0), 1);
  EXPECT_EQ(CachedGraphics.PieceCount(1), 1);
  EXPECT_EQ(GetGraphicCount(), before + 2);
}

TEST_F(GraphicCacheTest, TheSpecialLoaderHandsItsGraphicsToTheCaller) {
  WriteImage("skin.png", Blocks(64, 32));
  std::vector<int32_t> pieces{-7};
  const int32_t whole = LoadGraphicSP("skin.png", 1, 1, &pieces, false);
  ASSERT_GE(whole, 0);
  EXPECT_EQ(pieces, std::vector<int32_t>{-7}) << "a 1 x 1 grid leaves the list alone";
  const int32_t cut = LoadGraphicSP("skin.png", 4, 2, &pieces, false);
  ASSERT_EQ(pieces.size(), 9u);
  EXPECT_EQ(pieces[0], cut);
  EXPECT_EQ(CornerOf(pieces[5]), 0x003C5Au);
  EXPECT_EQ(CachedGraphics.EntryCount(), 0);

  EXPECT_EQ(LoadGraphicSP("", 1, 1, nullptr, false), -1);
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_EQ(LoadGraphicSP("gone.png", 3, 4, nullptr, true), -1);
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_EQ(LoadGraphicSP("gone.png", 3, 4, nullptr, false), -1);
  EXPECT_EQ(messageBoxes,
            (std::vector<std::string>{"■LoadGraphicSP error:ファイル Data\\gone.png (分割 3,4)が見つかりません\n",
                                      "ファイル読み込みエラー"}));
}

TEST_F(GraphicCacheTest, ReloadRebuildsEveryEntryInNameOrderAndStopsAtAMissingFile) {
  WriteImage("b.png", Blocks(32, 32));
  WriteImage("a.png", Blocks(64, 32));
  WriteImage("c.png", Blocks(48, 16));
  ASSERT_TRUE(LoadGraphic("b.png", 2, 2, 0));
  ASSERT_TRUE(LoadGraphic("a.png", 16, 16, 1));
  ASSERT_TRUE(LoadGraphic("c.png", 3, 1, 0));
  Scribble();
  ASSERT_EQ(CornerOf(CachedGraphics.Piece(1, 2)), 0x010203u);

  ASSERT_TRUE(ReLoadGraphic());
  EXPECT_EQ(CachedGraphics.IndexOf("a.png"), 1);
  EXPECT_EQ(CachedGraphics.PieceCount(1), 9);
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(1, 2)), 0x1E005Au);
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(0, 4)), 0x1E3C5Au);
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(2, 3)), 0x3C005Au);

  // "b" goes missing: "a" (before it by name) is rebuilt, "c" is left as it is.
  std::remove(dir.File("Data/b.png").c_str());
  Scribble();
  messageBoxes.clear();
  EXPECT_FALSE(ReLoadGraphic());
  EXPECT_EQ(messageBoxes, (std::vector<std::string>{"■ReLoadGraphic error:ファイル Data\\b.png が見つかりません\nb.png",
                                                    "ファイル読み込みエラー"}));
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(1, 2)), 0x1E005Au);
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(2, 3)), 0x010203u);
}

TEST_F(GraphicCacheTest, ClearingDeletesEveryGraphic) {
  WriteImage("a.png", Blocks(64, 32));
  const int before = GetGraphicCount();
  ASSERT_TRUE(LoadGraphic("a.png", 4, 2, 0));
  EXPECT_EQ(GetGraphicCount(), before + 9);
  ClearGraphicCache();
  EXPECT_EQ(GetGraphicCount(), before);
  EXPECT_EQ(CachedGraphics.EntryCount(), 0);
  EXPECT_EQ(CachedGraphics.IndexOf("a.png"), -1);
}

// The reload after a lost display, in its fixed order, from the game
// folder, with the cache's indexes unchanged.
std::vector<std::string> gSteps;
int32_t gOldWhole = -1;
std::string gFolderAtFirstStep;

std::string CacheState() {
  const bool icons = TextResourcesHub.iconHandles.size() > 1 && TextResourcesHub.iconHandles[1] > 0;
  return std::string(CachedGraphics.Piece(0, 0) == gOldWhole ? " (cache as it was" : " (cache rebuilt") +
         (icons ? ", icons)" : ")");
}

TEST_F(GraphicCacheTest, TheRestoreRunsItsStepsInOrderFromTheGameFolder) {
  WriteImage("a.png", Blocks(64, 32));
  WriteImage("BasicData\\icon001.png", Blocks(16, 16));
  TextResourcesHub = TextResources();
  ASSERT_TRUE(LoadGraphic("a.png", 4, 2, 0));
  gSteps.clear();
  gOldWhole = CachedGraphics.Piece(0, 0);
  PresentationHooks hooks{};
  hooks.loadChoiceSkins = [] {
    char folder[PATH_MAX];
    gFolderAtFirstStep = getcwd(folder, sizeof folder) ? folder : "";
    gSteps.push_back("skins" + CacheState());
  };
  hooks.loadWaitCursor = [] { gSteps.push_back("cursor" + CacheState()); };
  hooks.reloadPictureFiles = [] { gSteps.push_back("pictures" + CacheState()); };
  SetPresentationHooks(&hooks);
  SetGraphicsRestoreHandler(ReloadGameGraphics);
  Scribble();
  ASSERT_EQ(chdir("/"), 0);

  ASSERT_EQ(ReinitGraphics(), 0);

  EXPECT_EQ(gSteps, (std::vector<std::string>{"skins (cache as it was)", "cursor (cache as it was)",
                                              "pictures (cache rebuilt, icons)"}));
  EXPECT_EQ(gFolderAtFirstStep, dir.Path());
  EXPECT_EQ(CachedGraphics.IndexOf("a.png"), 0);
  EXPECT_EQ(CornerOf(CachedGraphics.Piece(0, 6)), 0x1E3C5Au);
  TextResourcesHub = TextResources();
}

}  // namespace
