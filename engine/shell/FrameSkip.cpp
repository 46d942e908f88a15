#include "engine/shell/FrameSkip.h"

#include <algorithm>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/StartupSettings.h"

void SetFrameSkip(int32_t mode) {
  static constexpr double kCreditPerFrame[3] = {1.0, 0.5, 0.34};
  mode = std::clamp(mode, 0, 2);
  RootRunner.drawCreditPerFrame = static_cast<float>(kCreditPerFrame[mode]);
  RootRunner.frameSkipMode = mode;
  Settings.frameSkip = mode;
}
