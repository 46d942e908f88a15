#include "runtime/host/movies/MovieInput.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

#include <cerrno>
#include <cstdio>
#include <new>
#include <vector>

#include "runtime/host/files/HostFile.h"

namespace {

constexpr int kIoBufferBytes = 32768;
// What the search for streams and their parameters may read of a file.
constexpr int64_t kProbeBytes = int64_t{5} << 20;
constexpr int64_t kAnalyseMicroseconds = int64_t{5} * AV_TIME_BASE;
// A file stating more streams is no movie of a game.
constexpr unsigned kMaxStreams = 64;

}  // namespace

struct MovieInput {
  HostFile file = kNoHostFile;
  bool hasReader = false;
  HostMovieReader reader{};
  int64_t position = 0;
  int64_t size = -1;
  AVIOContext* io = nullptr;
};

namespace {

int ReadPacket(void* opaque, uint8_t* buffer, int size) {
  auto* in = static_cast<MovieInput*>(opaque);
  const int64_t got = in->hasReader ? in->reader.read(in->reader.context, buffer, size)
                                    : HostReadFileAt(in->file, buffer, static_cast<size_t>(size), in->position);
  if (got < 0) return AVERROR(EIO);
  if (got == 0) return AVERROR_EOF;
  in->position += got;
  return static_cast<int>(got);
}

int64_t SeekInput(void* opaque, int64_t offset, int whence) {
  auto* in = static_cast<MovieInput*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return in->size >= 0 ? in->size : AVERROR(ENOSYS);
  int64_t from = 0;
  if (whence == SEEK_CUR) {
    from = in->position;
  } else if (whence == SEEK_END) {
    if (in->size < 0) return AVERROR(ENOSYS);
    from = in->size;
  } else if (whence != SEEK_SET) {
    return AVERROR(EINVAL);
  }
  int64_t target = 0;
  if (__builtin_add_overflow(from, offset, &target) || target < 0) return AVERROR(EINVAL);
  if (in->hasReader && in->reader.seek(in->reader.context, target) != 0) return AVERROR(EIO);
  in->position = target;
  return target;
}

int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

MovieInput* WithIoContext(MovieInput* in) {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  if (buffer) in->io = avio_alloc_context(buffer, kIoBufferBytes, 0, in, ReadPacket, nullptr, SeekInput);
  if (!in->io) {
    av_free(buffer);
    CloseMovieInput(in);
    return nullptr;
  }
  return in;
}

}  // namespace

MovieInput* OpenMovieInputFile(const char* gamePath) {
  const HostFile file = HostOpenFileRead(gamePath);
  if (file == kNoHostFile) return nullptr;
  MovieInput* in = new (std::nothrow) MovieInput;
  if (!in) {
    HostCloseFile(file);
    return nullptr;
  }
  in->file = file;
  in->size = HostFileSize(file);
  return WithIoContext(in);
}

MovieInput* OpenMovieInputReader(const HostMovieReader& reader) {
  MovieInput* in = new (std::nothrow) MovieInput;
  if (!in) {
    if (reader.close) reader.close(reader.context);
    return nullptr;
  }
  in->hasReader = true;
  in->reader = reader;
  in->size = reader.size;
  return WithIoContext(in);
}

void CloseMovieInput(MovieInput* in) {
  if (!in) return;
  if (in->io) {
    av_freep(&in->io->buffer);
    avio_context_free(&in->io);
  }
  if (in->hasReader && in->reader.close) in->reader.close(in->reader.context);
  if (in->file != kNoHostFile) HostCloseFile(in->file);
  delete in;
}

AVFormatContext* OpenMovieDemuxer(MovieInput* in) {
  AVFormatContext* format = avformat_alloc_context();
  if (!format) return nullptr;
  format->pb = in->io;
  format->io_open = RefuseNestedOpen;
  format->probesize = kProbeBytes;
  format->max_analyze_duration = kAnalyseMicroseconds;
  format->max_streams = kMaxStreams;
  // Demuxers that open files of their own in contexts of their own (a list
  // of files) inherit this list, which names no protocol at all.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "none", 0);
  // No name: a name's extension would let a demuxer take any file (a text
  // file read as terminal art, for one).
  const int opened = avformat_open_input(&format, "", nullptr, &options);  // frees the context on failure
  av_dict_free(&options);
  if (opened < 0) return nullptr;
  // The decoders that look for the streams' parameters decode no picture
  // beyond the layer's size cap either.
  std::vector<AVDictionary*> streamOptions(format->nb_streams, nullptr);
  for (AVDictionary*& o : streamOptions) {
    av_dict_set_int(&o, "max_pixels", kHostMovieMaxPixels, 0);
    av_dict_set_int(&o, "threads", 1, 0);
  }
  const int found = avformat_find_stream_info(format, streamOptions.data());
  for (AVDictionary*& o : streamOptions) av_dict_free(&o);
  if (found < 0) {
    avformat_close_input(&format);
    return nullptr;
  }
  return format;
}
