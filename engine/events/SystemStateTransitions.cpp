// The screen transition of the system state: prepared by capturing the
// screen, started, counted down each frame and drawn over the live picture;
// and the frozen map drawn while map drawing is off.

#include <algorithm>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/services/DataFolder.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kLowestCounter = -10;
// The system database's type of transition images; item 0 is the file.
constexpr int32_t kTransitionImageType = 11;
// The soft edge of a transition drawn through its image.
constexpr int kImageBorderRange = 64;

}  // namespace

void SystemState::LoadTransitionImage(int32_t number, int32_t frames, uint8_t wait) {
  // Handles are reused: a deleted one is never kept.
  if (transitionImage > 0) DeleteGraphic(transitionImage);
  transitionImage = 0;
  if (number < 0) {
    transitionImageName.clear();
    plainFade = 1;
  } else {
    transitionImageName = DataFolder() + SystemDatabase.GetString(kTransitionImageType, number, 0);
    const int graphic = LoadGraphicFileForced(transitionImageName.c_str());
    if (graphic > 0) transitionImage = graphic;  // a missing file: no image
    plainFade = 0;
  }
  transitionTotal = frames;
  transitionWait = wait;
}

bool SystemState::FreezeScreen() {
  if (windowOpen || transitionActive) return false;
  screenFrozen = 1;
  CaptureScreen();
  return true;
}

void SystemState::CaptureScreen() {
  const int32_t side = TileUnit * DisplayScale();
  CaptureScreenToGraphic(0, 0, 20 * side, 15 * side, capturedScreen);
}

bool SystemState::StartTransition() {
  if (!screenFrozen) FreezeScreen();
  if (transitionActive) return false;
  screenFrozen = 0;
  transitionActive = 1;
  transitionCounter = transitionTotal;
  return true;
}

void SystemState::CountDownTransition() {
  const int32_t step = std::max(1, GameInformation.FrameStep());
  transitionCounter = std::max(kLowestCounter, transitionCounter - step);
}

void SystemState::DrawTransition() {
  if (!transitionActive) return;
  SetDrawBrightness(255, 255, 255);
  if (transitionCounter < 0 || transitionTotal <= 0) {
    transitionActive = 0;
    transitionWait = 0;
    return;
  }
  const int32_t left = static_cast<int32_t>(int64_t{transitionCounter} * 255 / transitionTotal);
  if (plainFade) {
    SetBlendMode(1, left);
    DrawGraphicAt(0, 0, capturedScreen, 0);
  } else {
    SetBlendMode(1, 255);
    DrawBlendGraph(0, 0, capturedScreen, 0, transitionImage, 255 - left, kImageBorderRange);
  }
}

void SystemState::DrawFrozenMap() const {
  SetBlendMode(0, 255);
  DrawGraphicAt(0, 0, frozenMapGraphic, 0);
}
