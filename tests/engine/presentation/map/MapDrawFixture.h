#pragma once
// The map drawing tests' scene: the test pictures written below the Data
// folder under the names the map and the characters use, a map built in
// memory with named tiles, and the game scene's map drawing members.
//
// Tile-flag entries: tile v has entry v + 8. Tiles 0-7 ground, 8-15
// objects, 16-23 wall tops (level 1), 24-31 tall grass (bush); autotile 1
// ("water", three frames) has entry 1.

#include <string>

#include "engine/presentation/map/MapDrawing.h"
#include "tests/engine/presentation/PresentationFixture.h"

inline constexpr char kTileImage[] = "MapChip\\Tiles.png";
inline constexpr char kWaterImage[] = "MapChip\\Water.png";
inline constexpr char kHeroSheet[] = "Chara\\Hero.png";
inline constexpr char kGirlSheet[] = "Chara\\Girl.png";
inline constexpr char kWalkerSheet[] = "Chara\\WalkerT.png";
inline constexpr char kRunnerSheet[] = "Chara\\RunnerTX.png";
inline constexpr char kStatueSheet[] = "Chara\\Statue$.png";
inline constexpr char kShadowImage[] = "Chara\\Shadow.png";
inline constexpr char kSkyImage[] = "Picture\\Sky.png";
inline constexpr char kFogImage[] = "Picture\\Mist.png";

inline constexpr int32_t kWallTop = 16;
inline constexpr int32_t kGrass = 24;
inline constexpr int32_t kWater = 2 * 100000;  // autotile 1, shape 0

class MapDrawTest : public PresentationTest {
 protected:
  void SetUp() override;

  // A w x h map of ground tiles with the tile set and the water named, the
  // flags above in place.
  void UseTileMap(int32_t w, int32_t h);
  // Extra image 0 is the shadow, and extra images are shown.
  static void UseShadows();
  // Panorama and fog entries 0 of the image list: the sky (speed x, y) and
  // the mist.
  static void UseImageList(int32_t skySpeedX, int32_t skySpeedY);
  // The hero on a tile with the hero's sheet, facing down.
  void PlaceHero(int32_t tileX, int32_t tileY);

  // What the frame does around the map draw: the tile layers take the map's
  // scroll, the back screen is cleared, the map is drawn.
  void DrawFrame();
  // "" when the back screen is the golden frame of that name.
  static std::string Golden(const std::string& name);

  MapDrawing drawing;
};
