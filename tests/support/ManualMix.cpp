#include "tests/support/ManualMix.h"

#include <algorithm>
#include <cstdlib>
#include <thread>  // steady_clock (<chrono> itself does not build with the CP932 charset)
#include <vector>

#include "runtime/host/movies/MovieGraph.h"
#include "runtime/host/sound/SoundDevice.h"

int MixLoudest(uint32_t frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
  HostSoundMixManual(out.data(), frames);
  int loudest = 0;
  for (int16_t v : out) loudest = std::max(loudest, std::abs(static_cast<int>(v)));
  return loudest;
}

int MixUntilMovieSoundStarts(HostMovieGraph* graph) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  const HostMovieTime before = HostMovieGetPosition(graph);
  int loudest = 0;
  while (HostMovieGetPosition(graph) == before && std::chrono::steady_clock::now() < giveUp) {
    loudest = std::max(loudest, MixLoudest(441));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return loudest;
}
