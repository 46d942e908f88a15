#include "engine/shell/InputUpdate.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

namespace {

// DirectInput key codes the update reads besides the configured keys.
enum Key : int32_t {
  kEscape = 1,
  kBackspace = 14,
  kEnter = 28,
  kLeftCtrl = 29,
  kLeftShift = 42,
  kRightShift = 54,
  kSpace = 57,
  kF4 = 62,
  kF5 = 63,
  kF8 = 66,
  kF9 = 67,
  kNumpad0 = 82,
  kF12 = 88,
  kPlaybackCancel = 148,
  kRightCtrl = 157,
  kPrintScreen = 183,
  kInsert = 210,
};

constexpr int32_t kPadAndKeyboard = 0x1001;
constexpr int32_t kFirstPad = 1;
constexpr int32_t kFourthButtonBit = 0x4000;
constexpr size_t kPrintScreenSlot = 5;
// The function keys in the order of InputState::functionKeys.
constexpr std::array<int32_t, 5> kFunctionKeys = {kF4, kF5, kF9, kF8, kF12};

// What the last update saw, for the new-press edges. Process-wide: a fresh
// input state at the title does not forget it.
struct PreviousUpdate {
  uint8_t ctrl = 0, shift = 0, printScreen = 0;
  std::array<uint8_t, 4> liveButtons{};
  std::array<uint8_t, 4> gameButtons{};
  std::array<uint8_t, 4> directionKeys{};
  int32_t direction8 = 0;
  std::array<uint8_t, 5> functionKeys{};
  int32_t directionHold = 0;
};
PreviousUpdate gPrevious;

bool KeyDown(int32_t directInputCode) {
  return directInputCode >= 0 && directInputCode < 256 && Input.keyboard[static_cast<size_t>(directInputCode)] == 1;
}

// A key code as events store it (DirectInput code + 100). The configuration
// takes any number, so only the keyboard's range is read.
bool ConfiguredKeyDown(int32_t keyCode) { return keyCode >= 100 && keyCode <= 355 && KeyDown(keyCode - 100); }

uint8_t Edge(uint8_t held, uint8_t& previous) {
  const uint8_t pressed = held && !previous ? 1 : 0;
  previous = held;
  return pressed;
}

int32_t Increment(int32_t count) { return count < INT32_MAX ? count + 1 : count; }

void ReadDirections(bool active) {
  if (!active) return;
  const int bits = GetPadInputBits(kPadAndKeyboard);
  Input.directionKeys = {static_cast<uint8_t>((bits & 8) != 0), static_cast<uint8_t>((bits & 1) != 0),
                         static_cast<uint8_t>((bits & 2) != 0), static_cast<uint8_t>((bits & 4) != 0)};
}

void ReadMouse(bool active) {
  Input.mouseHeld.fill(0);
  Input.mousePressed.fill(0);
  int x = 0;
  int y = 0;
  GetMousePosition(&x, &y);
  if (!(TileUnit == 32 && GetWindowScale() == 1.0)) {
    x += 1;
    y += 1;
  }
  x = std::clamp(x, 0, 640);
  y = std::clamp(y, -10, 480);
  // The small grid is drawn at twice its size.
  if (TileUnit == 16) {
    x /= 2;
    y /= 2;
  }
  Input.mouseMoveX = x - Input.previousMouseX;
  Input.mouseMoveY = y - Input.previousMouseY;
  Input.previousMouseX = Input.mouseX = x;
  Input.previousMouseY = Input.mouseY = y;
  if (active) {
    const int buttons = GetMouseButtons();
    for (size_t b = 0; b < 3; ++b) Input.mouseHeld[b] = (buttons >> b) & 1;
  }
  for (size_t b = 0; b < 3; ++b) Input.mousePressed[b] = Edge(Input.mouseHeld[b], Input.mouseLastFrame[b]);
  Input.mouseWheel = active ? TakeMouseWheel() : 0;
}

void ReadModifiers(bool active) {
  Input.ctrlHeld = active && (KeyDown(kLeftCtrl) || KeyDown(kRightCtrl));
  Input.shiftHeld = active && (KeyDown(kLeftShift) || KeyDown(kRightShift));
  Input.ctrlPressed = Edge(Input.ctrlHeld, gPrevious.ctrl);
  Input.shiftPressed = Edge(Input.shiftHeld, gPrevious.shift);
  std::array<uint8_t, 2>& print = Input.functionKeys[kPrintScreenSlot];
  print[0] = active && KeyDown(kPrintScreen);
  print[1] = Edge(print[0], gPrevious.printScreen);
}

// The player's own decide, cancel, sub and fourth buttons. During playback
// they steer it, read whether or not the window is active.
void ReadLiveButtons(bool active, bool playback) {
  std::array<uint8_t, 4>& held = Input.liveButtonsHeld;
  held.fill(0);
  if (active || playback) {
    const RootEventRunner& keys = RootRunner;
    const int32_t pad = GetPadInputBits(kFirstPad);
    held[kButtonDecide] = (pad & keys.keyCodes[RootEventRunner::kDecidePad]) != 0 ||
                          ConfiguredKeyDown(keys.keyCodes[RootEventRunner::kDecideKey]) || KeyDown(kEnter) ||
                          KeyDown(kSpace);
    held[kButtonCancel] = (pad & keys.keyCodes[RootEventRunner::kCancelPad]) != 0 ||
                          ConfiguredKeyDown(keys.keyCodes[RootEventRunner::kCancelKey]) || KeyDown(kNumpad0) ||
                          KeyDown(kInsert) || KeyDown(kEscape) || KeyDown(kBackspace) ||
                          (playback && KeyDown(kPlaybackCancel));
    held[kButtonSub] = (pad & keys.keyCodes[RootEventRunner::kSubPad]) != 0 || KeyDown(kLeftShift) ||
                       KeyDown(kRightShift) || ConfiguredKeyDown(keys.keyCodes[RootEventRunner::kSubKey]);
    held[kButtonFourth] = !playback && (pad & kFourthButtonBit) != 0;
  }
  for (size_t b = 0; b < held.size(); ++b) Input.liveButtonsPressed[b] = Edge(held[b], gPrevious.liveButtons[b]);
}

// Everything of live play up to the game's buttons.
void ReadLivePlay() {
  const bool active = IsAppActive() == 1;
  ReadDirections(active);
  ReadMouse(active);
  ReadModifiers(active);
  ReadLiveButtons(active, false);
  Input.buttonsHeld = Input.liveButtonsHeld;
}

bool Repeats(int32_t count, int32_t delay, int32_t interval) {
  return count == delay || (count > delay && (count - delay) % interval == 0);
}

// The latest press wins on one axis (first and second: up and down, or left
// and right).
void ApplyLatestPress(size_t first, size_t second, const std::array<uint8_t, 4>& pressed) {
  std::array<uint8_t, 4>& effective = Input.effectiveDirections;
  const std::array<uint8_t, 4>& held = Input.directionKeys;
  for (const auto& [self, other] : {std::pair{first, second}, std::pair{second, first}}) {
    if (pressed[self]) {
      effective[self] = 1;
      effective[other] = 0;
    } else if (!held[self]) {
      effective[self] = 0;
      effective[other] = held[other];
    }
  }
}

void UpdateDirections() {
  std::array<uint8_t, 4> pressed{};
  for (size_t d = 0; d < 4; ++d) pressed[d] = Input.directionKeys[d] && !gPrevious.directionKeys[d];
  gPrevious.directionHold = Increment(gPrevious.directionHold);
  ApplyLatestPress(kUp, kDown, pressed);
  ApplyLatestPress(kLeft, kRight, pressed);

  const std::array<uint8_t, 4>& effective = Input.effectiveDirections;
  const bool left = effective[kLeft];
  const bool right = effective[kRight];
  if (effective[kUp]) {
    Input.direction4 = 8;
    Input.direction8 = left ? 7 : right ? 9 : 8;
  } else if (effective[kDown]) {
    Input.direction4 = 2;
    Input.direction8 = left ? 1 : right ? 3 : 2;
  } else if (left) {
    Input.direction4 = Input.direction8 = 4;
  } else if (right) {
    Input.direction4 = Input.direction8 = 6;
  } else {
    gPrevious.directionHold = 0;
  }

  Input.pressedDirection = 0;
  constexpr std::array<int32_t, 4> kCodes = {8, 2, 4, 6};
  for (size_t d = 0; d < 4; ++d) {
    if (pressed[d]) Input.pressedDirection = kCodes[d];
  }
  Input.directionPressed = pressed;
  Input.changedDirection8 = Input.direction8 != gPrevious.direction8 ? Input.direction8 : 0;
  Input.direction4Repeat = Input.pressedDirection;
  Input.direction8Repeat = Input.changedDirection8;
}

// What the game derives from its buttons and direction keys, wherever they
// came from.
void UpdateGameInputs() {
  for (size_t b = 0; b < Input.buttonsHeld.size(); ++b) {
    Input.buttonsPressed[b] = Edge(Input.buttonsHeld[b], gPrevious.gameButtons[b]);
  }
  Input.decideHoldCount = Input.buttonsHeld[kButtonDecide] ? Increment(Input.decideHoldCount) : 0;
  Input.cancelHoldCount = Input.buttonsHeld[kButtonCancel] ? Increment(Input.cancelHoldCount) : 0;

  UpdateDirections();

  // Repeat delays are given in frames of 60 a second.
  const int32_t step = std::max(1, GameInformation.FrameStep());
  const int32_t delay = std::max(1, RootRunner.inputRepeat[0] / step);
  const int32_t interval = std::max(1, RootRunner.inputRepeat[1] / step);
  Input.decideRepeat = Repeats(Input.decideHoldCount, delay, interval);
  Input.cancelRepeat = Repeats(Input.cancelHoldCount, delay, interval);
  if (Repeats(gPrevious.directionHold, delay, interval)) {
    Input.direction4Repeat = Input.direction4;
    Input.direction8Repeat = Input.direction8;
  }
  gPrevious.direction8 = Input.direction8;
  gPrevious.directionKeys = Input.directionKeys;
}

void ReadFunctionKeys() {
  for (size_t k = 0; k < kFunctionKeys.size(); ++k) {
    std::array<uint8_t, 2>& key = Input.functionKeys[k];
    key[0] = KeyDown(kFunctionKeys[k]);
    key[1] = Edge(key[0], gPrevious.functionKeys[k]);
  }
}

// The start of every update of the game's side.
void BeginUpdate() {
  Input.directionKeys.fill(0);
  Input.ctrlHeld = Input.shiftHeld = 0;
  GetAllKeyStates(Input.keyboard.data());
  Input.direction4 = Input.direction8 = 0;
}

ReplayLog::Frame GameFrame() {
  const std::array<uint8_t, 4>& d = Input.directionKeys;
  const std::array<uint8_t, 4>& b = Input.buttonsHeld;
  return {d[kUp], d[kDown], d[kLeft], d[kRight], b[kButtonDecide], b[kButtonCancel], b[kButtonSub], b[kButtonFourth]};
}

}  // namespace

void UpdateInput() {
  if (ReplayPlaying && ReplayEnded) return;
  BeginUpdate();
  if (!ReplayPlaying) {
    ReadLivePlay();
    GameReplay.Record(GameFrame());
  } else {
    ReadLiveButtons(false, true);
    ReplayLog::Frame frame;
    GameReplay.PlayNext(frame);
    for (size_t d = 0; d < 4; ++d) Input.directionKeys[d] = frame[d];
    for (size_t b = 0; b < 4; ++b) Input.buttonsHeld[b] = frame[4 + b];
  }
  UpdateGameInputs();
  ReadFunctionKeys();
}

void UpdateLiveInput() {
  if (!ReplayPlaying) {
    BeginUpdate();
    ReadLivePlay();
    UpdateGameInputs();
    ReadFunctionKeys();
    return;
  }
  GetAllKeyStates(Input.keyboard.data());
  ReadLiveButtons(false, true);
  ReadMouse(IsAppActive() == 1);
  ReadFunctionKeys();
}
