#include "engine/services/InputState.h"

#include "runtime/Movan.h"

InputState Input;

namespace {

int (*gPadBits)(int type) = GetPadInputBits;

constexpr int32_t kRightCtrl = 157;

// Keys the any-key scan leaves to the game's own buttons.
bool SkippedByScan(int32_t key) { return key == 28 || key == 1 || key == 42 || key == 54 || key == 14 || key == 57; }

// The shared end of both queries: deliver found unless it is the last.
int32_t Deliver(bool remember, bool suppress, int32_t& lastKey, int32_t found, int32_t result) {
  if (!remember && !suppress) return result;
  if (found == lastKey) return 0;
  lastKey = remember ? found : 0;
  return result;
}

}  // namespace

void InputState::Reset() {
  mouseWheel = 0;
  mouseMoveX = mouseMoveY = 0;
  previousMouseX = previousMouseY = 0;
  decideRepeat = cancelRepeat = 0;
  decideHoldCount = cancelHoldCount = 0;
  effectiveDirections.fill(0);
  keyboard.fill(0);
  functionKeys[5] = {0, 0};
}

void SetPadBitsReader(int (*reader)(int type)) { gPadBits = reader ? reader : GetPadInputBits; }

int32_t KeyboardKeyQuery(bool remember, bool suppress, int32_t& lastKey, int32_t code) {
  if (remember) lastKey = 0;
  if (code >= 100 && code <= 355) {
    const int32_t key = code - 100;
    return key < 256 && Input.keyboard[static_cast<size_t>(key)] == 1 ? code : 0;
  }
  for (int32_t key = 2; key <= 124; ++key) {
    if (SkippedByScan(key) || Input.keyboard[static_cast<size_t>(key)] != 1) continue;
    return Deliver(remember, suppress, lastKey, key, key + 100);
  }
  if (Input.keyboard[kRightCtrl] == 1) return kRightCtrl;
  lastKey = 0;
  return 0;
}

int32_t PadButtonQuery(bool remember, bool suppress, int32_t& lastKey, int32_t code) {
  if (!remember && !suppress) lastKey = 0;
  const uint32_t bits = static_cast<uint32_t>(gPadBits(1));
  if (code >= 300 && code <= 320) {
    if (code >= 301 && code <= 315 && (bits & (0x10u << (code - 301))) != 0) {
      return Deliver(remember, suppress, lastKey, code, code);
    }
    lastKey = 0;
    return 0;
  }
  for (int32_t button = 301; button <= 315; ++button) {
    if ((bits & (0x10u << (button - 301))) != 0) return Deliver(remember, suppress, lastKey, button, button);
  }
  lastKey = 0;
  return 0;
}
