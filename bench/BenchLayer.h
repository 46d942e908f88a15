#pragma once
// Starts the layer for a drawing benchmark: a window of its own (titled per
// process, so parallel runs do not share it), no log, running in the
// background, no vsync, drawing to the back screen. False when the layer
// did not start.

#include <unistd.h>

#include <string>

#include "runtime/Movan.h"

inline bool StartBenchLayer(const std::string& name, int width = 640, int height = 480) {
  EnableLogOutput(0);
  SetWindowTitle((name + "-" + std::to_string(getpid())).c_str());
  ChangeWindowMode(1);
  SetRunInBackground(1);
  SetScreenMode(width, height, 32, -1);
  if (LayerInit() != 0) return false;
  SetWaitVsync(0);
  SetDrawTarget(kBackScreen);
  return true;
}
