// A streaming movie from any bytes: the open, the video format, a sample,
// seeks and the frames they show, with the sound decoded into the mixer,
// must end within their waits, never hang on the decode thread and never
// read out of bounds.

#include <cstdint>
#include <initializer_list>

#include "runtime/host/movies/MovieGraph.h"
#include "runtime/host/sound/SoundDevice.h"
#include "tests/support/MemoryMovieReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool mixer = [] {
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    return HostSoundCreateDevice() && HostSoundOpenDevice();
  }();
  (void)mixer;
  HostMovieGraph* graph = HostMovieCreateGraph(3);
  HostMovieRenderAudio(graph);
  if (HostMovieOpenReader(graph, MemoryMovieReader(data, size))) {
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
