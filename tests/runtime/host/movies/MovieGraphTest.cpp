// The streaming-movie stand-in against FFmpeg's own decode of clips made by
// FFmpeg's encoders: the frames it shows, seeks, the clock with and without
// sound, and files that are damaged or no movie at all.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>  // steady_clock (<chrono> itself does not build with the CP932 charset)
#include <vector>

#include "runtime/host/movies/MovieGraph.h"
#include "runtime/host/sound/SoundDevice.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FakeClock.h"
#include "tests/support/MovieClipWriter.h"
#include "tests/support/MovieReference.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/ThreadCount.h"

namespace {

constexpr HostMovieTime kMs = kHostMovieTimePerSecond / 1000;

// The bytes of a clip handed to a graph as a reader.
struct MemoryReader {
  std::string bytes;
  int64_t position = 0;

  static HostMovieReader Over(const std::string& bytes) {
    auto* r = new MemoryReader{bytes, 0};
    return {r, Read, Seek, static_cast<int64_t>(bytes.size()), Close};
  }
  static int64_t Read(void* context, uint8_t* buffer, int64_t n) {
    auto* r = static_cast<MemoryReader*>(context);
    const int64_t left = static_cast<int64_t>(r->bytes.size()) - r->position;
    const int64_t got = left < n ? (left > 0 ? left : 0) : n;
    std::memcpy(buffer, r->bytes.data() + r->position, static_cast<size_t>(got));
    r->position += got;
    return got;
  }
  static int Seek(void* context, int64_t offset) {
    static_cast<MemoryReader*>(context)->position = offset;
    return 0;
  }
  static void Close(void* context) { delete static_cast<MemoryReader*>(context); }
};

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
    graph_ = HostMovieCreateGraph(stock);
    if (withSound) HostMovieRenderAudio(graph_);
    if (!HostMovieOpenReader(graph_, MemoryReader::Over(bytes))) return false;
    sample_ = HostMovieCreateSample(graph_, nullptr);
    return sample_ != nullptr;
  }

  std::vector<uint8_t> Shown() const { return SurfaceBytes(HostMovieViewSurface(HostMovieSampleSurface(sample_))); }

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

}  // namespace
