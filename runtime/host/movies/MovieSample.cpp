// Surfaces and the sample that brings the frame due now into one.

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <new>
#include <thread>  // the waits' durations: <chrono> itself does not build with the CP932 charset

#include "runtime/host/movies/MovieGraph.h"
#include "runtime/host/movies/MovieGraphState.h"

namespace {

constexpr HostMoviePixelFormat kXrgb = {32, 0xFF0000, 0xFF00, 0xFF};

// The pixel formats frames are converted into; the masks are those of
// little-endian pixels.
AVPixelFormat ConversionFormat(const HostMoviePixelFormat& f) {
  struct Known {
    HostMoviePixelFormat format;
    AVPixelFormat pixels;
  };
  static const Known kKnown[] = {
      {{32, 0xFF0000, 0xFF00, 0xFF}, AV_PIX_FMT_BGRA},  // the fourth byte 255
      {{32, 0xFF, 0xFF00, 0xFF0000}, AV_PIX_FMT_RGBA},
      {{24, 0xFF0000, 0xFF00, 0xFF}, AV_PIX_FMT_BGR24},
      {{16, 0xF800, 0x7E0, 0x1F}, AV_PIX_FMT_RGB565LE},
      {{16, 0x7C00, 0x3E0, 0x1F}, AV_PIX_FMT_RGB555LE},
      {{15, 0x7C00, 0x3E0, 0x1F}, AV_PIX_FMT_RGB555LE},
  };
  for (const Known& k : kKnown) {
    if (k.format.bitsPerPixel == f.bitsPerPixel && k.format.redMask == f.redMask &&
        k.format.greenMask == f.greenMask && k.format.blueMask == f.blueMask) {
      return k.pixels;
    }
  }
  return AV_PIX_FMT_NONE;
}

}  // namespace

// The memory comes with the first frame written: a file may state a
// picture near the size cap and never give one.
struct HostMovieSurface {
  HostMovieSurfaceView view;
};

struct HostMovieSample {
  HostMovieGraph* graph = nullptr;
  HostMovieSurface* surface = nullptr;
  bool ownSurface = false;
  AVPixelFormat pixels = AV_PIX_FMT_NONE;
  SwsContext* scaler = nullptr;
  int colorspace = -1;  // of the frames the scaler was set up for
  int range = -1;
  HostMovieTime time = -1;
};

HostMovieSurface* HostMovieCreateSurface(const HostMoviePixelFormat& format, int width, int height) {
  const int bits = format.bitsPerPixel;
  if (width < 1 || height < 1 || width > kHostMovieMaxSide || height > kHostMovieMaxSide ||
      int64_t{width} * height > kHostMovieMaxPixels) {
    return nullptr;
  }
  if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  const int64_t pitch = (int64_t{(bits + 7) / 8} * width + 3) / 4 * 4;
  HostMovieSurface* surface = new (std::nothrow) HostMovieSurface;
  if (surface) surface->view = {nullptr, static_cast<int32_t>(pitch), width, height, format};
  return surface;
}

HostMovieSurfaceView HostMovieViewSurface(const HostMovieSurface* surface) { return surface->view; }

void HostMovieReleaseSurface(HostMovieSurface* surface) {
  if (!surface) return;
  av_free(surface->view.pixels);
  delete surface;
}

HostMovieSample* HostMovieCreateSample(HostMovieGraph* graph, HostMovieSurface* surface) {
  if (!graph->hasVideo || graph->sample) return nullptr;
  const bool own = !surface;
  if (own) surface = HostMovieCreateSurface(kXrgb, graph->video.width, graph->video.height);
  const AVPixelFormat pixels = surface ? ConversionFormat(surface->view.format) : AV_PIX_FMT_NONE;
  HostMovieSample* sample = pixels != AV_PIX_FMT_NONE ? new (std::nothrow) HostMovieSample : nullptr;
  if (!sample) {
    if (own) HostMovieReleaseSurface(surface);
    return nullptr;
  }
  sample->graph = graph;
  sample->surface = surface;
  sample->ownSurface = own;
  sample->pixels = pixels;
  graph->sample = sample;
  return sample;
}

HostMovieSurface* HostMovieSampleSurface(const HostMovieSample* sample) { return sample->surface; }

HostMovieTime HostMovieSampleTime(const HostMovieSample* sample) { return sample->time; }

void HostMovieReleaseSample(HostMovieSample* sample) {
  if (!sample) return;
  sample->graph->sample = nullptr;
  sws_freeContext(sample->scaler);
  if (sample->ownSurface) HostMovieReleaseSurface(sample->surface);
  delete sample;
}

namespace {

// libswscale's conversion of the frame into the surface, scaled when a
// frame of another size comes.
bool Convert(HostMovieSample& sample, const AVFrame* frame) {
  HostMovieSurfaceView& to = sample.surface->view;
  if (!to.pixels) to.pixels = static_cast<uint8_t*>(av_malloc(static_cast<size_t>(int64_t{to.pitch} * to.height)));
  if (!to.pixels) return false;
  SwsContext* before = sample.scaler;
  sample.scaler = sws_getCachedContext(sample.scaler, frame->width, frame->height,
                                       static_cast<AVPixelFormat>(frame->format), to.width, to.height, sample.pixels,
                                       SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!sample.scaler) return false;
  if (sample.scaler != before || frame->colorspace != sample.colorspace || frame->color_range != sample.range) {
    // Frames that say which matrix and range they use are converted by it;
    // the rest as standard-definition video.
    int* table = nullptr;
    int* ignored = nullptr;
    int sourceRange = 0;
    int destinationRange = 0;
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    sws_getColorspaceDetails(sample.scaler, &table, &sourceRange, &ignored, &destinationRange, &brightness, &contrast,
                             &saturation);
    const int matrix = frame->colorspace == AVCOL_SPC_UNSPECIFIED ? SWS_CS_DEFAULT : frame->colorspace;
    if (frame->color_range != AVCOL_RANGE_UNSPECIFIED) sourceRange = frame->color_range == AVCOL_RANGE_JPEG;
    sws_setColorspaceDetails(sample.scaler, sws_getCoefficients(matrix), sourceRange, ignored, destinationRange,
                             brightness, contrast, saturation);
    sample.colorspace = frame->colorspace;
    sample.range = frame->color_range;
  }
  uint8_t* planes[4] = {to.pixels, nullptr, nullptr, nullptr};
  const int pitches[4] = {to.pitch, 0, 0, 0};
  return sws_scale(sample.scaler, frame->data, frame->linesize, 0, frame->height, planes, pitches) > 0;
}

}  // namespace

int HostMovieUpdateSample(HostMovieSample* sample, uint32_t waitMs) {
  HostMovieGraph& g = *sample->graph;
  AVFrame* taken = nullptr;
  HostMovieTime takenTime = 0;
  {
    std::unique_lock<std::mutex> lock(g.mutex);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    HostMovieTime now = 0;
    for (;;) {
      now = ClockNow(g);
      if (g.stock.DropLate(now)) g.wakeDecoder.notify_all();
      // Settled once a later frame than the one due is there, or no more come.
      const bool settled = g.videoEnded || (!g.stock.Empty() && g.stock.BackTime() > now);
      if (settled || g.frameArrived.wait_until(lock, giveUp) == std::cv_status::timeout) break;
    }
    if (g.stock.Empty()) return g.videoEnded ? -1 : 0;
    if (g.stock.FrontTime() > now && !g.posterDue) return 0;
    taken = g.stock.Pop(&takenTime);
    g.posterDue = false;
    g.wakeDecoder.notify_all();
  }
  const bool converted = Convert(*sample, taken);
  av_frame_free(&taken);
  if (!converted) return 0;
  sample->time = takenTime;
  return 1;
}
