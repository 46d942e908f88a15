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
#include <string>
#include <vector>

#include "engine/data/map/EventCommandList.h"

struct CharacterPosition {
  int32_t preciseX = 0;
  int32_t preciseY = 0;
  int32_t height = 0;
};

// What the variable operation plus reads of a character of the current map.
struct CharacterFacts {
  int32_t id = 0;  // map event id; -2 the hero; -3 and below the followers
  int32_t preciseX = 0;
  int32_t preciseY = 0;
  int32_t height = 0;
  int32_t direction = 0;  // numpad code
  int32_t screenX = 0;       // pixels, without loop wrap
  int32_t screenYBase = 0;   // pixels, without jump and height
  int32_t extraImage = 255;  // 255 none
  int32_t terrainTag = 0;
  bool onScreen = false;
  // Map events only.
  bool isMapEvent = false;
  int32_t activePage = -1;  // -1 none
  int32_t trigger = 0;
  int32_t collisionX = 0;  // half-widths of the active page, 0 without
  int32_t collisionY = 0;
};

// What the map commands read of the view: the map's size in tiles, its loop
// flags, the scroll in quarter pixels and the tile unit.
struct MapViewState {
  int32_t width = 0;
  int32_t height = 0;
  bool loopX = false;
  bool loopY = false;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  int32_t tileUnit = 32;
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

  // Events that start events. When a page refresh was requested, the map
  // selects every event's page again.
  void (*refreshPagesIfRequested)();
  // The first map event, in the map's order, whose start was requested: its
  // id and trigger; false when none.
  bool (*firstStartRequest)(int32_t& eventId, int32_t& trigger);
  void (*clearStartRequest)(int32_t eventId);
  // The map event turns to face the hero (unless its direction is fixed).
  void (*beginTalkFacing)(int32_t eventId);
  // The pages of the map event; -1 when the map has no such event.
  int32_t (*mapEventPageCount)(int32_t eventId);
  // A copy of the commands of page `page`, or of the active page when page
  // is negative; false when there is no such event or page.
  bool (*mapEventCommands)(int32_t eventId, int32_t page, EventCommandList& out);
  // Marks the event to be started by the root runner, when its active page
  // has commands and it is not being erased.
  void (*requestStart)(int32_t eventId);
  // The event fades out over `frames` frames and is gone.
  void (*startErase)(int32_t eventId, int32_t frames);
  // The character (a map event id, -2 the hero, -3 - i follower i) runs the
  // route, putting its own aside until the route ends.
  void (*forceMoveRoute)(int32_t characterId, const MoveRoute& route);

  // The party: member 1 the hero, 2 to 6 the followers.
  std::string (*partyGraphic)(int32_t member);
  void (*setPartyGraphic)(int32_t member, const std::string& fileName);
  void (*setPartyOpacity)(int32_t opacity);
  // The followers stand on the hero and forget the hero's steps.
  void (*resetFollowers)();
  // The followers stop or go on following (the held step is dropped).
  void (*setFollowersStopped)(bool stopped);
  // Every follower takes the extra image anew.
  void (*renewFollowerImages)(int32_t extraImage);

  // The commands of page `page` of a map event of map mapId, resolved now:
  // null when mapId is not the current map or it has no such event or page.
  EventCommandList* (*mapEventPageList)(int32_t mapId, int32_t eventId, int32_t page);

  // Commands on the map. Characters are known by id as forceMoveRoute takes
  // them.
  // Puts the character on a tile of the current map at once.
  void (*placeCharacter)(int32_t characterId, int32_t tileX, int32_t tileY);
  // The hero's facing; 2 without a hero.
  int32_t (*heroDirection)();
  // Entry `index` of the map's tile-flag table; false (nothing changed) past
  // the table.
  bool (*setTileFlag)(int32_t index, int32_t flags);
  // The table back as the tile set gave it.
  void (*restoreTileFlags)();
  // Tile set `number` of the list becomes the map's; false when there is no
  // such tile set.
  bool (*changeTileSet)(int32_t number);
  // Writes tile `tile` (0-7 an autotile, 8 and up a plain tile) into a
  // rectangle of layer 0-2 (in tiles) and reshapes the autotiles around it.
  void (*rewriteTiles)(int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h, int32_t tile);
  // The view; the map's size is 0 while no map is loaded.
  void (*mapView)(MapViewState& out);
  void (*startShake)(int32_t a, int32_t b, int32_t axis, int32_t frames);
  void (*stopShake)();
  // Amounts in quarter pixels, speed 0 to 8.
  void (*requestScroll)(int32_t dx, int32_t dy, int32_t speed);
  void (*startZoom)(int32_t centreX, int32_t centreY, int32_t percent, int32_t frames);
  // A character's colour effect (packed colour) and shake.
  void (*setCharacterEffect)(int32_t characterId, int32_t packedColour, int32_t frames);
  void (*startCharacterShake)(int32_t characterId, int32_t ampX, int32_t ampY, int32_t swings, int32_t period);

  // What the variable operation plus reads. Characters are known by id as
  // forceMoveRoute takes them; positions are precise units.
  bool (*characterFacts)(int32_t characterId, CharacterFacts& out);
  int32_t (*terrainTagAt)(int32_t x, int32_t y);
  // The first map event in the map's order standing at (x, y): at that
  // precise position, or with precise false anywhere on tile (x, y); -1
  // when none.
  int32_t (*eventAt)(int32_t x, int32_t y, bool precise);
  // The tiles alone let a character pass at (x, y).
  bool (*tilesPassable)(int32_t x, int32_t y);
  // The hero could step onto (x, y) (tiles and characters).
  bool (*heroCanEnter)(int32_t x, int32_t y);
  // The tile value of a layer (0-2) after loop wrap: 0 an empty cell, -1
  // outside the map.
  int32_t (*tileAt)(int32_t x, int32_t y, int32_t layer);
  // The smallest id of the map events under the mouse (screen pixels), -1
  // when none.
  int32_t (*eventUnderMouse)(int32_t mouseX, int32_t mouseY);
};

// The table in force (never null).
const MapHooks& CurrentMapHooks();

// Installs a table; null restores the defaults. Entries left null take the
// default.
void SetMapHooks(const MapHooks* hooks);
