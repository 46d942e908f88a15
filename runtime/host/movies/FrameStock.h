#pragma once
// Decoded frames of a movie waiting to be shown, in time order, each with
// the media time at which it starts to show. The decode thread fills it up
// to its size (a frame or two more when one packet gives several); the
// sample takes frames from the front. Guarded by the graph's lock.

#include <deque>

#include "runtime/host/movies/MovieGraph.h"

struct AVFrame;

class FrameStock {
 public:
  explicit FrameStock(int size) : size_(size < 1 ? 1 : size) {}
  ~FrameStock() { Clear(); }
  FrameStock(const FrameStock&) = delete;
  FrameStock& operator=(const FrameStock&) = delete;

  bool HasRoom() const { return static_cast<int>(frames_.size()) < size_; }
  bool Empty() const { return frames_.empty(); }
  int Count() const { return static_cast<int>(frames_.size()); }
  HostMovieTime FrontTime() const { return frames_.front().time; }
  HostMovieTime BackTime() const { return frames_.back().time; }

  // Takes the frame.
  void Push(AVFrame* frame, HostMovieTime time);
  // The front frame, now the caller's.
  AVFrame* Pop(HostMovieTime* time);
  void Clear();
  // Frees the frames that a later frame replaced by the time t: the frame
  // showing at t becomes the front. True when any went.
  bool DropLate(HostMovieTime t);

 private:
  struct Entry {
    AVFrame* frame;
    HostMovieTime time;
  };
  std::deque<Entry> frames_;
  int size_;
};
