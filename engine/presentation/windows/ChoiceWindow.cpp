#include "engine/presentation/windows/ChoiceWindow.h"

#include <algorithm>
#include <cstdlib>

#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/windows/WindowImages.h"
#include "engine/services/InputState.h"
#include "engine/sound/SoundHooks.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kFramesPerCursorCell = 5;
constexpr int32_t kBlinkPeriod = 140;
constexpr int32_t kOpenDelayFrames = 4;
constexpr int32_t kFadeInStep = 64;
constexpr int32_t kFadeOutStep = 60;
constexpr int32_t kFrameMargin = 26;

enum ChoiceSound : int32_t { kDecideSound = 0, kCursorSound = 1, kCancelSound = 2 };

void PlayChoiceSound(ChoiceSound sound) { SoundPlay(2, RootRunner.systemValues17To19[sound], 0, 0); }

// Loads a 3 x 3 skin, or a vertical strip of frames, into the list; the
// third of its size, 0 x 0 when it did not load.
bool LoadPieces(int32_t data, int32_t columns, int32_t rows, std::vector<int32_t>& pieces, int32_t& pieceWidth,
                int32_t& pieceHeight) {
  const int32_t whole = LoadGraphicSP(WindowImageFile(data), columns, rows, &pieces, false);
  pieceWidth = 0;
  pieceHeight = 0;
  if (whole == -1) return false;
  if (pieces.empty()) pieces.push_back(whole);
  int32_t w = 0, h = 0;
  GetGraphicSize(whole, &w, &h);
  pieceWidth = w / 3;
  pieceHeight = h / 3;
  return true;
}

}  // namespace

ChoiceWindow::ChoiceWindow() {
  text.choiceBlock = 1;
  LoadSkins();
}

void ChoiceWindow::Release() {
  for (std::vector<int32_t>* list : {&skinPieces, &cursorPieces}) {
    for (int32_t graphic : *list) DeleteGraphic(graphic);
    list->clear();
  }
  cursorGraphic = -1;
  skinLoaded = 0;
  cursorLoaded = 0;
}

void ChoiceWindow::LoadSkins() {
  Release();
  cursorFrames = WindowImageFrames(kChoiceCursorImage);
  skinLoaded = LoadPieces(kChoiceSkinImage, 3, 3, skinPieces, skinPieceWidth, skinPieceHeight);
  const bool box = cursorFrames == 1;
  cursorLoaded = LoadPieces(kChoiceCursorImage, box ? 3 : 1, box ? 3 : cursorFrames, cursorPieces, cursorPieceWidth,
                            cursorPieceHeight);
  cursorGraphic = cursorLoaded ? cursorPieces.front() : -1;
}

void ChoiceWindow::MoveRow(int32_t direction, int32_t n) {
  row = ((row + direction) % n + n) % n;
  for (int32_t tries = 0; tries < n && TextBlock::TableEntry(text.lineHeights, row) <= 0; ++tries) {
    row = ((row + direction) % n + n) % n;
  }
}

// The keys and the mouse of one frame; true when they closed the window.
bool ChoiceWindow::TakeInput(int32_t n) {
  const SystemState& hub = SystemStateHub;
  const int32_t cancelRow = hub.cancelChoice;
  const int32_t extras = hub.choiceExtraFlags;
  if (Input.direction4Repeat == 8) {
    MoveRow(-1, n);
    PlayChoiceSound(kCursorSound);
  }
  if (Input.direction4Repeat == 2) {
    MoveRow(1, n);
    PlayChoiceSound(kCursorSound);
  }
  if (Input.buttonsPressed[kButtonDecide]) {
    Close();
    PlayChoiceSound(kDecideSound);
    return true;
  }
  if (cancelRow != -1 && Input.buttonsPressed[kButtonCancel]) {
    row = cancelRow;
    Close();
    PlayChoiceSound(kCancelSound);
    return true;
  }
  if ((extras & 1) && Input.buttonsPressed[kButtonSub]) {
    row = kFirstExtraKeyRow;
    Close();
    PlayChoiceSound(kCancelSound);
    return true;
  }
  if ((extras & 2) && Input.buttonsPressed[kButtonFourth]) {
    row = kSecondExtraKeyRow;
    Close();
    PlayChoiceSound(kCancelSound);
    return true;
  }
  if (RootRunner.mouseWindowValue != 1) return false;
  const int32_t t = TileUnit;
  const int32_t inset = 4 * t / 10;
  const int32_t rightExtra = t == 32 ? 14 : -9;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t top = y + TextBlock::TableEntry(text.lineTops, i) + inset + 1;
    const int32_t bottom = top + TextBlock::TableEntry(text.lineHeights, i);
    if (x + inset - 3 < Input.mouseX && Input.mouseX < x + width - inset + rightExtra && top < Input.mouseY &&
        Input.mouseY < bottom) {
      row = i;
      break;
    }
  }
  if (Input.mousePressed[0]) {
    Close();
    PlayChoiceSound(kDecideSound);
    return true;
  }
  if (Input.mousePressed[1] && cancelRow != -1) {
    row = cancelRow;
    Close();
    PlayChoiceSound(kCancelSound);
    return true;
  }
  return false;
}

void ChoiceWindow::Update() {
  SystemState& hub = SystemStateHub;
  blinkPhase = (blinkPhase + 3) % kBlinkPeriod;
  blinkValue = std::abs(blinkPhase - kBlinkPeriod / 2) + 185;
  cursorCounter = (cursorCounter + 1) % (cursorFrames * kFramesPerCursorCell);
  // With a message, choices wait until it is fully shown (as the message
  // window saw it in the previous frame).
  if (hub.choiceWithMessage != hub.messageShown) {
    hub.lastChoiceResult = -1;
    return;
  }
  if (openDelay > 0) {
    --openDelay;
    if (alpha == 255) openDelay -= 2;
    return;
  }
  text.AdvanceReveal();
  alpha = showing && fadeIn ? std::min(255, alpha + kFadeInStep) : std::max(0, alpha - kFadeOutStep);
  if (open) {
    if (!text.IsFullyRevealed()) return;
    if (hub.closeChoiceRequest) {
      if (hub.choiceExtraFlags & 4) row = kCancelChoicesRow;
      Close();
      return;
    }
    const int32_t n = hub.choiceCount;
    if (n <= 0) {
      // No rows to choose from: as if cancelled.
      row = hub.cancelChoice;
      Close();
      return;
    }
    TakeInput(n);
    hub.lastChoiceResult = row;
    return;
  }
  if (!hub.pendingChoiceText.empty()) {
    open = 1;
    hub.windowOpen = 1;
    showing = 1;
    openDelay = kOpenDelayFrames;
    Open();
    SetPosition();
  } else {
    if (showing) hub.windowOpen = 0;
    showing = 0;
    hub.lastChoiceResult = -1;
  }
}

void ChoiceWindow::Open() {
  SystemState& hub = SystemStateHub;
  const int32_t n = hub.choiceCount;
  row = RootRunner.choiceCursor;
  RootRunner.choiceCursor = 0;
  row = std::max(0, std::min(row, n - 1));
  if (hub.choiceWithMessage) openDelay = RootRunner.messageValues[2];
  if (!hub.pendingChoiceText.empty()) {
    text.sourceText = hub.pendingChoiceText;
    text.takenText.clear();
  }
  const uint8_t instant = text.instant;
  text.instant = 1;
  text.Layout(TextBlock::kMeasure, 1.0, 1.0);
  text.instant = instant;
  for (int32_t tries = 0; tries < n && TextBlock::TableEntry(text.lineHeights, row) <= 0; ++tries) {
    row = (row + 1) % n;
  }
  const int32_t last = static_cast<int32_t>(text.lineHeights.size()) - 1;
  width = text.widestLine + kFrameMargin;
  height = TextBlock::TableEntry(text.lineTops, last) + TextBlock::TableEntry(text.lineHeights, last) + kFrameMargin;
}

void ChoiceWindow::SetPosition() {
  const int32_t t = TileUnit;
  const int32_t s = DisplayScale();
  const int32_t fade = static_cast<int8_t>(RootRunner.choiceFrame);
  if (fade == 0) {
    fadeIn = 0;
    alpha = 0;
  } else if (fade == 1) {
    fadeIn = 1;
  }
  const int32_t settingX = RootRunner.systemValues0To4[3];
  const int32_t settingY = RootRunner.systemValues0To4[4];
  x = (settingX == -1 ? 10 * t : settingX) - width / 2;
  y = settingY == -1 ? 170 - height / 2 : settingY;
  text.originX = (x + 4 * t / 10 + 2) * s;
  text.originY = (y + 4 * t / 10 + 2) * s;
  showing = 1;
}

void ChoiceWindow::Close() {
  SystemState& hub = SystemStateHub;
  text.sourceText.clear();
  open = 0;
  showing = 0;
  if (hub.choiceWaiter != 0) hub.DeliverChoiceResult(row + 2);
  hub.pendingChoiceText.clear();
  hub.SetChoiceWaiter(-1, 0);
  hub.windowOpen = 0;
  hub.closeChoiceRequest = 0;
  hub.autoCloseMessage = 0;
  hub.closeMessageWithChoice = hub.choiceWithMessage ? 1 : 0;
}
