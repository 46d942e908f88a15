#include "engine/presentation/windows/MessageWindow.h"

#include <algorithm>

#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/windows/WindowImages.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/services/TruncateToInt.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kFramesPerCursorCell = 5;

// Decide, cancel, or a left click where the mouse may close messages.
bool ClosingInput() {
  return Input.buttonsPressed[kButtonDecide] || Input.buttonsPressed[kButtonCancel] ||
         (Input.mousePressed[0] && RootRunner.mouseWindowValue == 1);
}

}  // namespace

MessageWindow::MessageWindow() { LoadWaitCursor(); }

void MessageWindow::Release() {
  if (waitCursor != -1) DeleteGraphic(waitCursor);
  waitCursor = -1;
  cursorLoaded = 0;
}

void MessageWindow::LoadWaitCursor() {
  Release();
  open = 0;
  allShown = 0;
  wasOpen = 0;
  openDelay = 0;
  cursorFrames = WindowImageFrames(kWaitCursorImage);
  waitCursor = LoadGraphicSP(WindowImageFile(kWaitCursorImage), 1, 1, nullptr, false);
  cursorLoaded = waitCursor != -1;
  cursorWidth = 0;
  cursorHeight = 0;
  if (cursorLoaded) GetGraphicSize(waitCursor, &cursorWidth, &cursorHeight);
  cursorCounter = 0;
}

void MessageWindow::Update() {
  SystemState& hub = SystemStateHub;
  hub.messageWindowShown = open ? 1 : 0;
  hub.messageShown = 0;
  cursorCounter = (cursorCounter + 1) % (cursorFrames * kFramesPerCursorCell);
  if (openDelay > 0) {
    if (--openDelay == 0) SetPosition();
    return;
  }
  text.AdvanceReveal();
  if (open) {
    if (!hub.choiceWithMessage && hub.autoCloseMessage) {
      Close();
      return;
    }
    if (text.waitingForKey) {
      allShown = 1;
      if (ClosingInput()) text.waitingForKey = 0;
      return;
    }
    if (text.IsFullyRevealed()) {
      hub.messageShown = 1;
      allShown = 1;
      if (!hub.choiceWithMessage) {
        if (ClosingInput() || text.autoClose) Close();
      } else {
        // The choice window closes both, later in its own update.
        allShown = 0;
        if (hub.closeMessageWithChoice) Close();
      }
    }
    return;
  }
  if (!hub.pendingMessageText.empty()) {
    open = 1;
    hub.windowOpen = 1;
    Open();
    SetPosition();
    wasOpen = 1;
  } else if (wasOpen) {
    wasOpen = 0;
    hub.windowOpen = 0;
  }
}

void MessageWindow::Open() {
  const SystemState& hub = SystemStateHub;
  text.speed = RootRunner.messageValues[0];
  if (!hub.pendingMessageText.empty()) {
    text.takenText.clear();
    text.sourceText = hub.pendingMessageText;
  }
  openDelay = RootRunner.messageValues[2];
  text.Layout(TextBlock::kMeasure, 1.0, 1.0);
}

void MessageWindow::SetPosition() {
  const int32_t t = TileUnit;
  const int32_t s = DisplayScale();
  const int32_t settingX = RootRunner.systemValues0To4[1];
  const int32_t settingY = RootRunner.systemValues0To4[2];
  text.originX = settingX == -1 ? (t * s) / 2 : settingX * s;
  text.originY = settingY == -1 ? TruncateToInt32(9.5 * t) * s : settingY * s;
  wasOpen = 1;
}

void MessageWindow::Draw() {
  if (cursorLoaded && allShown && waitCursor != -1) {
    const int32_t t = TileUnit;
    SetBlendMode(0, 255);
    const int32_t cellHeight = cursorHeight / cursorFrames;
    const int32_t cellTop = cursorCounter / kFramesPerCursorCell * cellHeight;
    const int32_t cx = RootRunner.messageWindowX - cursorWidth / 2;
    const int32_t settingY = RootRunner.systemValues0To4[2];
    const int32_t cy = settingY == -1 ? TruncateToInt32(14.2 * t)
                                      : std::max(0, std::min(TruncateToInt32(14.5 * t), settingY + RootRunner.messageWindowY));
    if (DisplayScale() == 1) {
      DrawGraphicPart(cx, cy, 0, cellTop, cursorWidth, cellHeight, waitCursor, 1, 0);
    } else {
      const int32_t cell = DeriveGraphic(0, cellTop, cursorWidth, cellHeight, waitCursor);
      if (cell != -1) {
        DrawGraphicStretched(cx * 2, cy * 2, (cx + cursorWidth) * 2, (cy + cellHeight) * 2, cell, 1);
        DeleteGraphic(cell);
      }
    }
  }
  if (openDelay < 1) {
    SetBlendMode(0, 255);
    text.Layout(TextBlock::kDraw, 1.0, 1.0);
  }
}

void MessageWindow::Close() {
  SystemState& hub = SystemStateHub;
  allShown = 0;
  text.sourceText.clear();
  open = 0;
  if (hub.messageWaiter != 0) hub.ReleaseMessageWaiter();
  hub.autoCloseMessage = 0;
  hub.pendingMessageText.clear();
  hub.SetMessageWaiter(-1, 0);
  hub.windowOpen = 0;
  hub.choiceWithMessage = 0;
  hub.closeMessageWithChoice = 0;
}
