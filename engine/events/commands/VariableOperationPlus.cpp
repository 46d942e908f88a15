// The variable operation plus: one value of the running game (a
// character's position or state, a map cell, other game state, a picture's
// property) combined into an integer variable with the assignment
// operators of the variable operation.

#include "engine/events/EventArithmetic.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/LiveGameHooks.h"
#include "engine/events/MapHooks.h"
#include "engine/events/PictureHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/InputState.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"

namespace {

enum InformationKind : int32_t { kCharacter = 1, kMapPosition = 2, kOther = 3, kPicture = 4 };

constexpr int32_t kClampFlag = 0x1;
constexpr int32_t kIndirectFlag = 0x10;
constexpr int32_t kPreciseFlag = 0x20;

// The id the map knows a character by.
int32_t MapCharacterId(const CharacterReference& who) {
  switch (who.kind) {
    case CharacterReference::kHero: return -2;
    case CharacterReference::kFollower: return -2 - who.number;
    default: return who.number;
  }
}

int32_t CharacterValue(const CharacterFacts& c, int32_t property) {
  switch (property) {
    case 0: return c.preciseX / 2;
    case 1: return c.preciseY / 2;
    case 2: return c.preciseX;
    case 3: return c.preciseY;
    case 4: return c.height;
    case 5: return c.direction;
    case 6: return c.screenX;
    case 7: return c.screenYBase;
    case 8: return c.extraImage;
    case 9: return c.terrainTag;
    case 10: return c.id;
    case 11: return c.onScreen ? 1 : 0;
    // The page values of map events; the hero and the followers have none.
    case 12: return c.isMapEvent ? c.activePage + 1 : 0;
    case 13: return c.isMapEvent ? c.trigger : 0;
    case 14: return c.isMapEvent ? c.collisionX : 0;
    case 15: return c.isMapEvent ? c.collisionY : 0;
    default: return 0;
  }
}

int32_t MapPositionValue(int32_t code, int32_t x, int32_t y, bool precise) {
  const MapHooks& map = CurrentMapHooks();
  // Tiles count two precise units.
  const int32_t px = precise ? x : WrappingMul(x, 2);
  const int32_t py = precise ? y : WrappingMul(y, 2);
  switch (code) {
    case 0: return map.terrainTagAt(px, py);
    case 1: return map.eventAt(x, y, precise);
    case 2: return map.tilesPassable(px, py) ? 0 : 1;
    case 3: return map.heroCanEnter(px, py) ? 0 : 1;
    case 4:
      for (int32_t layer = 2; layer >= 0; --layer) {
        const int32_t tile = map.tileAt(px, py, layer);
        if (tile != 0 || layer == 0) return tile;
      }
      return 0;
    default: return 0;
  }
}

// A mouse button: 2 pressed in this frame, 1 held, 0 up.
int32_t MouseButton(size_t button) {
  if (Input.mousePressed[button]) return 2;
  return Input.mouseHeld[button] ? 1 : 0;
}

}  // namespace

bool EventInterpreter::DoVariableOperationPlus() {
  const EventCommand& command = Current();
  const int32_t flags = ArgumentOf(command, 2);
  const int32_t kind = (flags >> 12) & 15;
  if (kind < kCharacter || kind > kPicture) return true;

  int32_t cur = GetArgValue(ArgumentOf(command, 1));
  int64_t target = ArgumentOf(command, 1);
  if (flags & kIndirectFlag) {
    target = cur < 1000000 ? 2000000 + int64_t{cur} : cur;
    cur = GetArgValue(target);
  }

  const MapHooks& map = CurrentMapHooks();
  int32_t r = 0;
  switch (kind) {
    case kCharacter: {
      const CharacterReference who = ResolveCharacter(ArgumentOf(command, 3));
      CharacterFacts facts;
      r = who.kind != CharacterReference::kNone && map.characterFacts(MapCharacterId(who), facts)
              ? CharacterValue(facts, ArgumentOf(command, 4))
              : -1;
      break;
    }
    case kMapPosition: {
      const int32_t x = GetArgValue(ArgumentOf(command, 3));
      const int32_t y = GetArgValue(ArgumentOf(command, 4));
      r = MapPositionValue((flags >> 16) & 15, x, y, (flags & kPreciseFlag) != 0);
      break;
    }
    case kOther: r = OtherInformation(ArgumentOf(command, 3)); break;
    case kPicture:
      r = CurrentPictureHooks().queryProperty(GetArgValue(ArgumentOf(command, 3)), ArgumentOf(command, 4));
      break;
    default: break;
  }

  map.requestPageRefresh();
  int32_t value = 0;
  if (IntegerAssignment((flags >> 8) & 15, cur, r, value)) SetVariableValue(target, ClampToMillion(flags & kClampFlag, value));
  return true;
}

namespace {

// The play position or length in ms of the music or background sound
// playing; 0 when none plays or the music plays through the MIDI library.
int32_t PlayingSoundReading(int32_t kind, bool length) {
  const int32_t handle = GameSounds.fades[kind].currentHandle;
  if (handle == 0 || (kind == SoundManager::kMusic && GameSounds.currentIsMidi)) return 0;
  if (!length) return GetSoundPlayTime(handle);
  return GetSoundLengthMs(handle) + GameSounds.OggLengthCorrection(kind);
}

// A sound given by file name plays from a spare entry past the game's own:
// its number means nothing to the game, so it reads as none.
int32_t BaseEntryOrNone(int32_t entry, int32_t kind) { return entry < SoundEntryCounts.baseCount[kind] ? entry : -1; }

}  // namespace

int32_t EventInterpreter::OtherInformation(int32_t item) {
  const MapHooks& map = CurrentMapHooks();
  const LiveGameHooks& live = CurrentLiveGameHooks();
  switch (item) {
    case 0: return SystemStateHub.mapChangePending ? SystemStateHub.transferMapId : map.currentMapId();
    case 1: return BaseEntryOrNone(RootRunner.currentMusicEntry, SoundManager::kMusic);
    case 2: return BaseEntryOrNone(RootRunner.currentBackgroundSoundEntry, SoundManager::kBackgroundSound);
    case 3: return PlayingSoundReading(SoundManager::kMusic, false);
    case 4: return PlayingSoundReading(SoundManager::kBackgroundSound, false);
    case 5: return PlayingSoundReading(SoundManager::kMusic, true);
    case 6: return PlayingSoundReading(SoundManager::kBackgroundSound, true);
    case 7: return MouseButton(0);
    case 8: return MouseButton(1);
    case 9: return MouseButton(2);
    case 10: return Input.mouseWheel;
    case 11: return Input.mouseMoveX;
    case 12: return Input.mouseMoveY;
    case 13: return map.eventUnderMouse(Input.mouseX, Input.mouseY);
    case 14: return mapEventId;
    case 15: return live.mapWidth();
    case 16: return live.mapHeight();
    default: return 0;
  }
}
