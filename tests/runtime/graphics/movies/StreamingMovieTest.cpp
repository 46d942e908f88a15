// Movies that are not Ogg Theora, through the movie table: the open's
// steps and their messages, the graphic of a stopped and of a running
// movie, movies inside archives, and the pause, resume, release and reopen
// passes.

#include <gtest/gtest.h>

#include <string>
#include <thread>  // steady_clock (<chrono> itself does not build with the CP932 charset)
#include <vector>

#include "runtime/graphics/graphic/MovieGraphic.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/host/movies/MovieGraph.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/StringHelpers.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/ManualMix.h"
#include "tests/support/MovieClipWriter.h"
#include "tests/support/MovieReference.h"
#include "tests/support/ThreadCount.h"

namespace {

constexpr HostMovieTime kFrameTime = kHostMovieTimePerSecond / 25;

MovieClip ClipWithSound() {
  MovieClip clip;
  clip.audioCodec = "mp2";
  clip.frames = 20;
  clip.keyInterval = 6;
  return clip;
}

class StreamingMovieTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    bytes_ = WriteMovieClip(ClipWithSound());
    pictures_ = DecodeMovieClipPictures(bytes_);
    ASSERT_EQ(pictures_.size(), 20u);
    dir.Write("clip.avi", bytes_);
  }
  void TearDown() override {
    CloseAllMovies();
    GraphicsFixture::TearDown();
  }

  std::string LogText() const { return ReadWholeFile(dir.File("Log.txt")); }
  bool Logged(const std::string& text) const { return LogText().find(text) != std::string::npos; }

  static MovieRecord& Movie(int graphic) { return *GetMovieRecord(GetGraphicRecord(graphic)->movie); }

  // The frame image holds the reference picture k.
  void ExpectFrameImageShows(const MovieRecord& m, size_t k) {
    const GraphImage& image = m.frameImage;
    std::vector<uint8_t> rows;
    for (int y = 0; y < image.height; ++y) {
      const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.pitch;
      rows.insert(rows.end(), row, row + image.width * 4);
    }
    EXPECT_TRUE(rows == pictures_[k].bgra) << "frame " << k;
  }

  std::string bytes_;
  std::vector<ReferencePicture> pictures_;
};

TEST_F(StreamingMovieTest, AMovieOpensStoppedItsSoundSilentAndItsGraphicKeepsItsContent) {
  Start();
  SetDrawTarget(kBackScreen);
  const int graphic = LoadMovieGraphic("clip.avi", 0);
  ASSERT_GE(graphic, 0);
  const MovieRecord& m = Movie(graphic);
  EXPECT_EQ(m.theora, 0);
  EXPECT_EQ(m.stopped, 1);
  EXPECT_EQ(m.sound, -1) << "the sound is the graph's";
  EXPECT_EQ(GetGraphicRecord(graphic)->width, 64);
  EXPECT_EQ(GetGraphicRecord(graphic)->height, 48);
  EXPECT_EQ(m.sampleRect[2], 64);
  EXPECT_EQ(m.sampleRect[3], 48);
  EXPECT_EQ(m.timePerFrame, kFrameTime);
  EXPECT_NEAR(static_cast<double>(m.stopPosition), 20.0 * kFrameTime, kFrameTime) << "the sound's end";
  ASSERT_EQ(m.frame, &m.frameImage);
  EXPECT_TRUE(ColorFormatsEqual(m.frameImage.format, *GetScreenColorFormat())) << "frames in the screen's format";
  EXPECT_EQ(m.frameImage.pitch, 256);
  EXPECT_EQ(HostMovieGetState(m.graph), kHostMovieStopped);

  // Content of our own in the graphic: the movie never replaces it.
  ASSERT_EQ(DrawRectangle(0, 0, 64, 48, PackColor(10, 200, 30), 1), 0);
  ASSERT_EQ(CaptureScreenToGraphic(0, 0, 64, 48, graphic), 0);
  for (int pass = 0; pass < 3; ++pass) {
    ASSERT_EQ(DrawGraphicAt(100, 120, graphic, 0), 0);
    EXPECT_EQ(BackPixel(100 + kClipRedX, 120 + kClipBlockY), 0x0AC81Eu);
    EXPECT_EQ(MixLoudest(4410), 0) << "the sound is loaded, not played";
  }
  EXPECT_FALSE(Logged("ムービーファイルオープン処理時にエラーが発生しました"));
}

TEST_F(StreamingMovieTest, ARunningMovieBringsTheFrameItsSoundHasReachedIntoItsGraphic) {
  Start();
  SetDrawTarget(kBackScreen);
  const int graphic = LoadMovieGraphic("clip.avi", 0);
  ASSERT_GE(graphic, 0);
  MovieRecord& m = Movie(graphic);
  HostMovieRun(m.graph);
  MixUntilMovieSoundStarts(m.graph);
  EXPECT_GT(MixLoudest(11025), 4000) << "the tone plays";
  ASSERT_EQ(UpdateMovieFrame(GetGraphicRecord(graphic)->movie, 2000), 0);
  const HostMovieTime position = HostMovieGetPosition(m.graph);
  const size_t k = static_cast<size_t>(position / kFrameTime);
  EXPECT_EQ(HostMovieSampleTime(m.sample), pictures_[k].time) << position;
  ExpectFrameImageShows(m, k);
  ASSERT_EQ(DrawGraphicAt(0, 0, graphic, 0), 0);
  for (int x : {0, 33, 63}) {
    EXPECT_EQ(BackPixel(x, 30), GetGraphImagePixelPacked(m.frameImage, x, 30) & 0xFFFFFF) << x;
  }
  EXPECT_NE(BackPixel(kClipRedX, kClipBlockY), 0u);
}

TEST_F(StreamingMovieTest, EachFailingStepLogsItsMessageAndHoldsNothing) {
  MovieClip soundOnly;
  soundOnly.container = "mpeg";
  soundOnly.videoCodec = nullptr;
  soundOnly.audioCodec = "mp2";
  soundOnly.soundSeconds = 0.5;
  dir.Write("sound.mpg", WriteMovieClip(soundOnly));
  dir.Write("zeros.avi", std::string(4096, '\0'));
  Start();
  std::thread([] {}).join();
  const int threads = ThreadCountOnceSettledAt(ThreadCount());
  const struct {
    const char* name;
    const char* message;
  } cases[] = {
      {"none.avi", "ファイル:none.avi が開けませんでした"},
      {"zeros.avi", "ファイル:zeros.avi が開けませんでした"},
      {"sound.mpg", "動画ファイルではない可能性があります！"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OpenMovie(c.name, nullptr, nullptr, 0), -1) << c.name;
    EXPECT_TRUE(Logged(c.message)) << c.name;
  }
  EXPECT_NE(LogText().find("ムービーファイルオープン処理時にエラーが発生しました"), std::string::npos);
  EXPECT_EQ(GetMovieCount(), 0);
  EXPECT_EQ(ThreadCountOnceSettledAt(threads), threads);
}

TEST_F(StreamingMovieTest, WithoutAScreenDeviceTheOpenStopsAtTheDisplayStep) {
  StrCopy(gPlatform.startDirectory, sizeof gPlatform.startDirectory, dir.Path().c_str());
  OpenLogFile();
  EXPECT_EQ(OpenMovie("clip.avi", nullptr, nullptr, 0), -1);
  EXPECT_TRUE(Logged("DirectDraw4オブジェクトを取得できませんでした"));
  EXPECT_EQ(GetMovieCount(), 0);
}

TEST_F(StreamingMovieTest, AMovieInAnArchiveIsReadWhereItLies) {
  ArchiveWriter writer;
  writer.AddFile("Movie\\clip.avi", bytes_, true);
  dir.Write("Data.mva", writer.Build());
  ResetArchiveState();
  Start();
  const int graphic = LoadMovieGraphic("Data\\Movie\\clip.avi", 0);
  ASSERT_GE(graphic, 0);
  MovieRecord& m = Movie(graphic);
  // Seeks reach back into the archive's stream.
  for (size_t k : {13u, 4u}) {
    HostMovieSetPosition(m.graph, pictures_[k].time);
    HostMovieRun(m.graph);
    ASSERT_EQ(UpdateMovieFrame(GetGraphicRecord(graphic)->movie, 2000), 0);
    ExpectFrameImageShows(m, k);
    HostMovieStop(m.graph);
  }
}

TEST_F(StreamingMovieTest, ReleaseAndReopenKeepThePositionAndTheRunningState) {
  Start();
  const int graphic = LoadMovieGraphic("clip.avi", 0);
  ASSERT_GE(graphic, 0);
  MovieRecord& m = Movie(graphic);
  std::thread([] {}).join();
  const int threads = ThreadCountOnceSettledAt(ThreadCount());
  HostMovieSetPosition(m.graph, pictures_[7].time);
  HostMovieRun(m.graph);
  ASSERT_EQ(UpdateMovieFrame(GetGraphicRecord(graphic)->movie, 2000), 0);
  ExpectFrameImageShows(m, 7);

  EXPECT_EQ(ReleaseAllMovieStreams(), 0);
  EXPECT_EQ(m.graph, nullptr);
  EXPECT_EQ(m.sample, nullptr);
  ExpectFrameImageShows(m, 7);  // the frame image stays
  EXPECT_EQ(m.savedPosition, pictures_[7].time);
  EXPECT_EQ(ThreadCountOnceSettledAt(threads - 1), threads - 1) << "the decoder is freed";
  ASSERT_EQ(DrawGraphicAt(0, 0, graphic, 0), 0) << "a released movie is drawn as it stands";

  ASSERT_EQ(ReopenAllMovieStreams(), 0);
  ASSERT_NE(m.graph, nullptr);
  EXPECT_EQ(HostMovieGetPosition(m.graph), pictures_[7].time);
  EXPECT_EQ(HostMovieGetState(m.graph), kHostMovieStopped) << "until the resume pass";
  EXPECT_EQ(ResumeAllMovies(), 0);
  EXPECT_EQ(HostMovieGetState(m.graph), kHostMovieRunning);
  ASSERT_EQ(UpdateMovieFrame(GetGraphicRecord(graphic)->movie, 2000), 0);
  ExpectFrameImageShows(m, 7);
}

TEST_F(StreamingMovieTest, AReopenThatFailsEndsThePassAndTheMovieStillCloses) {
  Start();
  const int graphic = LoadMovieGraphic("clip.avi", 0);
  ASSERT_GE(graphic, 0);
  EXPECT_EQ(ReleaseAllMovieStreams(), 0);
  std::remove(dir.File("clip.avi").c_str());
  EXPECT_EQ(ReopenAllMovieStreams(), -1);
  EXPECT_TRUE(Logged("ファイル:clip.avi が開けませんでした"));
  EXPECT_EQ(DeleteGraphic(graphic), 0);
  EXPECT_EQ(GetMovieCount(), 0);
}

TEST_F(StreamingMovieTest, ThePauseAndResumePassesTouchOnlyRunningMovies) {
  Start();
  const int running = LoadMovieGraphic("clip.avi", 0);
  const int stopped = LoadMovieGraphic("clip.avi", 0);
  ASSERT_GE(running, 0);
  ASSERT_GE(stopped, 0);
  HostMovieGraph* graph = Movie(running).graph;
  HostMovieRun(graph);
  MixUntilMovieSoundStarts(graph);
  EXPECT_EQ(PauseAllMovies(), 0);
  EXPECT_EQ(HostMovieGetState(graph), kHostMoviePaused);
  const HostMovieTime paused = HostMovieGetPosition(graph);
  EXPECT_EQ(MixLoudest(4410), 0);
  EXPECT_EQ(HostMovieGetPosition(graph), paused);
  EXPECT_EQ(ResumeAllMovies(), 0);
  EXPECT_EQ(HostMovieGetState(graph), kHostMovieRunning);
  EXPECT_EQ(HostMovieGetState(Movie(stopped).graph), kHostMovieStopped);
  MixLoudest(4410);
  EXPECT_EQ(HostMovieGetPosition(graph), paused + kHostMovieTimePerSecond / 10);
}

TEST_F(StreamingMovieTest, DeletingTheGraphicEndsTheThreadAndTheSound) {
  Start();
  std::thread([] {}).join();
  const int threads = ThreadCountOnceSettledAt(ThreadCount());
  const int graphic = LoadMovieGraphic("clip.avi", 0);
  ASSERT_GE(graphic, 0);
  HostMovieGraph* graph = Movie(graphic).graph;
  HostMovieRun(graph);
  MixUntilMovieSoundStarts(graph);
  EXPECT_GT(MixLoudest(4410), 0);
  EXPECT_EQ(DeleteGraphic(graphic), 0);
  EXPECT_EQ(GetMovieCount(), 0);
  EXPECT_EQ(ThreadCountOnceSettledAt(threads), threads);
  EXPECT_EQ(MixLoudest(4410), 0);
}

}  // namespace
