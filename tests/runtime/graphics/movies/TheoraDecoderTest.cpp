#include <gtest/gtest.h>
#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <cstring>
#include <string>
#include <thread>  // steady_clock (<chrono> itself does not build with the CP932 charset)
#include <vector>

#include "runtime/graphics/movies/TheoraDecoder.h"
#include "runtime/graphics/movies/YuvTables.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/base/LogFixture.h"
#include "tests/support/TheoraReference.h"
#include "tests/support/TheoraWriter.h"
#include "tests/support/ThreadCount.h"

namespace {

// A decoder over an Ogg file in memory; the stream outlives the decoder.
class OpenMovie {
 public:
  explicit OpenMovie(const std::string& bytes, int stock = 10) : bytes_(bytes) {
    stream_ = MemStreamOpen(bytes_.data(), static_cast<uint32_t>(bytes_.size()));
    decoder_ = OpenTheoraDecoder(GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(stream_), stock);
  }
  ~OpenMovie() {
    CloseTheoraDecoder(decoder_);
    MemStreamClose(reinterpret_cast<StreamHandle>(stream_));
  }
  TheoraDecoder* get() const { return decoder_; }
  int64_t Position() const { return MemStreamTell(reinterpret_cast<StreamHandle>(stream_)); }

 private:
  std::string bytes_;
  MemStream* stream_;
  TheoraDecoder* decoder_;
};

struct Packets {
  std::vector<uint8_t> keyFlags;
  int pagesCompletingVideo = 0;
};

// Every video packet of the file and the pages they complete in, walked
// with libogg alone.
Packets WalkVideoPackets(const std::string& bytes) {
  Packets result;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
  std::memcpy(buffer, bytes.data(), bytes.size());
  ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
  ogg_stream_state stream;
  bool started = false;
  ogg_page page;
  while (ogg_sync_pageout(&sync, &page) > 0) {
    if (!started) {
      if (ogg_page_serialno(&page) != 0x7E0) continue;
      ogg_stream_init(&stream, 0x7E0);
      started = true;
    }
    if (ogg_stream_pagein(&stream, &page) != 0) continue;
    bool completes = false;
    ogg_packet packet;
    while (ogg_stream_packetout(&stream, &packet) > 0) {
      if (th_packet_isheader(&packet)) continue;
      result.keyFlags.push_back(th_packet_iskeyframe(&packet) == 1);
      completes = true;
    }
    result.pagesCompletingVideo += completes;
  }
  if (started) ogg_stream_clear(&stream);
  ogg_sync_clear(&sync);
  return result;
}

// Frame `frame` decoded by libtheora alone, from the start, and converted
// with the conversion's formulas written out per pixel: B, G, R, 255.
std::vector<uint8_t> ReferenceFrame(const std::string& bytes, int frame, int* width, int* height) {
  auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
  std::vector<uint8_t> pixels;
  DecodeTheoraClip(bytes, [&](int number, th_ycbcr_buffer planes) {
    if (number < frame) return true;
    *width = planes[0].width;
    *height = planes[0].height;
    pixels.resize(static_cast<size_t>(*width) * *height * 4);
    for (int y = 0; y < *height; ++y) {
      for (int x = 0; x < *width; ++x) {
        const int luma = 19070 * (planes[0].data[y * planes[0].stride + x] - 16);
        const int u = planes[1].data[(y / 2) * planes[1].stride + x / 2] - 128;
        const int v = planes[2].data[(y / 2) * planes[2].stride + x / 2] - 128;
        uint8_t* out = &pixels[(static_cast<size_t>(y) * *width + x) * 4];
        out[0] = clamp((luma + 33062 * u) / 16384);
        out[1] = clamp((luma - 6406 * u - 13320 * v) / 16384);
        out[2] = clamp((luma + 26148 * v) / 16384);
        out[3] = 255;
      }
    }
    return false;
  });
  return pixels;
}

std::vector<uint8_t> ImagePixels(const GraphImage& image) {
  std::vector<uint8_t> pixels;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* row = image.pixels + static_cast<size_t>(y) * image.pitch;
    pixels.insert(pixels.end(), row, row + image.width * 4);
  }
  return pixels;
}

class TheoraDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { InitYuvTables(); }
  void TearDown() override { EXPECT_EQ(TrackedBlockCount(), blocksBefore_) << "every block is freed on close"; }

  void ExpectShowsFrame(const std::string& bytes, TheoraDecoder* decoder, int frame) {
    int width = 0, height = 0;
    const std::vector<uint8_t> expected = ReferenceFrame(bytes, frame, &width, &height);
    const GraphImage* image = GetTheoraFrameImage(decoder);
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(image->height, height);
    EXPECT_TRUE(ImagePixels(*image) == expected) << "frame " << frame;
  }

  int blocksBefore_ = TrackedBlockCount();
};

TEST_F(TheoraDecoderTest, AFileNotStartingWithOggSGivesNoDecoderAfterFourBytes) {
  OpenMovie movie(std::string("RIFF") + std::string(4000, 'x'));
  EXPECT_EQ(movie.get(), nullptr);
  EXPECT_EQ(movie.Position(), 4);
}

TEST_F(TheoraDecoderTest, TheIndexHasAFlagPerFrameAndAnEntryPerPageCompletingVideo) {
  TheoraClip clip;
  clip.frames = 25;
  clip.framesPerPage = 3;
  const std::string bytes = WriteTheoraClip(clip);
  const Packets walked = WalkVideoPackets(bytes);
  OpenMovie movie(bytes);
  ASSERT_NE(movie.get(), nullptr);

  TheoraInfo info;
  GetTheoraInfo(movie.get(), &info);
  EXPECT_EQ(info.frameCount, 25);
  EXPECT_EQ(info.width, 64);
  EXPECT_EQ(info.height, 48);
  EXPECT_DOUBLE_EQ(info.framesPerSecond, 30.0);
  ASSERT_EQ(walked.keyFlags.size(), 25u);
  EXPECT_EQ(std::vector<uint8_t>(TheoraKeyFrameFlags(movie.get()), TheoraKeyFrameFlags(movie.get()) + 25),
            walked.keyFlags);
  EXPECT_EQ(walked.keyFlags[0], 1);
  ASSERT_EQ(TheoraPageEntryCount(movie.get()), walked.pagesCompletingVideo);
  const TheoraPageEntry* entries = TheoraPageEntries(movie.get());
  EXPECT_EQ(entries[0].offset, 0u);
  uint32_t frames = 0;
  for (int i = 0; i < TheoraPageEntryCount(movie.get()); ++i) {
    EXPECT_EQ(entries[i].firstFrame, frames) << "entry " << i;
    if (i > 0) {
      EXPECT_EQ(std::string(bytes, entries[i].offset, 4), "OggS") << "entry " << i;
    }
    frames += entries[i].frames;
  }
  EXPECT_EQ(frames, 25u);
}

TEST_F(TheoraDecoderTest, TheOpenShowsFrameZeroThroughTheTablesAndConvertsItOnce) {
  TheoraClip clip;
  clip.width = 60;  // coded 64 x 48: the image has the coded size
  clip.height = 44;
  const std::string bytes = WriteTheoraClip(clip);
  OpenMovie movie(bytes);
  ASSERT_NE(movie.get(), nullptr);
  ExpectShowsFrame(bytes, movie.get(), 0);
  EXPECT_EQ(GetTheoraFrame(movie.get(), 1, 0), 0) << "already converted";
  EXPECT_EQ(GetTheoraYuvSurface(movie.get()), nullptr);
}

TEST_F(TheoraDecoderTest, SeeksReachKeyFramesAndFramesBetweenThem) {
  TheoraClip clip;
  clip.frames = 30;
  clip.keyInterval = 8;
  const std::string bytes = WriteTheoraClip(clip);
  OpenMovie movie(bytes, 4);
  ASSERT_NE(movie.get(), nullptr);
  for (int frame : {8, 11, 23, 3, 29, 0}) {
    SeekTheoraDecoder(movie.get(), frame);
    ASSERT_EQ(GetTheoraFrame(movie.get(), 1, 0), 1) << frame;
    ExpectShowsFrame(bytes, movie.get(), frame);
  }
  SeekTheoraDecoder(movie.get(), 500);  // past the end: the last frame
  ASSERT_EQ(GetTheoraFrame(movie.get(), 1, 0), 1);
  ExpectShowsFrame(bytes, movie.get(), 29);
}

TEST_F(TheoraDecoderTest, AMovieWithAnotherStreamBesideDecodesTheSame) {
  TheoraClip clip;
  clip.withVorbis = true;
  const std::string bytes = WriteTheoraClip(clip);
  OpenMovie movie(bytes);
  ASSERT_NE(movie.get(), nullptr);
  ExpectShowsFrame(bytes, movie.get(), 0);
  SeekTheoraDecoder(movie.get(), 17);
  ASSERT_EQ(GetTheoraFrame(movie.get(), 1, 0), 1);
  ExpectShowsFrame(bytes, movie.get(), 17);
}

TEST_F(TheoraDecoderTest, HeadersWithoutFramesGiveNoFrameAndNoWait) {
  TheoraClip clip;
  clip.frames = 0;
  OpenMovie movie(WriteTheoraClip(clip));
  ASSERT_NE(movie.get(), nullptr);
  TheoraInfo info;
  GetTheoraInfo(movie.get(), &info);
  EXPECT_EQ(info.frameCount, 0);
  const auto start = std::chrono::steady_clock::now();
  SeekTheoraDecoder(movie.get(), 3);
  EXPECT_EQ(GetTheoraFrame(movie.get(), 1, 1), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(TheoraDecoderTest, CloseEndsTheDecodeThread) {
  // A thread sanitizer starts a thread of its own with the first one; let
  // the first one leave the task list before counting.
  std::thread([] {}).join();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const int before = ThreadCount();
  {
    OpenMovie movie(WriteTheoraClip(TheoraClip{}));
    ASSERT_NE(movie.get(), nullptr);
    EXPECT_EQ(ThreadCount(), before + 1);
  }
  EXPECT_EQ(ThreadCountOnceSettledAt(before), before);
}

// Cut and damaged files: whatever opens answers every call without hanging.
TEST_F(TheoraDecoderTest, CutAndDamagedFilesNeverHang) {
  TheoraClip clip;
  clip.frames = 12;
  const std::string bytes = WriteTheoraClip(clip);
  std::vector<std::string> cases;
  for (size_t cut : {bytes.size() / 5, bytes.size() / 2, bytes.size() - 100}) cases.push_back(bytes.substr(0, cut));
  for (size_t at : {bytes.size() / 3, bytes.size() / 2, bytes.size() - 50}) {
    std::string damaged = bytes;
    for (size_t i = at; i < at + 40 && i < damaged.size(); ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    cases.push_back(damaged);
  }
  for (const std::string& bytesOfCase : cases) {
    const auto start = std::chrono::steady_clock::now();
    OpenMovie movie(bytesOfCase);
    if (!movie.get()) continue;
    TheoraInfo info;
    GetTheoraInfo(movie.get(), &info);
    SeekTheoraDecoder(movie.get(), static_cast<int32_t>(info.frameCount - 1));
    GetTheoraFrame(movie.get(), 1, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << bytesOfCase.size();
  }
}

using TheoraDecoderLogTest = LogFixture;

TEST_F(TheoraDecoderLogTest, AnOggFileWithoutTheoraSaysSoAndStartsNoThread) {
  TheoraClip clip;
  clip.withTheora = false;
  const int before = ThreadCount();
  OpenMovie movie(WriteTheoraClip(clip));
  EXPECT_EQ(movie.get(), nullptr);
  EXPECT_NE(LogText().find("End of file while searching for codec headers."), std::string::npos);
  EXPECT_EQ(ThreadCount(), before);
}

}  // namespace
