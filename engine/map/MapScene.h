#pragma once
// The current map at run time: the map data and its tile set, the tables
// that passability reads, the scroll with its scripted requests, the screen
// shake, the zoom of the map view, looping, the map events at run time and
// the runners of the map's auto-start and parallel common events.
//
// Positions given to the tile queries are precise units (half tiles); the
// scroll is in quarter pixels (see MapCharacter.h). The scene is a plain
// value: save-slot snapshots and the title copy it whole.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/SaveBuffer.h"
#include "engine/data/map/MapData.h"
#include "engine/data/TileSet.h"
#include "engine/map/MapEventState.h"
#include "engine/map/PassabilityCache.h"

// A cell's tile as passability and drawing see it: its tile-flag index (0 the
// empty cell, 1 to 7 the autotiles, 8 + v the plain tile v) and, for an
// autotile, which of its pieces to draw.
struct MapTile {
  int32_t index = 0;
  int32_t shape = 0;

  bool operator==(const MapTile&) const = default;
};

struct ScrollRequest {
  int32_t directionX = 0;  // 4 or 6
  int32_t directionY = 0;  // 8 or 2
  int32_t remainingX = 0;
  int32_t remainingY = 0;
  int32_t stepX = 4;
  int32_t stepY = 4;

  bool operator==(const ScrollRequest&) const = default;
};

// x is the horizontal shake, y the vertical one.
struct ScreenShake {
  int32_t amplitudeX = 0;
  int32_t speedX = 0;
  int32_t amplitudeY = 0;
  int32_t speedY = 0;
  int32_t framesLeftX = 0;
  int32_t framesLeftY = 0;
  int32_t accumulatorX = 0;
  int32_t accumulatorY = 0;
  int32_t directionX = 0;
  int32_t directionY = 0;

  bool operator==(const ScreenShake&) const = default;
};

// Zoom in percent (100 unscaled), centres in map pixels.
struct MapZoom {
  int32_t targetCentreX = 0;
  int32_t startCentreX = 0;
  int32_t targetCentreY = 0;
  int32_t startCentreY = 0;
  int32_t targetZoom = 100;
  int32_t startZoom = 100;
  int32_t totalFrames = 0;
  int32_t framesLeft = 0;
  int32_t centreX = 0;
  int32_t centreY = 0;
  int32_t zoom = 100;

  bool operator==(const MapZoom&) const = default;
};

class MapScene {
 public:
  // Tile-flag bits.
  static constexpr int32_t kBottomEdge = 0x1;  // quarter mode: lower-right quarter
  static constexpr int32_t kLeftEdge = 0x2;    // quarter mode: lower-left quarter
  static constexpr int32_t kRightEdge = 0x4;   // quarter mode: upper-right quarter
  static constexpr int32_t kTopEdge = 0x8;     // quarter mode: upper-left quarter
  static constexpr int32_t kAllEdges = 0xF;
  static constexpr int32_t kTestBelow = 0x10;
  static constexpr int32_t kQuarterMode = 0x20;
  static constexpr int32_t kBush = 0x40;
  static constexpr int32_t kCounter = 0x80;
  static constexpr int32_t kAlsoTestBelow = 0x100;

  static constexpr int32_t kFrameCounterPeriod = 2400000;
  // The largest map side the scene takes, in tiles.
  static constexpr int32_t kMaxSide = 32767;
  inline static const std::string kTileSetFileName = "BasicData\\TileSetData.dat";

  // The layers of mapData and the tile flags feed passability through a
  // cache: change them through the operations below, or call
  // TileDataChanged after writing them directly.
  TileSet tileSet;
  MapData mapData;
  int32_t mapId = -1;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  ScrollRequest scrollRequest;
  std::string tileImageName;
  std::array<std::string, 7> autotileImageNames;
  uint8_t pageRefresh = 0;
  std::vector<uint8_t> terrainTags;
  std::vector<int32_t> tileFlags;
  std::vector<int32_t> loadedTileFlags;
  std::vector<MapEventState> events;
  // The common events whose runners belong to this map, by number.
  std::vector<int32_t> commonEventRunners;
  int32_t frameCounter = 0;
  uint8_t loopX = 0;
  uint8_t loopY = 0;
  int32_t shakeOffsetX = 0;
  int32_t shakeOffsetY = 0;
  ScreenShake shake;
  std::vector<int32_t> reservedList;
  TileSetList tileSetList;
  MapZoom zoom;

  // No map, nothing read: the global scene is built before the game folder
  // is known. Reset reads the tile sets.
  MapScene() = default;

  // Back to no map and the start values; reads the tile-set list anew.
  void Reset();
  // Enters a map by its number in the map list. A map that cannot be read
  // (or has no cells) ends the game and leaves the scene as it was.
  void ChangeMap(int32_t id);
  // Starts the map's background music and background sound.
  void StartMapSounds() const;

  bool HasMap() const { return mapId >= 0; }
  int32_t Width() const { return mapData.header.width; }
  int32_t Height() const { return mapData.header.height; }

  MapTile TileAt(int32_t x, int32_t y, int32_t layer) const;
  bool IsInsideMap(int64_t x, int64_t y) const {
    if (!HasMap()) return false;
    if (!loopX && (x < 0 || x >= 2 * int64_t{Width()} - 1)) return false;
    if (!loopY && (y < 0 || y >= 2 * int64_t{Height()})) return false;
    return true;
  }
  bool IsPassable(int64_t x, int64_t y, int32_t d, int32_t step) const;
  bool HasBushFlag(int32_t x, int32_t y) const;
  bool HasCounterFlag(int32_t x, int32_t y) const;
  int32_t GetTerrainTag(int32_t x, int32_t y) const;
  // The flags of a tile-flag index; 0 past the table.
  int32_t FlagsOf(int32_t index) const {
    return static_cast<uint32_t>(index) < tileFlags.size() ? tileFlags[static_cast<size_t>(index)] : 0;
  }

  // The layers or the tile flags were written directly.
  void TileDataChanged() { passability_.Invalidate(); }
  // Entry `index` of the tile-flag table; false (nothing changed) past its
  // end.
  bool SetTileFlag(int32_t index, int32_t flags);
  // The tile flags back as the tile set gave them.
  void RestoreTileFlags();
  // Tile set `number` of the list becomes the map's: its images, flags and
  // terrain tags. False when the list has no such tile set.
  bool ChangeTileSet(int32_t number);
  // Writes tile `tile` (0-7 an autotile, 8 and up the plain tile tile - 8)
  // into a rectangle of a layer 0-2, in tiles, cut at the map's edges, and
  // reshapes the autotiles on and around it.
  void RewriteTiles(int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h, int32_t tile);

  // Manual scroll by a quarter-pixel amount, held inside the map unless it
  // loops on that axis.
  void ScrollLeft(int32_t amount);
  void ScrollRight(int32_t amount);
  void ScrollUp(int32_t amount);
  void ScrollDown(int32_t amount);
  // A scroll over frames: amounts in quarter pixels, speed 0 to 8 (8 at
  // once).
  void RequestScroll(int32_t dx, int32_t dy, int32_t speed);
  bool IsScrolling() const { return scrollRequest.remainingX > 0 || scrollRequest.remainingY > 0; }

  // Axis 0 vertical, 1 horizontal: amplitude 2^a, speed 2^b, for frames + 1
  // frames.
  void StartShake(int32_t a, int32_t b, int32_t axis, int32_t frames);
  void StopShake();
  void StartZoom(int32_t centreX, int32_t centreY, int32_t percent, int32_t frames);

  // Asks for the event pages to be chosen again at the next update.
  void RequestPageRefresh() { pageRefresh = 1; }
  void RefreshPages();
  // One frame of the map.
  void Update();

  // The map event with this id, or null. The result is valid until the
  // event list next changes: callers resolve it again at each use.
  MapEventState* FindEvent(int32_t eventId);
  const MapEventState* FindEvent(int32_t eventId) const;

  // ---- Save record ----

  // Appends the scene's save record; false when the buffer is full.
  bool SaveState(SaveBuffer& out) const;
  // Reads a save record of the given save version into this scene, which
  // then holds exactly what the record says (no map is entered). False
  // (overrun) when the record is cut short or a count does not fit.
  bool LoadState(ByteCursor& in, int32_t version);
  // Enters the saved scene's map afresh and lays its saved state over it:
  // scroll, tiles (when the map still has their size), names, tile flags,
  // the events' characters (the list grows to the saved count) and the
  // reserved list.
  void EnterSavedState(const MapScene& saved);

  bool operator==(const MapScene&) const = default;

 private:
  int32_t MaxScrollX() const;
  int32_t MaxScrollY() const;
  void UpdateScrollRequest();
  void UpdateShake();
  void UpdateZoom();
  // The current tile set's images, flags and terrain tags become the map's.
  void AdoptTileSetTables();
  // The tile value at a precise position, wrapped into the map; an empty
  // cell without a map or past the layers.
  int32_t RawTile(int64_t x, int64_t y, int32_t layer) const;

  // Worked out from the layers and the flags when passability is first
  // asked after they change.
  mutable PassabilityCache passability_;
};

// The one map scene of the running game.
extern MapScene CurrentMap;

// A character by id, resolved now: a map event of the current map (id 0 and
// up), the hero (-2) or a follower (-3 - i). Null when there is none. Valid
// until the event list or the party next changes.
MapCharacter* FindCharacter(int32_t id);
