// Movies: the colour conversion of one 640x480 frame, and the decode of a
// 640x480 clip in frames per second by the decoder's thread (every frame
// into the stock) beside libtheora decoding the same packets alone; the
// same for an MPEG-4 clip through the streaming-movie graph beside FFmpeg
// alone.

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
#include "runtime/host/movies/MovieGraph.h"
#include "tests/support/MemoryMovieReader.h"
#include "tests/support/MovieClipWriter.h"
#include "tests/support/MovieReference.h"
#include "tests/support/TheoraReference.h"
#include "tests/support/TheoraWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

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

// ---- Streaming movies ----

const std::string& Mpeg4Clip() {
  static const std::string clip = [] {
    MovieClip c;
    c.width = kWidth;
    c.height = kHeight;
    c.frames = kFrames;
    c.keyInterval = 16;
    c.quantizer = 4;
    return WriteMovieClip(c);
  }();
  return clip;
}

HostMovieGraph* OpenMpeg4Clip() {
  const std::string& clip = Mpeg4Clip();
  HostMovieGraph* graph = HostMovieCreateGraph(kFrames);
  HostMovieOpenReader(graph, MemoryMovieReader(clip.data(), clip.size()));
  return graph;
}

void WaitForFullStock(HostMovieGraph* graph) {
  while (HostMovieStockCount(graph) < kFrames) std::this_thread::sleep_for(std::chrono::microseconds(100));
}

// Open, then wait until the graph's thread has every frame in its stock:
// the decoder's picture buffers are new (and cleared) each time.
void BM_DecodeMpeg4ClipOursWithOpen(benchmark::State& state) {
  for (auto _ : state) {
    HostMovieGraph* graph = OpenMpeg4Clip();
    WaitForFullStock(graph);
    HostMovieReleaseGraph(graph);
  }
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
// Process time: the graph decodes on a thread of its own.
BENCHMARK(BM_DecodeMpeg4ClipOursWithOpen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// A seek to the start, then every frame into the stock again: the buffers
// come back from the decoder's pool, as they do while a movie plays.
void BM_DecodeMpeg4ClipOursAfterSeek(benchmark::State& state) {
  HostMovieGraph* graph = OpenMpeg4Clip();
  WaitForFullStock(graph);
  for (auto _ : state) {
    HostMovieSetPosition(graph, 0);
    WaitForFullStock(graph);
  }
  HostMovieReleaseGraph(graph);
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeMpeg4ClipOursAfterSeek)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// FFmpeg alone: open, read and decode every packet in the caller's thread.
void BM_DecodeMpeg4ClipFfmpegWithOpen(benchmark::State& state) {
  const std::string& clip = Mpeg4Clip();
  for (auto _ : state) {
    DecodeMovieClip(clip, [](const AVFrame* frame, int64_t) {
      benchmark::DoNotOptimize(frame->data[0]);
      return true;
    });
  }
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeMpeg4ClipFfmpegWithOpen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// FFmpeg alone on the same packets, read once beforehand: only the decoder.
void BM_DecodeMpeg4ClipFfmpegPackets(benchmark::State& state) {
  const std::string& clip = Mpeg4Clip();
  // Each with the zeroed tail the decoders read past the end.
  std::vector<std::string> packets;
  AVCodecParameters* parameters = avcodec_parameters_alloc();
  {
    HostMovieReader reader = MemoryMovieReader(clip.data(), clip.size());
    auto* buffer = static_cast<unsigned char*>(av_malloc(32768));
    AVIOContext* io = avio_alloc_context(
        buffer, 32768, 0, &reader,
        [](void* r, uint8_t* b, int n) {
          auto* in = static_cast<HostMovieReader*>(r);
          const int64_t got = in->read(in->context, b, n);
          return got > 0 ? static_cast<int>(got) : AVERROR_EOF;
        },
        nullptr, nullptr);
    AVFormatContext* format = avformat_alloc_context();
    format->pb = io;
    avformat_open_input(&format, "", nullptr, nullptr);
    avformat_find_stream_info(format, nullptr);
    avcodec_parameters_copy(parameters, format->streams[0]->codecpar);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
      std::string padded(reinterpret_cast<const char*>(packet->data), static_cast<size_t>(packet->size));
      padded.resize(padded.size() + AV_INPUT_BUFFER_PADDING_SIZE);
      packets.push_back(std::move(padded));
      av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    av_freep(&io->buffer);
    avio_context_free(&io);
    reader.close(reader.context);
  }
  const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  for (auto _ : state) {
    AVCodecContext* codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, parameters);
    codec->thread_count = 1;
    avcodec_open2(codec, decoder, nullptr);
    for (std::string& bytes : packets) {
      packet->data = reinterpret_cast<uint8_t*>(bytes.data());
      packet->size = static_cast<int>(bytes.size() - AV_INPUT_BUFFER_PADDING_SIZE);
      avcodec_send_packet(codec, packet);
      while (avcodec_receive_frame(codec, frame) == 0) benchmark::DoNotOptimize(frame->data[0]);
    }
    avcodec_send_packet(codec, nullptr);
    while (avcodec_receive_frame(codec, frame) == 0) benchmark::DoNotOptimize(frame->data[0]);
    avcodec_free_context(&codec);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_parameters_free(&parameters);
  state.counters["frames_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeMpeg4ClipFfmpegPackets)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
