#include "runtime/host/sound/MpegAudioStream.h"

#include <mpg123.h>

#include <mutex>

struct HostMpegStream {
  mpg123_handle* handle;
};

namespace {

void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

HostMpegStream* HostMpegOpen(uint32_t rate, int channels) {
  InitLibrary();
  int error = 0;
  mpg123_handle* h = mpg123_new(nullptr, &error);
  if (!h) return nullptr;
  const bool ok = mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME, 0) == MPG123_OK &&
                  mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0) == MPG123_OK &&
                  mpg123_param(h, MPG123_RESYNC_LIMIT, -1, 0) == MPG123_OK && mpg123_format_none(h) == MPG123_OK &&
                  mpg123_format(h, static_cast<long>(rate), channels == 1 ? MPG123_MONO : MPG123_STEREO,
                                MPG123_ENC_SIGNED_16) == MPG123_OK &&
                  mpg123_open_feed(h) == MPG123_OK;
  if (!ok) {
    mpg123_delete(h);
    return nullptr;
  }
  return new HostMpegStream{h};
}

void HostMpegClose(HostMpegStream* stream) {
  if (!stream) return;
  mpg123_delete(stream->handle);
  delete stream;
}

bool HostMpegConvert(HostMpegStream* stream, const unsigned char* src, size_t srcSize, unsigned char* dst,
                     size_t dstSize, size_t* srcUsed, size_t* dstUsed) {
  *srcUsed = 0;
  *dstUsed = 0;
  if (srcSize > 0) {
    if (mpg123_feed(stream->handle, src, srcSize) != MPG123_OK) return false;
    *srcUsed = srcSize;
  }
  size_t produced = 0;
  int idle = 0;
  while (produced < dstSize) {
    size_t done = 0;
    const int result = mpg123_read(stream->handle, dst + produced, dstSize - produced, &done);
    produced += done;
    if (result == MPG123_NEW_FORMAT) continue;
    if (result != MPG123_OK) break;  // more input needed, the end, or damaged data
    if (done == 0 && ++idle > 2) break;
  }
  *dstUsed = produced;
  return true;
}
