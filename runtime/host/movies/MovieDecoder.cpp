#include "runtime/host/movies/MovieDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstdint>
#include <deque>
#include <new>
#include <thread>  // the waits' durations: <chrono> itself does not build with the CP932 charset
#include <vector>

#include "runtime/host/movies/MovieGraphState.h"

namespace {

constexpr AVRational kMediaTimeBase = {1, static_cast<int>(kHostMovieTimePerSecond)};
// Packets kept for one stream while the other is being waited for.
constexpr int64_t kQueueBytes = int64_t{16} << 20;
// The least room in the ring worth waking up for.
constexpr uint32_t kAudioStepFrames = 1024;
// Sound this close to where it belongs is written on as it comes.
constexpr int64_t kAudioSlackFrames = AudioRenderer::kRate / 100;
// Decoded sound frames longer than this are damage, not sound.
constexpr int64_t kLongestSoundFrames = int64_t{AudioRenderer::kRate} * 10;
// How far before a seek target the search for its key frame goes back
// when a seek lands after it; beyond the last, from the start.
constexpr HostMovieTime kKeySearchMargins[] = {kHostMovieTimePerSecond, 4 * kHostMovieTimePerSecond,
                                               16 * kHostMovieTimePerSecond, 64 * kHostMovieTimePerSecond};
constexpr int kKeySearchSteps = sizeof(kKeySearchMargins) / sizeof(kKeySearchMargins[0]);

class PacketQueue {
 public:
  ~PacketQueue() { Clear(); }
  bool Empty() const { return packets_.empty(); }
  bool Full() const { return bytes_ > kQueueBytes; }
  void Push(AVPacket* packet) {
    bytes_ += packet->size;
    packets_.push_back(packet);
  }
  AVPacket* Pop() {
    AVPacket* packet = packets_.front();
    packets_.pop_front();
    bytes_ -= packet->size;
    return packet;
  }
  void Clear() {
    for (AVPacket*& packet : packets_) av_packet_free(&packet);
    packets_.clear();
    bytes_ = 0;
  }

 private:
  std::deque<AVPacket*> packets_;
  int64_t bytes_ = 0;
};

HostMovieTime FramesToTime(int64_t frames) {
  return frames * kHostMovieTimePerSecond / AudioRenderer::kRate;
}

}  // namespace

struct MovieDecoder {
  HostMovieGraph* graph = nullptr;
  AVFormatContext* format = nullptr;
  int videoIndex = -1;
  int audioIndex = -1;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVRational videoTimeBase{0, 1};
  AVRational audioTimeBase{0, 1};
  HostMovieTime fileStart = 0;  // the file's first time, which media time counts from
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  AVFrame* held = nullptr;      // the latest picture at or before the target
  PacketQueue videoPackets;
  PacketQueue audioPackets;

  // The position being decoded: 0 the open's, then the graph's seek count.
  uint32_t serial = 0;
  HostMovieTime target = 0;
  int keySearchStep = 0;
  bool checkKey = false;        // the first key frame must not start after the target
  bool waitingForKey = false;   // pictures are decoded from a key frame on
  bool discarding = true;       // pictures before the target are not shown
  bool heldValid = false;
  HostMovieTime heldTime = 0;
  bool demuxEnded = false;
  bool videoFlushed = false;
  bool videoDone = false;
  bool audioFlushed = false;
  bool audioDone = false;
  HostMovieTime nextVideoTime = 0;  // for pictures without a time
  HostMovieTime nextAudioTime = 0;

  // Sound converted to the mixer's format, waiting to be written.
  SwrContext* swr = nullptr;
  int swrRate = 0;
  int swrFormat = -1;
  AVChannelLayout swrLayout{};
  std::vector<int16_t> chunk;
  int64_t chunkFrames = 0;
  int64_t chunkUsed = 0;
  HostMovieTime chunkTime = 0;
};

namespace {

HostMovieTime ToMediaTime(const MovieDecoder& d, int64_t ts, AVRational base, HostMovieTime fallback) {
  if (ts == AV_NOPTS_VALUE || base.num <= 0 || base.den <= 0) return fallback;
  const int64_t time = av_rescale_q(ts, base, kMediaTimeBase);
  if (time == INT64_MIN) return fallback;
  return SubtractTimes(time, d.fileStart);
}

int64_t FromMediaTime(const MovieDecoder& d, HostMovieTime time, AVRational base) {
  return av_rescale_q(AddTimes(time, d.fileStart), kMediaTimeBase, base);
}

AVCodecContext* OpenDecoder(const AVStream* stream) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  AVCodecContext* context = avcodec_alloc_context3(codec);
  if (!context) return nullptr;
  if (avcodec_parameters_to_context(context, stream->codecpar) < 0) {
    avcodec_free_context(&context);
    return nullptr;
  }
  context->thread_count = 1;  // the graph's own thread is the only one
  context->max_pixels = kHostMovieMaxPixels;
  context->pkt_timebase = stream->time_base;
  if (avcodec_open2(context, codec, nullptr) < 0) avcodec_free_context(&context);
  return context;
}

// ---- Handing results to the graph ----

bool CurrentPosition(const MovieDecoder& d) { return d.serial == d.graph->seekRequest; }

// Moves the picture into the stock when the position is still the same.
void Deliver(MovieDecoder& d, AVFrame* picture, HostMovieTime time) {
  AVFrame* kept = av_frame_alloc();
  if (kept) av_frame_move_ref(kept, picture);
  av_frame_unref(picture);
  if (!kept) return;
  HostMovieGraph& g = *d.graph;
  std::lock_guard<std::mutex> lock(g.mutex);
  if (!CurrentPosition(d)) {
    av_frame_free(&kept);
    return;
  }
  g.stock.Push(kept, time);
  g.frameArrived.notify_all();
}

void FinishVideo(MovieDecoder& d) {
  d.videoDone = true;
  if (d.discarding && d.heldValid) Deliver(d, d.held, d.heldTime);  // past the end: the last picture
  d.discarding = false;
  d.heldValid = false;
  HostMovieGraph& g = *d.graph;
  std::lock_guard<std::mutex> lock(g.mutex);
  if (!CurrentPosition(d)) return;
  g.videoEnded = true;
  g.frameArrived.notify_all();
}

// ---- Decoding ----

// Gives the decoder its next packet, or the end of the stream once the
// file has ended. False when a packet must be read first.
bool Feed(MovieDecoder& d, AVCodecContext* codec, PacketQueue& queue, bool& flushed, bool& done) {
  if (!queue.Empty()) {
    AVPacket* packet = queue.Pop();
    avcodec_send_packet(codec, packet);  // a damaged packet is passed over
    av_packet_free(&packet);
    return true;
  }
  if (!d.demuxEnded) return false;
  if (!flushed) {
    avcodec_send_packet(codec, nullptr);
    flushed = true;
  } else {
    done = true;  // the decoder answers neither a frame nor its end
  }
  return true;
}

void TakePicture(MovieDecoder& d) {
  const HostMovieTime time = ToMediaTime(d, d.frame->best_effort_timestamp, d.videoTimeBase, d.nextVideoTime);
  d.nextVideoTime = AddTimes(time, d.graph->video.timePerFrame);
  if (d.discarding) {
    if (time <= d.target) {
      av_frame_unref(d.held);
      av_frame_move_ref(d.held, d.frame);
      d.heldValid = true;
      d.heldTime = time;
      return;
    }
    d.discarding = false;
    if (d.heldValid) Deliver(d, d.held, d.heldTime);
    d.heldValid = false;
  }
  Deliver(d, d.frame, time);
}

// One picture decoded or one packet given to the decoder: true; false when
// a packet must be read first.
bool VideoStep(MovieDecoder& d) {
  const int got = avcodec_receive_frame(d.video, d.frame);
  if (got == 0) {
    TakePicture(d);
    return true;
  }
  if (got == AVERROR_EOF) {
    FinishVideo(d);
    return true;
  }
  bool done = false;
  const bool fed = Feed(d, d.video, d.videoPackets, d.videoFlushed, done);
  if (done) FinishVideo(d);
  return fed;
}

void ConvertSound(MovieDecoder& d) {
  AVFrame* f = d.frame;
  const int rate = f->sample_rate;
  d.chunkFrames = d.chunkUsed = 0;
  if (rate < 1000 || rate > 768000 || f->ch_layout.nb_channels < 1 || f->ch_layout.nb_channels > 64 ||
      f->nb_samples <= 0) {
    return;
  }
  if (!d.swr || d.swrRate != rate || d.swrFormat != f->format || av_channel_layout_compare(&d.swrLayout, &f->ch_layout)) {
    swr_free(&d.swr);
    av_channel_layout_uninit(&d.swrLayout);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&d.swr, &stereo, AV_SAMPLE_FMT_S16, AudioRenderer::kRate, &f->ch_layout,
                            static_cast<AVSampleFormat>(f->format), rate, 0, nullptr) < 0 ||
        swr_init(d.swr) < 0 || av_channel_layout_copy(&d.swrLayout, &f->ch_layout) < 0) {
      swr_free(&d.swr);
      return;
    }
    d.swrRate = rate;
    d.swrFormat = f->format;
  }
  const int64_t capacity = av_rescale_rnd(swr_get_delay(d.swr, rate) + f->nb_samples, AudioRenderer::kRate, rate,
                                          AV_ROUND_UP);
  if (capacity <= 0 || capacity > kLongestSoundFrames) return;
  d.chunk.resize(static_cast<size_t>(capacity) * AudioRenderer::kChannels);
  auto* out = reinterpret_cast<uint8_t*>(d.chunk.data());
  const int converted = swr_convert(d.swr, &out, static_cast<int>(capacity),
                                    const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
  if (converted <= 0) return;
  d.chunkTime = ToMediaTime(d, f->best_effort_timestamp, d.audioTimeBase, d.nextAudioTime);
  d.chunkFrames = converted;
  d.nextAudioTime = AddTimes(d.chunkTime, FramesToTime(converted));
}

// Writes what the ring takes of the waiting sound, padded or cut to where
// it belongs; silence when the sound has ended.
void WriteSound(MovieDecoder& d) {
  HostMovieGraph& g = *d.graph;
  std::lock_guard<std::mutex> lock(g.mutex);
  if (!CurrentPosition(d) || !g.audio) {
    d.chunkFrames = d.chunkUsed = 0;
    return;
  }
  AudioRenderer& renderer = *g.audio;
  const uint32_t room = renderer.Room();
  if (d.chunkUsed >= d.chunkFrames) {
    if (d.audioDone) renderer.Write(nullptr, room);
    return;
  }
  const int64_t left = d.chunkFrames - d.chunkUsed;
  const HostMovieTime at = AddTimes(d.chunkTime, FramesToTime(d.chunkUsed));
  const HostMovieTime gap = SubtractTimes(at, renderer.WriteTime());
  const int64_t offset = gap / kHostMovieTimePerSecond * AudioRenderer::kRate +
                         gap % kHostMovieTimePerSecond * AudioRenderer::kRate / kHostMovieTimePerSecond;
  if (offset > kAudioSlackFrames) {
    renderer.Write(nullptr, static_cast<uint32_t>(std::min<int64_t>(offset, room)));
  } else if (offset < -kAudioSlackFrames) {
    d.chunkUsed += std::min(-offset, left);
  } else {
    const uint32_t n = static_cast<uint32_t>(std::min<int64_t>(left, room));
    renderer.Write(&d.chunk[static_cast<size_t>(d.chunkUsed) * AudioRenderer::kChannels], n);
    d.chunkUsed += n;
  }
}

// The sound's next packet lies behind more pictures than are kept: it
// goes without for a step, so the clock and the pictures go on.
void StarveSound(MovieDecoder& d) {
  HostMovieGraph& g = *d.graph;
  std::lock_guard<std::mutex> lock(g.mutex);
  if (CurrentPosition(d) && g.audio) g.audio->Write(nullptr, kAudioStepFrames);
}

// Sound written, decoded or a packet given to the decoder: true; false
// when a packet must be read first.
bool AudioStep(MovieDecoder& d) {
  if (d.chunkUsed < d.chunkFrames || d.audioDone) {
    WriteSound(d);
    return true;
  }
  const int got = avcodec_receive_frame(d.audio, d.frame);
  if (got == 0) {
    ConvertSound(d);
    av_frame_unref(d.frame);
    return true;
  }
  if (got == AVERROR_EOF) {
    d.audioDone = true;
    return true;
  }
  return Feed(d, d.audio, d.audioPackets, d.audioFlushed, d.audioDone);
}

// ---- Reading and seeking ----

void SeekTo(MovieDecoder& d, HostMovieTime at);

// The key frame found starts after the target: go back further, or from
// the start. False when every step was tried.
bool RetreatForKeyFrame(MovieDecoder& d) {
  if (d.keySearchStep >= kKeySearchSteps) return false;
  const HostMovieTime at = SubtractTimes(d.target, kKeySearchMargins[d.keySearchStep++]);
  SeekTo(d, at < 0 ? 0 : at);
  return true;
}

// Reads one packet into its stream's queue. False once the file has ended.
bool ReadPacket(MovieDecoder& d) {
  if (d.demuxEnded) return false;
  if (av_read_frame(d.format, d.packet) < 0) {
    d.demuxEnded = true;
    return true;
  }
  AVPacket* p = d.packet;
  if (p->stream_index == d.videoIndex && d.video) {
    bool keep = true;
    if (d.waitingForKey) {
      keep = (p->flags & AV_PKT_FLAG_KEY) != 0;
      if (keep) {
        d.waitingForKey = false;
        const bool check = d.checkKey;
        d.checkKey = false;
        const int64_t ts = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
        if (check && ToMediaTime(d, ts, d.videoTimeBase, d.target) > d.target && RetreatForKeyFrame(d)) keep = false;
      }
    }
    AVPacket* queued = keep ? av_packet_clone(p) : nullptr;
    if (queued) d.videoPackets.Push(queued);
  } else if (p->stream_index == d.audioIndex && d.audio && !d.audioPackets.Full()) {
    // Beyond the limit the sound is not being played: what is dropped
    // becomes silence once it is.
    AVPacket* queued = av_packet_clone(p);
    if (queued) d.audioPackets.Push(queued);
  }
  av_packet_unref(p);
  return true;
}

void ResetDecoding(MovieDecoder& d, HostMovieTime at) {
  d.videoPackets.Clear();
  d.audioPackets.Clear();
  if (d.video) avcodec_flush_buffers(d.video);
  if (d.audio) avcodec_flush_buffers(d.audio);
  swr_free(&d.swr);
  d.chunkFrames = d.chunkUsed = 0;
  d.demuxEnded = false;
  d.videoFlushed = d.videoDone = !d.video;
  d.audioFlushed = d.audioDone = false;
  d.discarding = true;
  av_frame_unref(d.held);
  d.heldValid = false;
  d.nextVideoTime = d.nextAudioTime = at;
}

void SeekTo(MovieDecoder& d, HostMovieTime at) {
  ResetDecoding(d, at);
  const int stream = d.videoIndex >= 0 ? d.videoIndex : -1;
  const AVRational base = stream >= 0 ? d.videoTimeBase : AV_TIME_BASE_Q;
  if (at > 0 && av_seek_frame(d.format, stream, FromMediaTime(d, at, base), AVSEEK_FLAG_BACKWARD) >= 0) {
    d.waitingForKey = true;
    d.checkKey = true;
    return;
  }
  // From the start, as the file was read at the open.
  d.waitingForKey = false;
  d.checkKey = false;
  const int64_t first = d.format->start_time != AV_NOPTS_VALUE ? d.format->start_time : 0;
  if (av_seek_frame(d.format, -1, first, AVSEEK_FLAG_BACKWARD) < 0 &&
      av_seek_frame(d.format, -1, 0, AVSEEK_FLAG_BYTE) < 0) {
    d.demuxEnded = true;  // nothing more can be read
  }
}

void ServeSeek(MovieDecoder& d, HostMovieTime target) {
  d.target = target;
  d.keySearchStep = 0;
  SeekTo(d, target);
}

}  // namespace

MovieDecoder* CreateMovieDecoder(HostMovieGraph& graph, bool withAudio) {
  MovieDecoder* d = new (std::nothrow) MovieDecoder;
  if (!d) return nullptr;
  d->graph = &graph;
  d->format = graph.format;
  d->packet = av_packet_alloc();
  d->frame = av_frame_alloc();
  d->held = av_frame_alloc();
  if (!d->packet || !d->frame || !d->held) {
    DestroyMovieDecoder(d);
    return nullptr;
  }
  AVFormatContext* format = d->format;
  if (format->start_time != AV_NOPTS_VALUE) d->fileStart = av_rescale_q(format->start_time, AV_TIME_BASE_Q, kMediaTimeBase);
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* stream = format->streams[i];
    const AVMediaType type = stream->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_VIDEO && d->videoIndex < 0 && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
      d->videoIndex = static_cast<int>(i);
    } else if (type == AVMEDIA_TYPE_AUDIO && d->audioIndex < 0) {
      d->audioIndex = static_cast<int>(i);
    }
  }
  if (d->videoIndex >= 0) {
    AVStream* stream = format->streams[d->videoIndex];
    d->video = OpenDecoder(stream);
    if (!d->video) {
      DestroyMovieDecoder(d);  // a picture stream that cannot be decoded: the file does not render
      return nullptr;
    }
    d->videoTimeBase = stream->time_base;
    graph.video.width = stream->codecpar->width;
    graph.video.height = stream->codecpar->height;
    const AVRational rate = av_guess_frame_rate(format, stream, nullptr);
    if (rate.num > 0 && rate.den > 0) graph.video.timePerFrame = av_rescale(kHostMovieTimePerSecond, rate.den, rate.num);
    graph.hasVideo = graph.video.width > 0 && graph.video.height > 0;
    if (!graph.hasVideo) {
      avcodec_free_context(&d->video);
      d->videoIndex = -1;
    }
  }
  if (withAudio && d->audioIndex >= 0) {
    AVStream* stream = format->streams[d->audioIndex];
    d->audio = OpenDecoder(stream);
    d->audioTimeBase = stream->time_base;
    if (d->audio) graph.audio = AudioRenderer::Create();
    if (!graph.audio) avcodec_free_context(&d->audio);
  }
  if (!d->audio) d->audioIndex = -1;
  d->videoFlushed = d->videoDone = !d->video;
  graph.videoEnded = !graph.hasVideo;
  if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
    graph.stopPosition = av_rescale_q(format->duration, AV_TIME_BASE_Q, kMediaTimeBase);
  }
  return d;
}

void DestroyMovieDecoder(MovieDecoder* d) {
  if (!d) return;
  avcodec_free_context(&d->video);
  avcodec_free_context(&d->audio);
  av_packet_free(&d->packet);
  av_frame_free(&d->frame);
  av_frame_free(&d->held);
  swr_free(&d->swr);
  av_channel_layout_uninit(&d->swrLayout);
  delete d;
}

void RunMovieDecoder(void* argument) {
  HostMovieGraph& g = *static_cast<HostMovieGraph*>(argument);
  MovieDecoder& d = *g.decoder;
  std::unique_lock<std::mutex> lock(g.mutex);
  for (;;) {
    if (g.stopRequest) return;
    if (g.seekRequest != d.serial) {
      d.serial = g.seekRequest;
      const HostMovieTime target = g.seekTarget;
      lock.unlock();
      ServeSeek(d, target);
      lock.lock();
      continue;
    }
    const bool wantVideo = d.video && !d.videoDone && g.stock.HasRoom();
    const bool wantAudio = d.audio && g.audio && g.audio->Room() >= kAudioStepFrames;
    if (!wantVideo && !wantAudio) {
      // The mixer moves on without a word: while the sound plays, look
      // again soon.
      const bool playing = d.audio && g.state == kHostMovieRunning;
      g.wakeDecoder.wait_for(lock, std::chrono::milliseconds(playing ? 5 : 50));
      continue;
    }
    lock.unlock();
    const bool stepped = (wantVideo && VideoStep(d)) || (wantAudio && AudioStep(d));
    if (stepped) {
    } else if (!wantVideo && d.videoPackets.Full()) {
      StarveSound(d);
    } else {
      ReadPacket(d);
    }
    lock.lock();
  }
}
