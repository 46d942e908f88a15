// System variables (IDs 9000000 + n) and system strings (9900000 + n) that
// are fields of the store's root runner. An int16 or byte field keeps the low
// bits of a written value and reads back sign-extended. The rows that show
// other live objects (the sound manager, the map scene, the hub, the input
// state, the clock) read and act on the running game whatever the store;
// the side effects marked for the live store happen only on the store bound
// to the global root runner.

#include <algorithm>
#include <ctime>

#include "engine/events/variables/KeyConfig.h"
#include "engine/events/LiveGameHooks.h"
#include "engine/events/MapHooks.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/DownloadState.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/services/TruncateToInt.h"
#include "runtime/Movan.h"

namespace {

int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value))); }
uint8_t Low8(int32_t value) { return static_cast<uint8_t>(static_cast<uint32_t>(value)); }
int32_t SignedByte(uint8_t value) { return static_cast<int8_t>(value); }

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int32_t Truncate(double value) { return TruncateToInt32(value); }

// The lower limit first, then the upper one, so the upper wins when the
// two cross.
int64_t Limit(int64_t value, int64_t low, int64_t high) { return std::min(std::max(value, low), high); }

// A mouse coordinate of the game screen in the window's pixels.
int32_t MouseToWindow(int32_t value) { return Truncate(value * (32.0 / TileUnit) * GetWindowScale()); }

int32_t ClockField(int32_t n) {
  std::tm now{};
  CurrentLiveGameHooks().localTime(now);
  switch (n) {
    case 77: return now.tm_year + 1900;
    case 78: return now.tm_mon + 1;
    case 79: return now.tm_mday;
    case 80: return now.tm_hour;
    case 81: return now.tm_min;
    default: return now.tm_sec;
  }
}

// A speed written to the music (kind 0) or background sound (1).
void ApplySpeed(int32_t kind, int32_t percent) {
  const LiveGameHooks& live = CurrentLiveGameHooks();
  live.storeSpeed(kind, percent);
  if (kind == 0 && live.midiMusicPlaying()) {
    live.clearPendingTempo();
    const int64_t v = percent;
    live.midiTempoDepth(Saturate(v >= 100 ? (v - 100) / 2 : v * 2 - 200));
    return;
  }
  live.setRatePercent(kind, percent);
}

void ScrollTo(int32_t axis, int32_t value) {
  const LiveGameHooks& live = CurrentLiveGameHooks();
  const int64_t unit = TileUnit;
  int64_t limited;
  if (axis == 0) {
    const int64_t width = live.mapWidth();
    limited = live.loopsHorizontally() ? Limit(value, 1 - 10 * unit, (width - 10) * unit)
                                       : Limit(value, 0, (width - 20) * unit);
    live.setScroll(Saturate(limited * 4), live.scrollY());
  } else {
    const int64_t height = live.mapHeight();
    // trunc(-7.5 x unit) - 1 .. trunc((height - 7.5) x unit + 1), in halves.
    limited = live.loopsVertically() ? Limit(value, (-15 * unit) / 2 - 1, ((2 * height - 15) * unit + 2) / 2)
                                     : Limit(value, 0, (height - 15) * unit + 1);
    live.setScroll(live.scrollX(), Saturate(limited * 4));
  }
}

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
    case 12: return SystemStateHub.messageWindowShown;
    case 13: return RootInterpreter.IsRunning() ? 1 : 0;
    case 14: return SignedByte(r->choiceFrame);
    case 15: return r->inputRepeat[0];
    case 16: return r->inputRepeat[1];
    case 17: case 18: case 19: return r->systemValues17To19[n - 17];
    case 20: return SystemStateHub.lastChoiceResult;
    case 21: return RootRunner.textEdge;
    case 22: return RootRunner.choiceCursorBlend;
    case 23: {
      const SystemState& hub = SystemStateHub;
      return hub.mapChangePending ? hub.transferMapId : CurrentMapHooks().currentMapId();
    }
    case 24: return r->slotHoldsGame;
    case 25: return r->saveSlotValue;
    case 28: return r->frameCounter;
    case 29: return r->playSeconds;
    case 30: return r->millisecondsOfSecond;
    case 31: return r->framesPerSecond;
    case 32: return r->debugTimeValue;
    case 33: return r->frameSkipMode;
    case 35: return CurrentLiveGameHooks().heroMoving() ? 1 : 0;
    case 36: return r->followerSetting;
    case 37: return r->followerSpacing;
    case 39: return r->textEntryResult;
    case 40: return r->textEntryX;
    case 41: return r->textEntryY;
    case 43: case 44: case 45: case 46: case 47: return Downloads.progress[static_cast<size_t>(n - 43)];
    case 48: return Downloads.status;
    case 52: case 53: case 54: return GetKeyConfig(n - 52, 1, r);
    case 55: case 56: case 57: return GetKeyConfig(n - 55, 0, r);
    case 59: case 60: return r->keyInputValues[n - 59];
    case 61: case 62: case 63: case 64: case 65: return r->fog[n - 61];
    case 66: case 67: case 68: return r->panorama[n - 66];
    case 71: return Input.mouseX;
    case 72: return Input.mouseY;
    case 73: return r->mouseWindowValue;
    case 74: return IsMouseCursorShown();
    case 77: case 78: case 79: case 80: case 81: case 82: return ClockField(n);
    case 84: return TileUnit != 16 ? 1 : 0;
    case 85: return IsDirect3DPathActive() ? 0 : 1;
    case 87: case 88: case 89: case 90: case 91: {
      const size_t index = static_cast<size_t>(n - 87);
      return index < r->followerValues.size() ? r->followerValues[index] : -1;
    }
    case 95: return CurrentLiveGameHooks().currentVolume(0);
    case 96: return CurrentLiveGameHooks().speed(0);
    case 97: return CurrentLiveGameHooks().currentVolume(1);
    case 98: return CurrentLiveGameHooks().speed(1);
    case 100: case 101: case 102: return r->soundValues[n - 100];
    case 104: return CurrentLiveGameHooks().scrollX() / 4;
    case 105: return CurrentLiveGameHooks().scrollY() / 4;
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
    case 33:
      r->frameSkipMode = value;
      CurrentLiveGameHooks().setFrameSkip(value);
      return;
    case 36: r->followerSetting = Low16(value); return;
    case 37: r->followerSpacing = Low16(value); return;
    case 40: r->textEntryX = Low16(value); return;
    case 41: r->textEntryY = Low16(value); return;
    case 52: case 53: case 54: SetKeyConfig(value, n - 52, 1, r); return;
    case 55: case 56: case 57: SetKeyConfig(value, n - 55, 0, r); return;
    case 59: case 60: r->keyInputValues[n - 59] = value; return;
    case 61: case 62: case 63: case 64: case 65: r->fog[n - 61] = value; return;
    case 66: case 67: case 68: r->panorama[n - 66] = value; return;
    case 71:
      SetMousePosition(MouseToWindow(value), MouseToWindow(Input.mouseY));
      Input.mouseX = value;
      return;
    case 72:
      SetMousePosition(MouseToWindow(Input.mouseX), MouseToWindow(value));
      Input.mouseY = value;
      return;
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
    case 95: case 97: {
      const int32_t kind = (n - 95) / 2;
      const int64_t target = int64_t{value} * r->soundValues[kind] / 100;
      CurrentLiveGameHooks().rampVolume(kind, Saturate(target), 2);
      return;
    }
    case 96: case 98: ApplySpeed((n - 96) / 2, value); return;
    case 100: case 101: {
      const int32_t kind = n - 100;
      r->soundValues[kind] = std::max(value, 0);
      if (r != &RootRunner) return;
      const int64_t base = CurrentLiveGameHooks().baseVolume(kind);
      const int64_t target = int64_t{r->soundValues[kind]} * base / std::max<int64_t>(base, 1);
      CurrentLiveGameHooks().rampVolume(kind, Saturate(target), 2);
      return;
    }
    case 102: r->soundValues[2] = value; return;
    case 104: case 105:
      if (r == &RootRunner) ScrollTo(n - 104, value);
      return;
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
    case 10: case 11: case 12: case 13: case 14: case 15: return CurrentLiveGameHooks().memberGraphic(n - 10);
    case 20: return Settings.proxy;
    case 21: return Settings.proxyPort;
    case 25: return SystemStateHub.lastMessageText;
    case 33: return r->musicFileName;
    case 34: return r->backgroundSoundFileName;
    case 40: case 41: case 42: case 43: case 44: case 45: case 46: case 47: case 48: case 49:
      return SystemStateHub.lastChoiceTexts[static_cast<size_t>(n - 40)];
    default: return "";
  }
}

void VariableStore::WriteSystemString(int32_t n, const std::string& value) {
  RootEventRunner* r = rootRunner;
  if (!r) return;
  switch (n) {
    case 26: r->messagePrefix = value; return;
    case 27: r->messageSuffix = value; return;
    case 10: case 11: case 12: case 13: case 14: case 15: CurrentLiveGameHooks().setMemberGraphic(n - 10, value); return;
    case 20: Settings.proxy = value; return;
    case 21: Settings.proxyPort = value; return;
    case 30:
      r->panoramaFileName = value;
      SystemStateHub.panoramaChanged = 1;
      return;
    case 31:
      r->fogFileName = value;
      SystemStateHub.fogChanged = 1;
      return;
    default: return;
  }
}
