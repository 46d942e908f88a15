#include "engine/shell/InGameErrorScreen.h"

#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/InputUpdate.h"
#include "runtime/Movan.h"

namespace {

// Passes a button held from before the error needs to end the wait.
constexpr int32_t kHeldPasses = 10;
constexpr int kPassMilliseconds = 16;
constexpr int kLineFontSize = 12;

void DrawScreen(const std::string& line1, const std::string& line2, const std::string& line3) {
  // Tile unit times display scale is 32 in both tile modes.
  const int unit = TileUnit * DisplayScale();
  SetDefaultFontSize(unit / 2);
  SetDefaultFontType(0);
  SetBlendMode(1, 240);
  DrawRectangle(0, 6 * unit, 20 * unit, 9 * unit, PackColor(0, 50, 0), 1);
  SetBlendMode(0, 255);
  SetDrawBrightness(255, 255, 255);
  SetDefaultFontSize(kLineFontSize);
  const uint32_t white = PackColor(255, 255, 255);
  DrawTextLine(10, 200, line1.c_str(), white, 0);
  DrawTextLine(10, 234, line2.c_str(), white, 0);
  DrawTextLine(10, 260, line3.c_str(), white, 0);
  FlipScreen();
}

}  // namespace

void WaitForAcknowledgement(int32_t heldPasses) {
  int32_t held = 0;
  for (;;) {
    if (PumpMessages() != 0) {
      SystemStateHub.gameState = -1;
      return;
    }
    // The player's own input: a played-back replay must not advance here.
    UpdateLiveInput();
    if (Input.liveButtonsPressed[kButtonDecide] || Input.mousePressed[0]) return;
    if (Input.liveButtonsHeld[kButtonDecide] || Input.mouseHeld[0]) {
      if (++held > heldPasses) return;
    } else {
      held = 0;
    }
    WaitMilliseconds(kPassMilliseconds);
  }
}

void ShowInGameErrorScreen(const std::string& line1, const std::string& line2, const std::string& line3) {
  if (GetMainWindow() == 0) {
    LogPrintf("%s\n%s\n%s\n", line1.c_str(), line2.c_str(), line3.c_str());
    return;
  }
  DrawScreen(line1, line2, line3);
  WaitForAcknowledgement(kHeldPasses);
  SetDefaultFontSize(RootRunner.messageFontSize);
}

void InstallInGameErrorScreen() { SetErrorScreenHandler(ShowInGameErrorScreen); }
