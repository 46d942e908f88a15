#pragma once
// What the variables need of the map scene: the current map and the positions
// of its characters (variable IDs 9100000-9189999). The map scene fills the
// table when it is running; until then, and in tests that replace it, the
// defaults answer "no map": current map -1, no map event, no hero, no
// followers.
//
// Positions are in precise units (half a tile); height is the pixels the
// character is drawn above its position. A party member is 0 for the hero
// and k for the k-th follower.

#include <cstdint>

struct CharacterPosition {
  int32_t preciseX = 0;
  int32_t preciseY = 0;
  int32_t height = 0;
};

struct MapHooks {
  // The map id of the current map, -1 while none is loaded.
  int32_t (*currentMapId)();
  // The position of map event eventId of the current map; false when the map
  // has no such event.
  bool (*mapEventPosition)(int32_t eventId, CharacterPosition& out);
  // Moves that map event; nothing when the map has no such event.
  void (*setMapEventPosition)(int32_t eventId, const CharacterPosition& position);
  // The number of followers of the hero.
  int32_t (*followerCount)();
  // The position of party member 0..followerCount(); false when there is no
  // hero yet.
  bool (*partyMemberPosition)(int32_t member, CharacterPosition& out);
  void (*setPartyMemberPosition)(int32_t member, const CharacterPosition& position);
  // True while the hero, a follower or a map event still runs a forced move
  // route.
  bool (*forcedMoveRouteRunning)();
  // True while the map scene scrolls.
  bool (*isScrolling)();
  // The map event turns back to the direction it had before its event
  // started (unless its direction is fixed).
  void (*endTalkFacing)(int32_t eventId);
  // Asks the map scene to check its events' pages again.
  void (*requestPageRefresh)();
};

// The table in force (never null).
const MapHooks& CurrentMapHooks();

// Installs a table; null restores the defaults. Entries left null take the
// default.
void SetMapHooks(const MapHooks* hooks);
