// System variables (IDs 9000000 + n) and system strings (9900000 + n) that
// are fields of the store's root runner. An int16 or byte field keeps the low
// bits of a written value and reads back sign-extended. The rows that show
// other live objects (windows, sounds, the map, the clock) are not fields and
// read -1 here until those objects are reachable.

#include <algorithm>

#include "engine/events/KeyConfig.h"
#include "engine/events/VariableStore.h"
#include "runtime/Movan.h"

namespace {

int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value))); }
uint8_t Low8(int32_t value) { return static_cast<uint8_t>(static_cast<uint32_t>(value)); }
int32_t SignedByte(uint8_t value) { return static_cast<int8_t>(value); }

}  // namespace

int32_t VariableStore::ReadSystemVariable(int32_t n) const {
  const RootEventRunner* r = rootRunner;
  if (!r) return 0;
  switch (n) {
    case 0: case 1: case 2: case 3: case 4: return r->systemValues0To4[n];
    case 5: return r->messageWindowX;
    case 6: return r->messageWindowY;
    case 7: return r->choiceCursor;
    case 8: return r->messageFontSize;
    case 9: return r->messageValues[0];
    case 10: return r->messageValues[2];
    case 11: return r->messageValues[1];
    case 14: return SignedByte(r->choiceFrame);
    case 15: return r->inputRepeat[0];
    case 16: return r->inputRepeat[1];
    case 17: case 18: case 19: return r->systemValues17To19[n - 17];
    case 21: return RootRunner.textEdge;
    case 22: return RootRunner.choiceCursorBlend;
    case 24: return r->slotHoldsGame;
    case 25: return r->saveSlotValue;
    case 28: return r->frameCounter;
    case 29: return r->playSeconds;
    case 30: return r->millisecondsOfSecond;
    case 31: return r->framesPerSecond;
    case 32: return r->debugTimeValue;
    case 33: return r->frameSkipMode;
    case 36: return r->followerSetting;
    case 37: return r->followerSpacing;
    case 39: return r->textEntryResult;
    case 40: return r->textEntryX;
    case 41: return r->textEntryY;
    case 52: case 53: case 54: return GetKeyConfig(n - 52, 1, r);
    case 55: case 56: case 57: return GetKeyConfig(n - 55, 0, r);
    case 59: case 60: return r->keyInputValues[n - 59];
    case 61: case 62: case 63: case 64: case 65: return r->fog[n - 61];
    case 66: case 67: case 68: return r->panorama[n - 66];
    case 73: return r->mouseWindowValue;
    case 74: return IsMouseCursorShown();
    case 87: case 88: case 89: case 90: case 91: {
      const size_t index = static_cast<size_t>(n - 87);
      return index < r->followerValues.size() ? r->followerValues[index] : -1;
    }
    case 100: case 101: case 102: return r->soundValues[n - 100];
    default: return -1;
  }
}

void VariableStore::WriteSystemVariable(int32_t n, int32_t value) {
  RootEventRunner* r = rootRunner;
  if (!r) return;
  switch (n) {
    case 0: case 1: case 2: case 3: case 4: r->systemValues0To4[n] = value; return;
    case 5: r->messageWindowX = Low16(value); return;
    case 6: r->messageWindowY = Low16(value); return;
    case 7: r->choiceCursor = value; return;
    case 8: r->messageFontSize = value; return;
    case 9: r->messageValues[0] = value; return;
    case 10: r->messageValues[2] = value; return;
    case 11: r->messageValues[1] = value; return;
    case 14: r->choiceFrame = Low8(value); return;
    case 15: r->inputRepeat[0] = std::max(value, 1); return;
    case 16: r->inputRepeat[1] = std::max(value, 1); return;
    case 17: case 18: case 19: r->systemValues17To19[n - 17] = value; return;
    case 21: RootRunner.textEdge = value; return;
    case 22: RootRunner.choiceCursorBlend = std::clamp(value, 0, 3); return;
    case 25: r->saveSlotValue = value; return;
    case 28: r->frameCounter = value; return;
    case 29: r->playSeconds = value; return;
    case 30: r->millisecondsOfSecond = value; return;
    case 33: r->frameSkipMode = value; return;
    case 36: r->followerSetting = Low16(value); return;
    case 37: r->followerSpacing = Low16(value); return;
    case 40: r->textEntryX = Low16(value); return;
    case 41: r->textEntryY = Low16(value); return;
    case 52: case 53: case 54: SetKeyConfig(value, n - 52, 1, r); return;
    case 55: case 56: case 57: SetKeyConfig(value, n - 55, 0, r); return;
    case 59: case 60: r->keyInputValues[n - 59] = value; return;
    case 61: case 62: case 63: case 64: case 65: r->fog[n - 61] = value; return;
    case 66: case 67: case 68: r->panorama[n - 66] = value; return;
    case 73: r->mouseWindowValue = value; return;
    case 74:
      r->mouseCursorShown = value != 0;
      ShowMouseCursor(RootRunner.mouseCursorShown);
      return;
    case 87: case 88: case 89: case 90: case 91: {
      const size_t index = static_cast<size_t>(n - 87);
      if (index >= r->followerValues.size()) r->followerValues.resize(index + 1, -1);
      r->followerValues[index] = value;
      return;
    }
    case 100: case 101: r->soundValues[n - 100] = std::max(value, 0); return;
    case 102: r->soundValues[2] = value; return;
    default: return;
  }
}

std::string VariableStore::ReadSystemString(int32_t n) const {
  const RootEventRunner* r = rootRunner;
  if (!r) return "";
  switch (n) {
    case 1: case 2: case 3: return KeyConfigName(n - 1, 1, r);
    case 4: case 5: case 6: return KeyConfigName(n - 4, 0, r);
    case 26: return r->messagePrefix;
    case 27: return r->messageSuffix;
    case 30: return r->panoramaFileName;
    case 31: return r->fogFileName;
    case 33: return r->musicFileName;
    case 34: return r->backgroundSoundFileName;
    default: return "";
  }
}

void VariableStore::WriteSystemString(int32_t n, const std::string& value) {
  RootEventRunner* r = rootRunner;
  if (!r) return;
  switch (n) {
    case 26: r->messagePrefix = value; return;
    case 27: r->messageSuffix = value; return;
    case 30: r->panoramaFileName = value; return;
    case 31: r->fogFileName = value; return;
    default: return;
  }
}
