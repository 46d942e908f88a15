#include "engine/events/SystemState.h"

#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

SystemState SystemStateHub;

namespace {

void DeleteIfMade(int32_t& graphic) {
  if (graphic > 0) DeleteGraphic(graphic);
}

}  // namespace

void SystemState::Reset() {
  pendingMessageText.clear();
  SetMessageWaiter(-1, 0);
  SetChoiceWaiter(-1, 0);
  releasedMessageWaiter = 0;
  choiceResultWaiter = 0;
  choiceCount = 0;
  cancelChoice = 0;
  choiceExtraFlags = 0;
  reservedCommonEvent = -1;
  windowOpen = 0;
  autoCloseMessage = 0;
  lastChoiceResult = -1;
  waitForScroll = 0;
  closeChoiceRequest = 0;
}

void SystemState::RecreateTransitionSurfaces() {
  DeleteIfMade(capturedScreen);
  DeleteIfMade(frozenMapGraphic);
  // 640 x 480 in both tile units.
  const int32_t side = TileUnit * DisplayScale();
  capturedScreen = CreateBlankGraphic(20 * side, 15 * side, 0);
  frozenMapGraphic = CreateBlankGraphic(20 * side, 15 * side, 0);
  // A new graphic holds whatever its memory held: both stay black until a
  // capture fills them.
  const int target = GetDrawTarget();
  for (const int32_t graphic : {capturedScreen, frozenMapGraphic}) {
    if (graphic < 0 || SetDrawTarget(graphic) != 0) continue;
    ClearDrawTarget();
  }
  SetDrawTarget(target);
}

void ResetSystemStateHub() {
  DeleteIfMade(SystemStateHub.transitionImage);
  DeleteIfMade(SystemStateHub.capturedScreen);
  DeleteIfMade(SystemStateHub.frozenMapGraphic);
  SystemStateHub = SystemState();
  SystemStateHub.RecreateTransitionSurfaces();
}
