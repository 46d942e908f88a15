#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "runtime/graphics/graphic/MovieGraphic.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/movies/TheoraDecoder.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/TheoraWriter.h"
#include "tests/support/ThreadCount.h"

namespace {

class MovieGraphicTest : public GraphicsFixture {
 protected:
  void TearDown() override {
    CloseAllMovies();
    GraphicsFixture::TearDown();
  }

  // An Ogg Theora movie in the test folder.
  void WriteMovie(const std::string& name, TheoraClip clip = {}) { WriteWholeFile(dir.File(name), WriteTheoraClip(clip)); }

  std::string LogText() const { return ReadWholeFile(dir.File("Log.txt")); }
};

TEST_F(MovieGraphicTest, AMovieGraphicShowsTheFirstFrameHoweverOftenItIsDrawn) {
  TheoraClip clip;
  clip.withVorbis = true;
  WriteMovie("movie.ogv", clip);
  Start();
  SetDrawTarget(kBackScreen);
  const int graphic = LoadMovieGraphic("movie.ogv", 0);
  ASSERT_GE(graphic, 0);
  const GraphicEntry* g = GetGraphicRecord(graphic);
  const MovieRecord* movie = GetMovieRecord(g->movie);
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(g->width, 64);
  EXPECT_EQ(g->height, 48);
  EXPECT_EQ(movie->stopped, 1);
  EXPECT_GE(movie->sound, 0) << "the movie's own sound is loaded from the same file";

  const GraphImage* frame = GetTheoraFrameImage(movie->decoder);
  for (int pass = 0; pass < 3; ++pass) {
    ASSERT_EQ(DrawGraphicAt(10, 20, graphic, 0), 0);
    for (int y : {0, 17, 47}) {
      for (int x : {0, 33, 63}) {
        EXPECT_EQ(BackPixel(10 + x, 20 + y), GetGraphImagePixelPacked(*frame, x, y) & 0xFFFFFF)
            << "pass " << pass << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(MovieGraphicTest, DeletingTheGraphicEndsTheDecoderAndFreesTheSlotAndSound) {
  WriteMovie("movie.ogv");
  Start();
  std::thread([] {}).join();
  const int threads = ThreadCountOnceSettledAt(ThreadCount());
  const int graphic = LoadMovieGraphic("movie.ogv", 0);
  ASSERT_GE(graphic, 0);
  const int sound = GetMovieRecord(GetGraphicRecord(graphic)->movie)->sound;
  EXPECT_EQ(GetMovieCount(), 1);
  EXPECT_EQ(DeleteGraphic(graphic), 0);
  EXPECT_EQ(GetMovieCount(), 0);
  EXPECT_EQ(IsSoundPlaying(sound), -1) << "the sound handle is gone";
  EXPECT_LE(ThreadCountOnceSettledAt(threads), threads);
}

TEST_F(MovieGraphicTest, FilesThatAreNoMovieFailWithTheirMessages) {
  WriteWholeFile(dir.File("notes.txt"), "plain text, neither image nor movie");
  Start();
  EXPECT_EQ(LoadMovieGraphic("notes.txt", 0), -1);
  EXPECT_EQ(LoadMovieGraphic("none.ogv", 0), -1);
  const std::string log = LogText();
  EXPECT_NE(log.find("ファイル:notes.txt が開けませんでした"), std::string::npos);
  EXPECT_NE(log.find("ムービーファイルオープン処理時にエラーが発生しました"), std::string::npos);
  EXPECT_NE(log.find("右記のグラフィックファイルのロードに失敗しました：notes.txt \r\n"), std::string::npos);
  EXPECT_NE(log.find("グラフィックファイル none.ogv がありません"), std::string::npos);
  EXPECT_EQ(GetMovieCount(), 0);
  EXPECT_EQ(GetGraphicCount(), 0);
}

TEST_F(MovieGraphicTest, TheHundredAndFirstMovieIsRefused) {
  TheoraClip clip;
  clip.width = 16;
  clip.height = 16;
  clip.frames = 2;
  WriteMovie("small.ogv", clip);
  std::vector<int> movies;
  for (int i = 0; i < kMovieCapacity; ++i) {
    movies.push_back(OpenMovie("small.ogv", nullptr, nullptr, 0));
    ASSERT_GE(movies.back(), 0) << i;
  }
  EXPECT_EQ(OpenMovie("small.ogv", nullptr, nullptr, 0), -1);
  EXPECT_EQ(CloseMovie(movies[40]), 0);
  EXPECT_EQ(CloseMovie(movies[40]), -1);
  EXPECT_GE(OpenMovie("small.ogv", nullptr, nullptr, 0), 0);
}

TEST_F(MovieGraphicTest, LoadingKeepsTheCreationSettingsAndTheThreeDimensionalFlag) {
  WriteMovie("movie.ogv");
  Start();
  SetCreateColorDepth(16);
  Enable3DDrawing(1);  // asked for, though software screens draw without it
  const int systemMemory = GetCreateSystemMemory();
  ASSERT_GE(LoadMovieGraphic("movie.ogv", 0), 0);
  EXPECT_EQ(GetCreateColorDepth(), 16);
  EXPECT_EQ(GetCreateSystemMemory(), systemMemory);
  EXPECT_EQ(GetCreateUnmanagedTexture(), 0);
  EXPECT_EQ(gDrawState.enable3D, 1);
}

TEST_F(MovieGraphicTest, AGraphicThatCannotBeMadeClosesItsMovie) {
  WriteMovie("movie.ogv");  // no screen device: the movie opens, the graphic cannot be made
  EXPECT_EQ(LoadMovieGraphic("movie.ogv", 0), -1);
  EXPECT_EQ(GetMovieCount(), 0);
}

}  // namespace
