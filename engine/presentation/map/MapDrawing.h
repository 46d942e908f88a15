#pragma once
// The game scene's members that draw the map, in the order the scene builds
// them: the hero's sprite, the followers' sprites, the tile layers, the
// panorama, the fog, one sprite per map event (in the order of the map
// scene's event list) and the draw order. The game scene owns one, rebuilds
// its sprites after every real map change and scene reload, scrolls the
// panorama and fog in its update and draws the map while the map is shown.

#include <vector>

#include "engine/presentation/map/CharacterSprite.h"
#include "engine/presentation/map/DrawOrder.h"
#include "engine/presentation/map/TileLayerState.h"
#include "engine/presentation/map/WrappingImageLayer.h"

class MapDrawing {
 public:
  static constexpr int32_t kFollowers = 5;

  CharacterSprite heroSprite;
  std::vector<CharacterSprite> followerSprites;
  TileLayerState tileLayers;
  Panorama panorama;
  Fog fog;
  std::vector<CharacterSprite> eventSprites;
  DrawOrder drawOrder;

  // Fresh sprites for the hero, the five followers and every map event of
  // the current map; fresh tile layers, panorama and fog (whose parallax
  // divisors start again at 0).
  void ResetSprites();
  // The tile layers take the map scene's scroll (quarter pixels) in pixels.
  void TakeMapScroll();
  // One frame's scroll of the panorama, then of the fog.
  void ScrollPanoramaAndFog();
  // The tone's brightness, the panorama, the pictures behind the tiles, the
  // lower tiles, the pictures above them, the characters with the rows of
  // level-1 tiles between them, the upper tiles, the fog.
  void DrawMap();
  // Drops the members in the reverse order of their construction.
  void DestroyDrawMembers();

  bool operator==(const MapDrawing&) const = default;
};
