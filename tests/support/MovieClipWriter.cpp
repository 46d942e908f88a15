#include "tests/support/MovieClipWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The blocks' colours in limited-range BT.601: red, green, blue.
constexpr uint8_t kBlockY[3] = {81, 145, 41};
constexpr uint8_t kBlockU[3] = {90, 54, 240};
constexpr uint8_t kBlockV[3] = {240, 34, 110};

int BlockAt(int x, int y, int width) {
  if (width < 64 || y >= 16 || x >= 48) return -1;
  return x / 16;
}

// An output that can seek back, as the AVI and ASF muxers do.
struct MemoryOutput {
  std::string bytes;
  int64_t position = 0;
};

int WriteOut(void* opaque, uint8_t* data, int size) {
  auto* out = static_cast<MemoryOutput*>(opaque);
  const size_t end = static_cast<size_t>(out->position) + static_cast<size_t>(size);
  if (out->bytes.size() < end) out->bytes.resize(end);
  std::memcpy(&out->bytes[static_cast<size_t>(out->position)], data, static_cast<size_t>(size));
  out->position += size;
  return size;
}

int64_t SeekOut(void* opaque, int64_t offset, int whence) {
  auto* out = static_cast<MemoryOutput*>(opaque);
  if ((whence & ~AVSEEK_FORCE) == AVSEEK_SIZE) return static_cast<int64_t>(out->bytes.size());
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: out->position = offset; break;
    case SEEK_CUR: out->position += offset; break;
    case SEEK_END: out->position = static_cast<int64_t>(out->bytes.size()) + offset; break;
    default: return -1;
  }
  return out->position;
}

struct Encoding {
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
};

class ClipMaker {
 public:
  explicit ClipMaker(const MovieClip& clip) : clip_(clip) {}
  ~ClipMaker() {
    avcodec_free_context(&video_.codec);
    avcodec_free_context(&audio_.codec);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    if (io_) {
      av_freep(&io_->buffer);
      avio_context_free(&io_);
    }
    avformat_free_context(format_);
  }

  std::string Make() {
    av_log_set_level(AV_LOG_QUIET);
    if (avformat_alloc_output_context2(&format_, nullptr, clip_.container, nullptr) < 0) return "";
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!frame_ || !packet_) return "";
    if (clip_.videoCodec && !AddVideo()) return "";
    if (clip_.audioCodec && !AddAudio()) return "";
    auto* buffer = static_cast<unsigned char*>(av_malloc(65536));
    io_ = avio_alloc_context(buffer, 65536, 1, &output_, nullptr, WriteOut, SeekOut);
    if (!io_) return "";
    format_->pb = io_;
    if (avformat_write_header(format_, nullptr) < 0) return "";
    const double soundSeconds =
        clip_.soundSeconds >= 0 ? clip_.soundSeconds : static_cast<double>(clip_.frames) / clip_.framesPerSecond;
    const int64_t soundSamples = static_cast<int64_t>(soundSeconds * clip_.sampleRate);
    const int pictures = clip_.videoCodec ? clip_.frames : 0;
    for (int n = 0; n <= pictures; ++n) {
      // Sound up to the end of this picture, then the picture.
      const int64_t soundUntil =
          n == pictures ? soundSamples
                        : std::min(soundSamples, int64_t{n + 1} * clip_.sampleRate / clip_.framesPerSecond);
      while (audio_.codec && soundWritten_ < soundUntil) {
        if (!EncodeSound(soundSamples)) return "";
      }
      if (n < pictures && !EncodePicture(n)) return "";
    }
    if (video_.codec && !Drain(video_, nullptr)) return "";
    if (audio_.codec && !Drain(audio_, nullptr)) return "";
    if (av_write_trailer(format_) < 0) return "";
    avio_flush(io_);
    return output_.bytes;
  }

 private:
  AVCodecContext* NewCodec(const char* name, Encoding& encoding) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) return nullptr;
    encoding.codec = avcodec_alloc_context3(codec);
    encoding.stream = avformat_new_stream(format_, nullptr);
    if (!encoding.codec || !encoding.stream) return nullptr;
    encoding.codec->thread_count = 1;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) encoding.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return encoding.codec;
  }

  bool Open(Encoding& encoding) {
    if (avcodec_open2(encoding.codec, encoding.codec->codec, nullptr) < 0) return false;
    encoding.stream->time_base = encoding.codec->time_base;
    return avcodec_parameters_from_context(encoding.stream->codecpar, encoding.codec) >= 0;
  }

  bool AddVideo() {
    AVCodecContext* c = NewCodec(clip_.videoCodec, video_);
    if (!c) return false;
    c->width = clip_.width;
    c->height = clip_.height;
    c->time_base = {1, clip_.framesPerSecond};
    c->framerate = {clip_.framesPerSecond, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = clip_.keyInterval;
    c->max_b_frames = clip_.bFrames;
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * clip_.quantizer;
    return Open(video_);
  }

  bool AddAudio() {
    AVCodecContext* c = NewCodec(clip_.audioCodec, audio_);
    if (!c) return false;
    c->sample_fmt = c->codec->sample_fmts ? c->codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = clip_.sampleRate;
    av_channel_layout_default(&c->ch_layout, clip_.channels);
    c->bit_rate = 128000;
    c->time_base = {1, clip_.sampleRate};
    return Open(audio_);
  }

  bool EncodePicture(int n) {
    av_frame_unref(frame_);
    frame_->format = AV_PIX_FMT_YUV420P;
    frame_->width = clip_.width;
    frame_->height = clip_.height;
    if (av_frame_get_buffer(frame_, 0) < 0) return false;
    for (int y = 0; y < clip_.height; ++y) {
      for (int x = 0; x < clip_.width; ++x) frame_->data[0][y * frame_->linesize[0] + x] = ClipLuma(n, x, y, clip_.width);
    }
    for (int y = 0; y < (clip_.height + 1) / 2; ++y) {
      for (int x = 0; x < (clip_.width + 1) / 2; ++x) {
        frame_->data[1][y * frame_->linesize[1] + x] = ClipChromaU(n, x, y, clip_.width);
        frame_->data[2][y * frame_->linesize[2] + x] = ClipChromaV(n, x, y, clip_.width);
      }
    }
    frame_->pts = n;
    return Drain(video_, frame_);
  }

  bool EncodeSound(int64_t total) {
    AVCodecContext* c = audio_.codec;
    const int size = c->frame_size > 0 ? c->frame_size : 1024;
    av_frame_unref(frame_);
    frame_->format = c->sample_fmt;
    frame_->sample_rate = c->sample_rate;
    frame_->nb_samples = size;
    if (av_channel_layout_copy(&frame_->ch_layout, &c->ch_layout) < 0 || av_frame_get_buffer(frame_, 0) < 0) {
      return false;
    }
    const int channels = c->ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(c->sample_fmt);
    for (int i = 0; i < size; ++i) {
      const int64_t t = soundWritten_ + i;
      const double value = t < total ? 0.3 * std::sin(2 * M_PI * 440.0 * static_cast<double>(t) / c->sample_rate) : 0;
      for (int ch = 0; ch < channels; ++ch) {
        const int plane = planar ? ch : 0;
        const int index = planar ? i : i * channels + ch;
        switch (c->sample_fmt) {
          case AV_SAMPLE_FMT_S16:
          case AV_SAMPLE_FMT_S16P:
            reinterpret_cast<int16_t*>(frame_->data[plane])[index] = static_cast<int16_t>(value * 32767);
            break;
          case AV_SAMPLE_FMT_FLT:
          case AV_SAMPLE_FMT_FLTP:
            reinterpret_cast<float*>(frame_->data[plane])[index] = static_cast<float>(value);
            break;
          default:
            return false;
        }
      }
    }
    frame_->pts = soundWritten_;
    soundWritten_ += size;
    return Drain(audio_, frame_);
  }

  // Sends the frame (null: the end) and writes every packet that comes.
  bool Drain(Encoding& encoding, AVFrame* frame) {
    if (avcodec_send_frame(encoding.codec, frame) < 0) return false;
    for (;;) {
      const int got = avcodec_receive_packet(encoding.codec, packet_);
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
      if (got < 0) return false;
      // Containers that keep sample durations would cut the last picture short.
      if (packet_->duration == 0 && encoding.codec->codec_type == AVMEDIA_TYPE_VIDEO) packet_->duration = 1;
      av_packet_rescale_ts(packet_, encoding.codec->time_base, encoding.stream->time_base);
      packet_->stream_index = encoding.stream->index;
      if (av_interleaved_write_frame(format_, packet_) < 0) return false;
    }
  }

  const MovieClip& clip_;
  AVFormatContext* format_ = nullptr;
  AVIOContext* io_ = nullptr;
  MemoryOutput output_;
  Encoding video_;
  Encoding audio_;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int64_t soundWritten_ = 0;
};

}  // namespace

uint8_t ClipLuma(int frame, int x, int y, int width) {
  const int block = BlockAt(x, y, width);
  if (block >= 0) return kBlockY[block];
  return static_cast<uint8_t>(16 + ((x + y + 3 * frame) * 4) % 220);
}

uint8_t ClipChromaU(int frame, int x, int y, int width) {
  const int block = BlockAt(2 * x, 2 * y, width);
  if (block >= 0) return kBlockU[block];
  return static_cast<uint8_t>(96 + (2 * x + frame) % 64);
}

uint8_t ClipChromaV(int frame, int x, int y, int width) {
  const int block = BlockAt(2 * x, 2 * y, width);
  if (block >= 0) return kBlockV[block];
  return static_cast<uint8_t>(96 + (2 * y + 2 * frame) % 64);
}

std::string WriteMovieClip(const MovieClip& clip) { return ClipMaker(clip).Make(); }
