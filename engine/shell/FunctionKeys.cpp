#include "engine/shell/FunctionKeys.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/events/LiveGameHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/DebugOverlay.h"
#include "engine/shell/FrameSkip.h"
#include "engine/shell/VariableDump.h"
#include "runtime/Movan.h"

namespace {

// Slots of InputState::functionKeys.
constexpr size_t kF4Slot = 0, kF5Slot = 1, kF9Slot = 2, kF8Slot = 3, kF12Slot = 4, kPrintScreenSlot = 5;

struct FunctionKeyState {
  int32_t windowIndex = 0;
  int32_t skipIndex = 0;
  bool counterStarted = false;
  uint32_t windowStart = 0;
  int32_t framesInWindow = 0;
  uint32_t secondStart = 0;
  int32_t framesPerSecond = 0;
  bool drawCountStarted = false;
  uint32_t drawCountStart = 0;
  int32_t drawsCounted = 0;
  int32_t drawingFramesPerSecond = 0;
  int32_t lastDebugLine = -1;
  int64_t drawnFrames = 0;
};
FunctionKeyState gState;

bool NewPress(size_t slot) { return Input.functionKeys[slot][1] != 0; }

void CycleWindowSize() {
  int32_t& index = gState.windowIndex;
  index = (index + 1) % 3;
  if (index == 2) {
    // The half size is too small to read in software mode.
    if (Settings.softMode == 1) {
      index = 0;
    } else {
      SetWindowScale(0.5);
    }
  }
  if (index == 0) SetWindowScale(1.0);
  if (index == 1) {
    int width = 0, height = 0;
    GetDesktopMetrics(&width, &height, nullptr);
    const double sx = width / 640.0;
    const double sy = height / 480.0;
    SetWindowScale((sy + 0.1 > sx ? sx : sy) - 0.04);
  }
  ShowMouseCursor(RootRunner.mouseCursorShown);
}

void DrawCentred(int y, const char* text) {
  const int width = GetTextWidth(text, static_cast<int>(std::string(text).size()), 0);
  DrawTextLine(320 - width / 2, y, text, PackColor(255, 255, 255), 0);
}

void TakeScreenshot() {
  FlipScreen();
  PresentScreen();
  std::tm now{};
  CurrentLiveGameHooks().localTime(now);
  char name[96];
  std::snprintf(name, sizeof name, "ScreenShot_%d_%02d%02d_%02d_%02d_%02d.png", now.tm_year + 1900, now.tm_mon + 1,
                now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
  SaveScreenImage(0, 0, 640, 480, name, 0);

  const int t = TileUnit;
  const int s = DisplayScale();
  SetDefaultFontSize(t * s / 2);
  SetBlendMode(1, 180);
  DrawRectangle(0, 192, 640, 288, PackColor(0, 90, 0), 1);
  SetBlendMode(0, 0);
  DrawCentred(7 * t * s, "スクリーンショットを撮影しました");
  DrawCentred(static_cast<int>(t * 7.7) * s, name);
  FlipScreen();
  WaitAnyKey();
  SetDefaultFontSize(RootRunner.messageFontSize);
}

const char* FrameSkipText(int32_t mode) {
  static const char* const kTexts[3] = {"ｽｷｯﾌﾟなし", "ｽｷｯﾌﾟx2", "ｽｷｯﾌﾟx3"};
  return kTexts[mode >= 0 && mode <= 2 ? mode : 0];
}

// The largest update time of the last five frames as a number and a bar.
std::string UpdateTimeBar() {
  int32_t m = 0;
  for (const int32_t t : SystemStateHub.updateTimes) m = t > m ? t : m;
  std::string bar = std::to_string(m);
  int marks = 0;
  for (int32_t k = 0; k < m && marks < 21; ++k) {
    const char* mark = nullptr;
    if (k < 10) {
      mark = "|";
    } else if (k <= 25) {
      if (k % 3 == 0) mark = "■";
    } else if (k % 5 == 0) {
      mark = "★";
    }
    if (mark) {
      bar += mark;
      ++marks;
    }
  }
  return bar;
}

void SetDebugTitle() {
  const int32_t d = SystemStateHub.debugLineFlag;
  char title[512];
  if (d == 0) {
    if (d == gState.lastDebugLine) return;
    std::snprintf(title, sizeof title, "『%s』 　　ZEMA RPGエディター <F8:情報変更>",
                  GameInformation.settingStrings[0].c_str());
    SetWindowTitle(title);
  } else if (d == 1) {
    const int32_t internal = FrameCounter(false);
    if (TestPlayFlag) {
      if (gState.drawnFrames % 3 == 0) {
        int x = 0, y = 0;
        GetMousePosition(&x, &y);
        std::snprintf(title, sizeof title, "[描画FPS%d(%s)<%dms>/内部FPS%d]ｽﾌﾟﾗｲﾄ%d枚/ﾏｳｽ X%d Y%d / [Ev処理時間]=%s",
                      gState.drawingFramesPerSecond, FrameSkipText(RootRunner.frameSkipMode), SystemStateHub.drawTime,
                      internal, GetGraphicCount(), x * TileUnit / 32, y * TileUnit / 32, UpdateTimeBar().c_str());
        SetWindowTitle(title);
      }
    } else if (gState.drawnFrames % 5 == 0) {
      std::snprintf(title, sizeof title, "[描画FPS%d/内部FPS%d] ﾌﾚｰﾑｽｷｯﾌﾟ(※F5)[%s]  (F8:情報変更)",
                    gState.drawingFramesPerSecond, internal, FrameSkipText(RootRunner.frameSkipMode));
      SetWindowTitle(title);
    }
  }
  gState.lastDebugLine = d;
}

}  // namespace

void FunctionKeys() {
  if (NewPress(kF4Slot)) CycleWindowSize();
  if (NewPress(kF5Slot)) {
    gState.skipIndex = (gState.skipIndex + 1) % 3;
    SetFrameSkip(gState.skipIndex);
  }
  if (NewPress(kF8Slot)) {
    SystemStateHub.debugLineFlag = SystemStateHub.debugLineFlag == 0 ? 1 : 0;
    SetFrameSkip(gState.skipIndex);
  }
  if (NewPress(kF9Slot) && TestPlayFlag) ShowVariableDump(true);
  if (NewPress(kF12Slot)) SystemStateHub.gameState = 0;
  if (NewPress(kPrintScreenSlot) && Settings.screenShot == 1) TakeScreenshot();
}

int32_t FrameCounter(bool count) {
  const uint32_t now = GetTickMs();
  if (!gState.counterStarted) {
    gState.counterStarted = true;
    gState.windowStart = gState.secondStart = now;
  }
  if (count) {
    ++gState.framesInWindow;
    if (now - gState.windowStart >= 500) {
      gState.framesPerSecond = gState.framesInWindow * 2;
      gState.framesInWindow = 0;
      gState.windowStart = now;
    }
  }
  if (now - gState.secondStart >= 1000) {
    gState.secondStart += 1000;
    ++RootRunner.playSeconds;
  }
  RootRunner.millisecondsOfSecond = static_cast<int32_t>(now - gState.secondStart);
  RootRunner.framesPerSecond = gState.framesPerSecond;
  return gState.framesPerSecond;
}

void DebugInfo(float) {
  const uint32_t now = GetTickMs();
  if (!gState.drawCountStarted) {
    gState.drawCountStarted = true;
    gState.drawCountStart = now;
  }
  ++gState.drawsCounted;
  if (now - gState.drawCountStart >= 1000) {
    gState.drawingFramesPerSecond = gState.drawsCounted;
    RootRunner.debugTimeValue = gState.drawsCounted;
    gState.drawsCounted = 0;
    gState.drawCountStart = now;
  }
  if (ReplayPlaying) {
    const int32_t f = GameReplay.framesPlayed;
    DrawTextLineFormatted(530, 460, PackColor(235, 235, 255), "%.2i:%.2i:%.2i", f / 216000, f % 216000 / 3600,
                          f % 3600 / 60);
  }
  SetDebugTitle();
  if (TestPlayFlag && Input.functionKeys[kF8Slot][0]) DrawDebugOverlay();
  ++gState.drawnFrames;
}

void ResetFunctionKeyState() { gState = FunctionKeyState(); }
