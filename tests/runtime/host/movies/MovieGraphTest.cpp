// The streaming-movie stand-in against FFmpeg's own decode of clips made by
// FFmpeg's encoders: the frames it shows, seeks, the clock with and without
// sound, and files that are damaged or no movie at all.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>  // steady_clock (<chrono> itself does not build with the CP932 charset)
#include <vector>

#include "runtime/host/movies/MovieGraph.h"
#include "runtime/host/sound/SoundDevice.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ManualMix.h"
#include "tests/support/MemoryMovieReader.h"
#include "tests/support/MovieClipWriter.h"
#include "tests/support/MovieReference.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/ThreadCount.h"

namespace {

constexpr HostMovieTime kMs = kHostMovieTimePerSecond / 1000;

std::vector<uint8_t> SurfaceBytes(const HostMovieSurfaceView& view) {
  std::vector<uint8_t> bytes;
  const int rowBytes = view.width * ((view.format.bitsPerPixel + 7) / 8);
  for (int y = 0; y < view.height; ++y) {
    const uint8_t* row = view.pixels + static_cast<size_t>(y) * view.pitch;
    bytes.insert(bytes.end(), row, row + rowBytes);
  }
  return bytes;
}

class MovieGraphTest : public ::testing::Test {
 protected:
  void TearDown() override {
    HostMovieReleaseGraph(graph_);
    if (mixerOpen_) {
      HostSoundCloseDevice();
      HostSoundSetOutput(HostSoundOutput::kSdl);
    }
  }

  void OpenMixer() {
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    ASSERT_TRUE(HostSoundCreateDevice());
    ASSERT_TRUE(HostSoundOpenDevice());
    mixerOpen_ = true;
  }

  // A graph over the bytes with a sample of its own; false when it does not open.
  bool Open(const std::string& bytes, bool withSound = false, int stock = 10) {
    opened_ = bytes;
    graph_ = HostMovieCreateGraph(stock);
    if (withSound) HostMovieRenderAudio(graph_);
    if (!HostMovieOpenReader(graph_, MemoryMovieReader(opened_.data(), opened_.size()))) return false;
    sample_ = HostMovieCreateSample(graph_, nullptr);
    return sample_ != nullptr;
  }

  std::vector<uint8_t> Shown() const { return SurfaceBytes(HostMovieViewSurface(HostMovieSampleSurface(sample_))); }

  std::string opened_;
  HostMovieGraph* graph_ = nullptr;
  HostMovieSample* sample_ = nullptr;
  bool mixerOpen_ = false;
};

// ---- The formats games ship, each made by FFmpeg's encoders ----

struct Format {
  const char* name;
  MovieClip clip;
};

MovieClip Clip(const char* container, const char* video, const char* audio, int bFrames = 0) {
  MovieClip clip;
  clip.container = container;
  clip.videoCodec = video;
  clip.audioCodec = audio;
  clip.frames = 20;
  clip.keyInterval = 6;
  clip.bFrames = bFrames;
  return clip;
}

const Format kFormats[] = {
    {"Mpeg1VideoWithMp2", Clip("mpeg", "mpeg1video", "mp2")},
    {"Mpeg4InAvi", Clip("avi", "mpeg4", "mp2")},
    {"Wmv2WithWma2InAsf", Clip("asf", "wmv2", "wmav2")},
    {"Mpeg4WithBFramesAndAacInMp4", Clip("mp4", "mpeg4", "aac", 2)},
};

void PrintTo(const Format& format, std::ostream* out) { *out << format.name; }

class MovieFormatTest : public MovieGraphTest, public ::testing::WithParamInterface<Format> {
 protected:
  void SetUp() override {
    bytes_ = WriteMovieClip(GetParam().clip);
    if (bytes_.empty()) GTEST_SKIP() << GetParam().name << ": this machine's FFmpeg cannot encode it";
    pictures_ = DecodeMovieClipPictures(bytes_);
    ASSERT_EQ(pictures_.size(), 20u);
    ASSERT_TRUE(Open(bytes_));
  }

  void ExpectShows(size_t k) {
    ASSERT_EQ(HostMovieUpdateSample(sample_, 2000), 1) << "frame " << k;
    EXPECT_EQ(HostMovieSampleTime(sample_), pictures_[k].time) << "frame " << k;
    EXPECT_TRUE(Shown() == pictures_[k].bgra) << "frame " << k;
  }

  std::string bytes_;
  std::vector<ReferencePicture> pictures_;
};

TEST_P(MovieFormatTest, TheOpenShowsTheFirstFrameAndSeeksLandOnTheirFrames) {
  HostMovieVideoFormat format;
  ASSERT_TRUE(HostMovieGetVideoFormat(graph_, &format));
  EXPECT_EQ(format.width, 64);
  EXPECT_EQ(format.height, 48);
  EXPECT_EQ(format.timePerFrame, 40 * kMs);
  ExpectShows(0);
  // Key frames, frames between them, backwards, and the start again.
  for (size_t k : {6u, 9u, 17u, 2u, 12u, 0u}) {
    HostMovieSetPosition(graph_, pictures_[k].time);
    ExpectShows(k);
  }
  // Within a frame's time the frame that started shows.
  HostMovieSetPosition(graph_, pictures_[13].time + 20 * kMs);
  ExpectShows(13);
}

TEST_P(MovieFormatTest, PastTheEndTheLastFrameShowsAndThenTheVideoHasEnded) {
  HostMovieSetPosition(graph_, pictures_.back().time + 60 * kHostMovieTimePerSecond);
  ExpectShows(pictures_.size() - 1);
  EXPECT_EQ(HostMovieUpdateSample(sample_, 2000), -1);
}

INSTANTIATE_TEST_SUITE_P(Formats, MovieFormatTest, ::testing::ValuesIn(kFormats),
                         [](const ::testing::TestParamInfo<Format>& info) { return std::string(info.param.name); });

// ---- Conversion into the surface's pixel format ----

// A channel of a stored pixel, widened to 8 bits.
int Channel(uint32_t pixel, uint32_t mask) {
  const int shift = __builtin_ctz(mask);
  const uint32_t top = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / top);
}

TEST_F(MovieGraphTest, TheBlocksKeepTheirColoursInEverySurfaceFormat) {
  MovieClip clip;
  clip.frames = 1;
  clip.quantizer = 1;
  const std::string bytes = WriteMovieClip(clip);
  ASSERT_FALSE(bytes.empty());
  const HostMoviePixelFormat formats[] = {
      {32, 0xFF0000, 0xFF00, 0xFF}, {24, 0xFF0000, 0xFF00, 0xFF}, {16, 0xF800, 0x7E0, 0x1F}, {16, 0x7C00, 0x3E0, 0x1F}};
  for (const HostMoviePixelFormat& format : formats) {
    HostMovieGraph* graph = HostMovieCreateGraph(2);
    ASSERT_TRUE(HostMovieOpenReader(graph, MemoryMovieReader(bytes.data(), bytes.size())));
    HostMovieSurface* surface = HostMovieCreateSurface(format, 64, 48);
    HostMovieSample* sample = HostMovieCreateSample(graph, surface);
    ASSERT_NE(sample, nullptr) << format.bitsPerPixel;
    ASSERT_EQ(HostMovieUpdateSample(sample, 2000), 1);
    const HostMovieSurfaceView view = HostMovieViewSurface(surface);
    const int bytesPerPixel = (format.bitsPerPixel + 7) / 8;
    EXPECT_EQ(view.pitch, (64 * bytesPerPixel + 3) / 4 * 4);
    auto at = [&](int x) {
      uint32_t pixel = 0;
      std::memcpy(&pixel, view.pixels + kClipBlockY * view.pitch + x * bytesPerPixel, static_cast<size_t>(bytesPerPixel));
      return pixel;
    };
    const int xs[3] = {kClipRedX, kClipGreenX, kClipBlueX};
    const uint32_t masks[3] = {format.redMask, format.greenMask, format.blueMask};
    for (int block = 0; block < 3; ++block) {
      for (int channel = 0; channel < 3; ++channel) {
        const int value = Channel(at(xs[block]), masks[channel]);
        if (channel == block) {
          EXPECT_GT(value, 200) << format.bitsPerPixel << " bits, block " << block << ", channel " << channel;
        } else {
          EXPECT_LT(value, 60) << format.bitsPerPixel << " bits, block " << block << ", channel " << channel;
        }
      }
    }
    if (format.bitsPerPixel == 32) {
      EXPECT_EQ(at(kClipRedX) >> 24, 0xFFu) << "the fourth byte is opaque";
    }
    HostMovieReleaseGraph(graph);  // with its sample
    HostMovieReleaseSurface(surface);
  }
}

TEST_F(MovieGraphTest, ASurfaceWithoutAConversionTakesNoSample) {
  const std::string bytes = WriteMovieClip(MovieClip{});
  ASSERT_TRUE(Open(bytes));  // a sample of its own
  HostMovieReleaseSample(sample_);
  sample_ = nullptr;
  HostMovieSurface* palette = HostMovieCreateSurface({8, 0, 0, 0}, 64, 48);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(HostMovieCreateSample(graph_, palette), nullptr);
  HostMovieReleaseSurface(palette);
  const HostMoviePixelFormat xrgb = {32, 0xFF0000, 0xFF00, 0xFF};
  for (const auto& size : {std::pair{0, 48}, std::pair{64, 0}, std::pair{32768, 1}, std::pair{8193, 8193}}) {
    EXPECT_EQ(HostMovieCreateSurface(xrgb, size.first, size.second), nullptr) << size.first << "x" << size.second;
  }
}

// The memory in use, from the kernel.
int64_t ResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, 6, "VmRSS:") == 0) return std::atoll(line.c_str() + 6) * 1024;
  }
  return -1;
}

// A small file may state a picture near the size cap: its surface must not
// cost the whole size before a frame comes.
TEST_F(MovieGraphTest, ASurfaceTakesNoMemoryBeforeAFrameIsWrittenIntoIt) {
  const int64_t before = ResidentBytes();
  HostMovieSurface* surface = HostMovieCreateSurface({32, 0xFF0000, 0xFF00, 0xFF}, 4096, 4096);  // 64 MiB
  ASSERT_NE(surface, nullptr);
  EXPECT_LT(ResidentBytes() - before, int64_t{16} << 20);
  HostMovieReleaseSurface(surface);
}

// ---- The clock ----

TEST_F(MovieGraphTest, WithoutSoundTheTickIsTheClockAndPausesHoldIt) {
  FakeClock clock(1000);
  MovieClip clip;
  clip.frames = 20;
  const std::string bytes = WriteMovieClip(clip);
  const std::vector<ReferencePicture> pictures = DecodeMovieClipPictures(bytes);
  ASSERT_TRUE(Open(bytes, false, 3));
  HostMovieRun(graph_);
  EXPECT_EQ(HostMovieGetState(graph_), kHostMovieRunning);
  // Every frame in turn as the tick reaches its time, through a stock of 3.
  for (size_t k = 0; k < pictures.size(); ++k) {
    clock.SetMs(1000 + static_cast<uint32_t>(pictures[k].time / kMs));
    ASSERT_EQ(HostMovieUpdateSample(sample_, 2000), 1) << k;
    EXPECT_TRUE(Shown() == pictures[k].bgra) << k;
    const int afterwards = k + 1 < pictures.size() ? 0 : -1;  // then the video has ended
    EXPECT_EQ(HostMovieUpdateSample(sample_, 0), afterwards) << "nothing new within the frame " << k;
  }
  HostMovieSetPosition(graph_, pictures[4].time);
  ASSERT_EQ(HostMovieUpdateSample(sample_, 2000), 1);
  HostMoviePause(graph_);
  clock.AdvanceMs(500);
  EXPECT_EQ(HostMovieGetPosition(graph_), pictures[4].time);
  EXPECT_EQ(HostMovieUpdateSample(sample_, 100), 0);
  HostMovieRun(graph_);
  clock.AdvanceMs(80);
  EXPECT_EQ(HostMovieGetPosition(graph_), pictures[6].time);
  ASSERT_EQ(HostMovieUpdateSample(sample_, 2000), 1);
  EXPECT_TRUE(Shown() == pictures[6].bgra);
}

class MovieSoundTest : public MovieGraphTest {
 protected:
  void SetUp() override {
    OpenMixer();
    MovieClip clip;
    clip.audioCodec = "mp2";
    clip.frames = 75;  // three seconds
    bytes_ = WriteMovieClip(clip);
    pictures_ = DecodeMovieClipPictures(bytes_);
    ASSERT_TRUE(Open(bytes_, true));
  }

  // The frame shown is the one whose time the mixer has reached.
  void ExpectInStep(const char* when) {
    const HostMovieTime position = HostMovieGetPosition(graph_);
    ASSERT_GE(HostMovieUpdateSample(sample_, 2000), 0) << when;
    const HostMovieTime shown = HostMovieSampleTime(sample_);
    EXPECT_LE(shown, position) << when;
    EXPECT_LT(position - shown, 40 * kMs) << when;
    for (const ReferencePicture& p : pictures_) {
      if (p.time == shown) {
        EXPECT_TRUE(Shown() == p.bgra) << when;
      }
    }
  }

  std::string bytes_;
  std::vector<ReferencePicture> pictures_;
};

TEST_F(MovieSoundTest, TheMixerPositionIsTheClockAndThePicturesFollowIt) {
  ASSERT_EQ(pictures_.size(), 75u);
  EXPECT_EQ(MixLoudest(4410), 0) << "a stopped movie is silent";
  EXPECT_EQ(HostMovieGetPosition(graph_), 0);
  HostMovieRun(graph_);
  MixUntilMovieSoundStarts(graph_);
  const HostMovieTime start = HostMovieGetPosition(graph_);
  int loudest = 0;
  uint64_t mixed = 0;
  for (int step = 0; step < 30; ++step) {
    const uint32_t frames = 1000 + 97 * static_cast<uint32_t>(step);  // not in step with the frames
    loudest = std::max(loudest, MixLoudest(frames));
    mixed += frames;
    EXPECT_EQ(HostMovieGetPosition(graph_), start + static_cast<HostMovieTime>(mixed * kHostMovieTimePerSecond / 44100));
    ExpectInStep("running");
    std::this_thread::sleep_for(std::chrono::milliseconds(2));  // the thread writes on
  }
  EXPECT_GT(loudest, 4000) << "the tone plays";

  HostMoviePause(graph_);
  const HostMovieTime paused = HostMovieGetPosition(graph_);
  EXPECT_EQ(MixLoudest(4410), 0) << "a paused movie is silent";
  EXPECT_EQ(HostMovieGetPosition(graph_), paused);
  HostMovieRun(graph_);
  MixLoudest(2205);
  EXPECT_EQ(HostMovieGetPosition(graph_), paused + 500000);
  ExpectInStep("resumed");

  HostMovieSetPosition(graph_, 2 * kHostMovieTimePerSecond);
  MixUntilMovieSoundStarts(graph_);
  EXPECT_GE(HostMovieGetPosition(graph_), 2 * kHostMovieTimePerSecond);
  ExpectInStep("after a seek");
}

// ---- Ends ----

TEST_F(MovieSoundTest, ReleaseEndsTheThreadAndTheSound) {
  std::thread([] {}).join();  // a thread sanitizer's own thread comes with the first
  HostMovieRun(graph_);
  EXPECT_GT(MixUntilMovieSoundStarts(graph_), 0);
  const int threads = ThreadCount();
  HostMovieReleaseGraph(graph_);
  graph_ = nullptr;
  EXPECT_EQ(ThreadCountOnceSettledAt(threads - 1), threads - 1);
  EXPECT_EQ(MixLoudest(4410), 0);
}

TEST_F(MovieGraphTest, SoundWithoutPicturesOpensWithoutAVideoFormatAndBytesThatAreNoMovieDoNot) {
  MovieClip soundOnly;
  soundOnly.container = "mpeg";
  soundOnly.videoCodec = nullptr;
  soundOnly.audioCodec = "mp2";
  soundOnly.soundSeconds = 0.5;
  EXPECT_FALSE(Open(WriteMovieClip(soundOnly))) << "no sample";
  HostMovieVideoFormat format;
  EXPECT_FALSE(HostMovieGetVideoFormat(graph_, &format));
  EXPECT_GT(HostMovieGetStopPosition(graph_), 0) << "the file itself opened";
  HostMovieReleaseGraph(graph_);
  graph_ = nullptr;

  for (const std::string& bytes : {std::string(), std::string(4096, '\0'),
                                   std::string("plain text, neither image nor movie\r\n")}) {
    HostMovieGraph* graph = HostMovieCreateGraph(2);
    EXPECT_FALSE(HostMovieOpenReader(graph, MemoryMovieReader(bytes.data(), bytes.size()))) << bytes.size();
    HostMovieReleaseGraph(graph);
  }
}

// A playlist or a list of files could make a demuxer open other files (or
// addresses); a name's extension could make one take any file.
TEST_F(MovieGraphTest, AFileOpensNoOtherAndItsNameChoosesNoReader) {
  TestDirectory dir;
  ScopedCurrentDirectory inDir(dir.Path());
  dir.Write("clip.avi", WriteMovieClip(MovieClip{}));
  dir.Write("list.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nclip.avi\n#EXT-X-ENDLIST\n");
  dir.Write("list.ffconcat", "ffconcat version 1.0\nfile clip.avi\n");
  dir.Write("notes.txt", "plain text, neither image nor movie\r\n");
  for (const char* name : {"list.m3u8", "list.ffconcat", "notes.txt", "missing.avi"}) {
    HostMovieGraph* graph = HostMovieCreateGraph(2);
    HostMovieVideoFormat format;
    EXPECT_FALSE(HostMovieOpenFile(graph, name) && HostMovieGetVideoFormat(graph, &format)) << name;
    HostMovieReleaseGraph(graph);
  }
  graph_ = HostMovieCreateGraph(2);
  EXPECT_TRUE(HostMovieOpenFile(graph_, "CLIP.AVI")) << "game paths ignore letter case";
}

TEST_F(MovieGraphTest, CutAndDamagedFilesNeverHang) {
  std::vector<std::string> cases;
  for (const Format& f : kFormats) {
    const std::string bytes = WriteMovieClip(f.clip);
    if (bytes.empty()) continue;
    for (size_t cut : {size_t{100}, bytes.size() / 5, bytes.size() / 2, bytes.size() - 100}) {
      cases.push_back(bytes.substr(0, cut));
    }
    for (size_t at : {size_t{16}, bytes.size() / 3, bytes.size() / 2, bytes.size() - 50}) {
      std::string damaged = bytes;
      for (size_t i = at; i < at + 40 && i < damaged.size(); ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
      cases.push_back(damaged);
    }
  }
  for (const std::string& bytes : cases) {
    const auto start = std::chrono::steady_clock::now();
    HostMovieGraph* graph = HostMovieCreateGraph(3);
    if (HostMovieOpenReader(graph, MemoryMovieReader(bytes.data(), bytes.size()))) {
      HostMovieSample* sample = HostMovieCreateSample(graph, nullptr);
      HostMovieRun(graph);
      for (HostMovieTime at : {HostMovieTime{0}, 4 * kHostMovieTimePerSecond / 10, 60 * kHostMovieTimePerSecond}) {
        HostMovieSetPosition(graph, at);
        if (sample) HostMovieUpdateSample(sample, 200);
      }
    }
    HostMovieReleaseGraph(graph);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << bytes.size();
  }
}

}  // namespace
