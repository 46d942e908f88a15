// A streaming movie from any bytes: the open, the video format, a sample,
// seeks and the frames they show, with the sound decoded into the mixer,
// must end within their waits, never hang on the decode thread and never
// read out of bounds.

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "runtime/host/movies/MovieGraph.h"
#include "runtime/host/sound/SoundDevice.h"

namespace {

struct Bytes {
  const uint8_t* data;
  int64_t size;
  int64_t position;
};

int64_t Read(void* context, uint8_t* buffer, int64_t n) {
  auto* b = static_cast<Bytes*>(context);
  const int64_t left = b->size - b->position;
  const int64_t got = left < n ? (left > 0 ? left : 0) : n;
  if (got > 0) std::memcpy(buffer, b->data + b->position, static_cast<size_t>(got));
  b->position += got;
  return got;
}

int Seek(void* context, int64_t offset) {
  static_cast<Bytes*>(context)->position = offset;
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool mixer = [] {
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    return HostSoundCreateDevice() && HostSoundOpenDevice();
  }();
  (void)mixer;
  Bytes bytes{data, static_cast<int64_t>(size), 0};
  HostMovieGraph* graph = HostMovieCreateGraph(3);
  HostMovieRenderAudio(graph);
  if (HostMovieOpenReader(graph, {&bytes, Read, Seek, static_cast<int64_t>(size), nullptr})) {
    HostMovieSample* sample = HostMovieCreateSample(graph, nullptr);
    const HostMovieTime stop = HostMovieGetStopPosition(graph);
    HostMovieRun(graph);
    for (HostMovieTime at : {HostMovieTime{-1}, stop / 2, stop + kHostMovieTimePerSecond, HostMovieTime{0}}) {
      if (at >= 0) HostMovieSetPosition(graph, at);
      if (sample) HostMovieUpdateSample(sample, 100);
      HostSoundMixManual(nullptr, 2048);
    }
  }
  HostMovieReleaseGraph(graph);
  return 0;
}
