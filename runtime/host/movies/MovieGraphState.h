#pragma once
// Inside a graph: what the caller's thread and the decode thread share
// under the graph's lock, and the parts fixed once the file is open.

#include <condition_variable>
#include <mutex>

#include "runtime/host/movies/AudioRenderer.h"
#include "runtime/host/movies/FrameStock.h"
#include "runtime/host/movies/MovieGraph.h"

struct AVFormatContext;
struct HostThread;
struct MovieDecoder;
struct MovieInput;

struct HostMovieGraph {
  explicit HostMovieGraph(int stockFrames) : stock(stockFrames) {}

  // Fixed once the file is open.
  bool renderAudio = false;
  MovieInput* input = nullptr;
  AVFormatContext* format = nullptr;
  MovieDecoder* decoder = nullptr;  // the decode thread's own
  HostThread* thread = nullptr;
  bool hasVideo = false;
  HostMovieVideoFormat video{};
  HostMovieTime stopPosition = 0;
  HostMovieSample* sample = nullptr;

  mutable std::mutex mutex;
  std::condition_variable wakeDecoder;   // work for the decode thread
  std::condition_variable frameArrived;  // for a sample waiting on the stock

  // Under the lock.
  HostMovieState state = kHostMovieStopped;
  bool stopRequest = false;
  uint32_t seekRequest = 0;  // counted up by every seek
  HostMovieTime seekTarget = 0;
  FrameStock stock;
  bool videoEnded = false;   // no more frames come for this position
  bool posterDue = true;     // the position's own frame is still to be shown
  AudioRenderer* audio = nullptr;  // null: the tick is the clock
  HostMovieTime tickBase = 0;
  uint32_t tickAtBase = 0;
};

// Where the clock stands; the lock is held.
HostMovieTime ClockNow(const HostMovieGraph& graph);

// Saturating media-time arithmetic: times from files can be anything.
HostMovieTime AddTimes(HostMovieTime a, HostMovieTime b);
HostMovieTime SubtractTimes(HostMovieTime a, HostMovieTime b);
