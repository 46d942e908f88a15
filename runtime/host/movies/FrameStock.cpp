#include "runtime/host/movies/FrameStock.h"

extern "C" {
#include <libavutil/frame.h>
}

void FrameStock::Push(AVFrame* frame, HostMovieTime time) {
  // Damaged files can step back in time; the stock stays in order.
  if (!frames_.empty() && time < frames_.back().time) time = frames_.back().time;
  frames_.push_back({frame, time});
}

AVFrame* FrameStock::Pop(HostMovieTime* time) {
  const Entry front = frames_.front();
  frames_.pop_front();
  *time = front.time;
  return front.frame;
}

void FrameStock::Clear() {
  for (Entry& entry : frames_) av_frame_free(&entry.frame);
  frames_.clear();
}

bool FrameStock::DropLate(HostMovieTime t) {
  bool dropped = false;
  while (frames_.size() >= 2 && frames_[1].time <= t) {
    av_frame_free(&frames_.front().frame);
    frames_.pop_front();
    dropped = true;
  }
  return dropped;
}
