#include "tests/support/MovieReference.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <cstring>

namespace {

struct MemoryInput {
  const std::string* bytes;
  int64_t position;
};

int ReadIn(void* opaque, uint8_t* buffer, int size) {
  auto* in = static_cast<MemoryInput*>(opaque);
  const int64_t left = static_cast<int64_t>(in->bytes->size()) - in->position;
  if (left <= 0) return AVERROR_EOF;
  const int n = static_cast<int>(left < size ? left : size);
  std::memcpy(buffer, in->bytes->data() + in->position, static_cast<size_t>(n));
  in->position += n;
  return n;
}

int64_t SeekIn(void* opaque, int64_t offset, int whence) {
  auto* in = static_cast<MemoryInput*>(opaque);
  const int64_t size = static_cast<int64_t>(in->bytes->size());
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return size;
    case SEEK_SET: in->position = offset; break;
    case SEEK_CUR: in->position += offset; break;
    case SEEK_END: in->position = size + offset; break;
    default: return -1;
  }
  return in->position;
}

}  // namespace

bool DecodeMovieClip(const std::string& bytes, const std::function<bool(const AVFrame*, int64_t time)>& picture) {
  av_log_set_level(AV_LOG_QUIET);
  MemoryInput in{&bytes, 0};
  auto* buffer = static_cast<unsigned char*>(av_malloc(32768));
  AVIOContext* io = avio_alloc_context(buffer, 32768, 0, &in, ReadIn, nullptr, SeekIn);
  AVFormatContext* format = avformat_alloc_context();
  format->pb = io;
  bool opened = avformat_open_input(&format, "", nullptr, nullptr) >= 0;
  if (opened && avformat_find_stream_info(format, nullptr) < 0) {
    avformat_close_input(&format);
    opened = false;
  }
  int index = -1;
  AVCodecContext* codec = nullptr;
  if (opened) {
    for (unsigned i = 0; i < format->nb_streams && index < 0; ++i) {
      if (format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) index = static_cast<int>(i);
    }
  }
  if (index >= 0) {
    const AVStream* stream = format->streams[index];
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    codec = decoder ? avcodec_alloc_context3(decoder) : nullptr;
    if (codec) {
      avcodec_parameters_to_context(codec, stream->codecpar);
      codec->thread_count = 1;
      codec->pkt_timebase = stream->time_base;
      if (avcodec_open2(codec, decoder, nullptr) < 0) avcodec_free_context(&codec);
    }
  }
  const bool decodable = codec != nullptr;
  if (codec) {
    const AVRational base = format->streams[index]->time_base;
    const int64_t start =
        format->start_time != AV_NOPTS_VALUE ? av_rescale_q(format->start_time, AV_TIME_BASE_Q, {1, 10000000}) : 0;
    // A picture without a time follows the one before by a frame's time.
    const AVRational rate = av_guess_frame_rate(format, format->streams[index], nullptr);
    const int64_t frameTime = rate.num > 0 && rate.den > 0 ? av_rescale(10000000, rate.den, rate.num) : 0;
    int64_t next = 0;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool going = true;
    bool ended = false;
    while (going) {
      const int got = avcodec_receive_frame(codec, frame);
      if (got == 0) {
        const int64_t stamp = frame->best_effort_timestamp;
        const int64_t time = stamp == AV_NOPTS_VALUE ? next : av_rescale_q(stamp, base, {1, 10000000}) - start;
        next = time + frameTime;
        going = picture(frame, time);
        av_frame_unref(frame);
      } else if (got == AVERROR_EOF) {
        going = false;
      } else if (ended) {
        going = false;
      } else if (av_read_frame(format, packet) < 0) {
        avcodec_send_packet(codec, nullptr);
        ended = true;
      } else {
        if (packet->stream_index == index) avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
      }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
  }
  if (opened) avformat_close_input(&format);
  avformat_free_context(format);
  av_freep(&io->buffer);
  avio_context_free(&io);
  return decodable;
}

std::vector<ReferencePicture> DecodeMovieClipPictures(const std::string& bytes) {
  std::vector<ReferencePicture> pictures;
  DecodeMovieClip(bytes, [&](const AVFrame* frame, int64_t time) {
    ReferencePicture p{time, frame->width, frame->height, {}};
    p.bgra.resize(static_cast<size_t>(p.width) * p.height * 4);
    SwsContext* scaler = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                        frame->width, frame->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                        nullptr);
    uint8_t* planes[4] = {p.bgra.data(), nullptr, nullptr, nullptr};
    const int pitches[4] = {p.width * 4, 0, 0, 0};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, pitches);
    sws_freeContext(scaler);
    pictures.push_back(std::move(p));
    return true;
  });
  return pictures;
}
