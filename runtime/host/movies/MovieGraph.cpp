#include "runtime/host/movies/MovieGraph.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <new>

#include "runtime/host/movies/MovieDecoder.h"
#include "runtime/host/movies/MovieGraphState.h"
#include "runtime/host/movies/MovieInput.h"
#include "runtime/host/system/Clock.h"
#include "runtime/host/system/HostThread.h"

namespace {

constexpr HostMovieTime kTimePerMs = kHostMovieTimePerSecond / 1000;

// Closes what the open made, in reverse order; the thread has ended.
void CloseFile(HostMovieGraph& g) {
  DestroyMovieDecoder(g.decoder);
  g.decoder = nullptr;
  g.stock.Clear();
  delete g.audio;
  g.audio = nullptr;
  avformat_close_input(&g.format);
  CloseMovieInput(g.input);
  g.input = nullptr;
  g.hasVideo = false;
}

bool OpenOver(HostMovieGraph* g, MovieInput* input) {
  if (!input) return false;
  if (g->input) {
    CloseMovieInput(input);
    return false;
  }
  g->input = input;
  g->format = OpenMovieDemuxer(input);
  if (g->format) g->decoder = CreateMovieDecoder(*g, g->renderAudio);
  if (g->decoder) g->thread = HostStartThread(RunMovieDecoder, g);
  if (!g->thread) {
    CloseFile(*g);
    return false;
  }
  return true;
}

void ChangeState(HostMovieGraph* g, HostMovieState state) {
  std::lock_guard<std::mutex> lock(g->mutex);
  if (state == g->state) return;
  if (g->state == kHostMovieRunning) {
    g->tickBase = ClockNow(*g);
    if (g->audio) g->audio->Stop();
  }
  g->state = state;
  if (state == kHostMovieRunning) {
    g->tickAtBase = HostTickMs();
    if (g->audio) g->audio->Start();
  }
  g->wakeDecoder.notify_all();
}

}  // namespace

HostMovieTime AddTimes(HostMovieTime a, HostMovieTime b) {
  HostMovieTime sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? INT64_MAX : INT64_MIN;
}

HostMovieTime SubtractTimes(HostMovieTime a, HostMovieTime b) {
  HostMovieTime difference = 0;
  if (!__builtin_sub_overflow(a, b, &difference)) return difference;
  return b < 0 ? INT64_MAX : INT64_MIN;
}

HostMovieTime ClockNow(const HostMovieGraph& g) {
  if (g.audio) return g.audio->Clock();
  if (g.state != kHostMovieRunning) return g.tickBase;
  const uint32_t elapsed = HostTickMs() - g.tickAtBase;  // wraps with the tick
  return AddTimes(g.tickBase, static_cast<HostMovieTime>(elapsed) * kTimePerMs);
}

HostMovieGraph* HostMovieCreateGraph(int stockFrames) {
  // Damaged files would fill the output with FFmpeg's complaints.
  static const bool quiet = [] {
    av_log_set_level(AV_LOG_QUIET);
    return true;
  }();
  (void)quiet;
  return new (std::nothrow) HostMovieGraph(stockFrames);
}

void HostMovieRenderAudio(HostMovieGraph* g) { g->renderAudio = true; }

bool HostMovieOpenFile(HostMovieGraph* g, const char* gamePath) { return OpenOver(g, OpenMovieInputFile(gamePath)); }

bool HostMovieOpenReader(HostMovieGraph* g, const HostMovieReader& reader) {
  return OpenOver(g, OpenMovieInputReader(reader));
}

bool HostMovieGetVideoFormat(const HostMovieGraph* g, HostMovieVideoFormat* format) {
  if (!g->hasVideo) return false;
  *format = g->video;
  return true;
}

HostMovieTime HostMovieGetStopPosition(const HostMovieGraph* g) { return g->stopPosition; }

void HostMovieRun(HostMovieGraph* g) { ChangeState(g, kHostMovieRunning); }
void HostMoviePause(HostMovieGraph* g) { ChangeState(g, kHostMoviePaused); }
void HostMovieStop(HostMovieGraph* g) { ChangeState(g, kHostMovieStopped); }

HostMovieState HostMovieGetState(const HostMovieGraph* g) {
  std::lock_guard<std::mutex> lock(g->mutex);
  return g->state;
}

HostMovieTime HostMovieGetPosition(const HostMovieGraph* g) {
  std::lock_guard<std::mutex> lock(g->mutex);
  return ClockNow(*g);
}

void HostMovieSetPosition(HostMovieGraph* g, HostMovieTime time) {
  if (time < 0) time = 0;
  std::lock_guard<std::mutex> lock(g->mutex);
  ++g->seekRequest;
  g->seekTarget = time;
  g->stock.Clear();
  g->videoEnded = !g->hasVideo;
  g->posterDue = true;
  g->tickBase = time;
  g->tickAtBase = HostTickMs();
  if (g->audio) g->audio->Reset(time);
  g->wakeDecoder.notify_all();
}

void HostMovieReleaseGraph(HostMovieGraph* g) {
  if (!g) return;
  if (g->sample) HostMovieReleaseSample(g->sample);
  if (g->thread) {
    {
      std::lock_guard<std::mutex> lock(g->mutex);
      g->stopRequest = true;
      g->wakeDecoder.notify_all();
    }
    HostJoinThread(g->thread);
    g->thread = nullptr;
  }
  CloseFile(*g);
  delete g;
}

int HostMovieStockCount(const HostMovieGraph* g) {
  std::lock_guard<std::mutex> lock(g->mutex);
  return g->stock.Count();
}
