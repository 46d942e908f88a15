#include "engine/map/MapReadings.h"

#include <climits>

#include "engine/events/MapHooks.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"

namespace {

bool Facts(int32_t id, CharacterFacts& out) {
  MapCharacter* c = FindCharacter(id);
  if (!c) return false;
  const int32_t t = CurrentMapSettings.tileUnit;
  out = CharacterFacts{};
  out.id = c->id;
  out.preciseX = c->preciseX;
  out.preciseY = c->preciseY;
  out.height = c->height;
  out.direction = c->direction;
  out.screenX = c->ScreenX(false);
  out.screenYBase = c->ScreenYBase(false);
  out.extraImage = c->extraBytes.empty() ? 255 : c->extraBytes[0];
  out.terrainTag = c->TerrainTagUnder();
  const int64_t x = c->ScreenX(true);
  const int64_t y = c->ScreenY(true);
  out.onScreen = x > -t && x < 21 * int64_t{t} && y > -t && y < 17 * int64_t{t};
  if (const MapEventState* e = id >= 0 ? CurrentMap.FindEvent(id) : nullptr) {
    out.isMapEvent = true;
    out.activePage = e->pageIndex;
    out.trigger = e->trigger;
    out.collisionX = e->pageIndex >= 0 ? e->CollisionWidth(0) : 0;
    out.collisionY = e->pageIndex >= 0 ? e->CollisionWidth(1) : 0;
  }
  return true;
}

int32_t TerrainTagAt(int32_t x, int32_t y) { return CurrentMap.GetTerrainTag(x, y); }

int32_t EventAt(int32_t x, int32_t y, bool precise) {
  for (const MapEventState& e : CurrentMap.events) {
    const bool here = precise ? (e.preciseX == x && e.preciseY == y) : (e.preciseX / 2 == x && e.preciseY / 2 == y);
    if (here) return e.id;
  }
  return -1;
}

bool TilesPassable(int32_t x, int32_t y) { return CurrentMap.IsPassable(x, y, 0, 0); }

bool HeroCanEnter(int32_t x, int32_t y) {
  const MapCharacter* hero = FindCharacter(MapCharacter::kHeroId);
  return hero && hero->CanMoveWrapped(x, y, 0);
}

// The tile-flag index of a layer's cell: 0 an empty cell, -1 outside the
// map (a looping axis has no outside).
int32_t TileAt(int32_t x, int32_t y, int32_t layer) {
  const MapScene& map = CurrentMap;
  if (!map.HasMap()) return -1;
  if (!map.loopX && (x < 0 || x >= 2 * int64_t{map.Width()})) return -1;
  if (!map.loopY && (y < 0 || y >= 2 * int64_t{map.Height()})) return -1;
  return map.TileAt(x, y, layer).index;
}

// The smallest id of the events whose cell holds the mouse's map pixel;
// an event standing half a tile higher is hit half a tile higher.
int32_t EventUnderMouse(int32_t mouseX, int32_t mouseY) {
  const MapScene& map = CurrentMap;
  const int64_t t = CurrentMapSettings.tileUnit;
  const int64_t w = int64_t{map.Width()} * t;
  const int64_t h = int64_t{map.Height()} * t;
  if (!map.HasMap() || w <= 0 || h <= 0) return -1;
  const int64_t mx = WrapCoordinate(map.scrollX / 4 + int64_t{mouseX} + w, w);
  const int64_t my = WrapCoordinate(map.scrollY / 4 + int64_t{mouseY} + h, h);
  int32_t found = INT32_MAX;
  for (const MapEventState& e : map.events) {
    const int64_t dx = mx - e.quarterX / 4;
    const int64_t dy = my - e.quarterY / 4;
    const int64_t raised = (e.preciseY & 1) ? t / 2 : 0;
    if (0 < dx && dx < t && t / 2 - raised <= dy && dy <= t && e.id < found) found = e.id;
  }
  return found == INT32_MAX ? -1 : found;
}

}  // namespace

void AddMapReadings(MapHooks& hooks) {
  hooks.characterFacts = Facts;
  hooks.terrainTagAt = TerrainTagAt;
  hooks.eventAt = EventAt;
  hooks.tilesPassable = TilesPassable;
  hooks.heroCanEnter = HeroCanEnter;
  hooks.tileAt = TileAt;
  hooks.eventUnderMouse = EventUnderMouse;
}
