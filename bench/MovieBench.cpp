// Movies: the colour conversion of one 640x480 frame, and the decode of a
// 640x480 clip in frames per second by the decoder's thread (every frame
// into the stock) beside libtheora decoding the same packets alone.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/movies/TheoraDecoder.h"
#include "runtime/graphics/movies/YuvTables.h"
#include "tests/support/TheoraReference.h"
#include "tests/support/TheoraWriter.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 48;

const std::string& Clip() {
  static const std::string clip = [] {
    TheoraClip c;
    c.width = kWidth;
    c.height = kHeight;
    c.frames = kFrames;
    c.keyInterval = 16;
    c.framesPerPage = 0;
    c.quality = 40;
    return WriteTheoraClip(c);
  }();
  return clip;
}

void BM_YuvToXrgb640x480(benchmark::State& state) {
  InitYuvTables();
  std::mt19937 random(3);
  std::vector<uint8_t> y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4);
  for (auto* plane : {&y, &u, &v}) {
    for (uint8_t& b : *plane) b = static_cast<uint8_t>(random());
  }
  GraphImage image;
  CreateXrgbGraphImage(kWidth, kHeight, &image);
  for (auto _ : state) {
    ConvertYuvToXrgb({y.data(), kWidth, kHeight, kWidth}, {u.data(), kWidth / 2, kHeight / 2, kWidth / 2},
                     {v.data(), kWidth / 2, kHeight / 2, kWidth / 2}, image.pixels, image.pitch, kWidth, kHeight);
    benchmark::DoNotOptimize(image.pixels);
  }
  FreeGraphImage(&image);
}
BENCHMARK(BM_YuvToXrgb640x480)->Unit(benchmark::kMillisecond);

// Open, then wait until the thread has every frame of the clip in its stock.
void BM_DecodeClipOurs(benchmark::State& state) {
  InitYuvTables();
  const std::string& clip = Clip();
  for (auto _ : state) {
    MemStream* stream = MemStreamOpen(clip.data(), static_cast<uint32_t>(clip.size()));
    TheoraDecoder* decoder = OpenTheoraDecoder(GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(stream), kFrames);
    while (!IsTheoraStockFull(decoder)) std::this_thread::yield();
    CloseTheoraDecoder(decoder);
    MemStreamClose(reinterpret_cast<StreamHandle>(stream));
  }
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeClipOurs)->Unit(benchmark::kMillisecond)->UseRealTime();

// libtheora alone: headers, then every packet decoded and its picture taken.
void BM_DecodeClipLibtheora(benchmark::State& state) {
  const std::string& clip = Clip();
  for (auto _ : state) {
    DecodeTheoraClip(clip, [](int, th_ycbcr_buffer planes) {
      benchmark::DoNotOptimize(planes[0].data);
      return true;
    });
  }
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeClipLibtheora)->Unit(benchmark::kMillisecond);

}  // namespace
