#include "tests/engine/presentation/map/MapDrawFixture.h"

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/map/MapScene.h"
#include "tests/engine/presentation/map/MapTestImages.h"
#include "tests/support/GoldenFrame.h"

void MapDrawTest::SetUp() {
  PresentationTest::SetUp();
  WriteImage(kTileImage, TileSetImage(32));
  WriteImage(kWaterImage, AutotileImage(32, 3, 0x3060C0));
  WriteImage(kHeroSheet, SheetImage(6, 32, 48, 0xC03030));
  WriteImage(kGirlSheet, SheetImage(6, 32, 48, 0x30A040));
  WriteImage(kWalkerSheet, SheetImage(8, 32, 32, 0xA0A020));
  WriteImage(kRunnerSheet, SheetImage(12, 32, 32, 0x2080C0));
  WriteImage(kStatueSheet, SheetImage(1, 48, 16, 0x909090));
  WriteImage(kShadowImage, ShadowImage(6, 32, 16));
  WriteImage(kSkyImage, PanoramaImage(640, 480));
  WriteImage(kFogImage, FogImage(640, 480));
}

void MapDrawTest::UseTileMap(int32_t w, int32_t h) {
  UseMap(w, h);
  MapScene& map = CurrentMap;
  map.tileImageName = kTileImage;
  map.autotileImageNames[0] = kWaterImage;
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t y = 0; y < h; ++y) SetTile(0, x, y, (x * 3 + y) % 8);
  }
  for (int32_t v = kWallTop; v < kWallTop + 8; ++v) SetFlags(v + 8, MapScene::kAlsoTestBelow);
  for (int32_t v = kGrass; v < kGrass + 8; ++v) SetFlags(v + 8, MapScene::kBush);
}

void MapDrawTest::UseShadows() {
  GameInformation.settingBytes[GameInfo::kExtraImages] = 1;
  SetSystemType(9, {2000}, 1);
  SystemDatabase.SetString(9, 0, 0, kShadowImage);
}

void MapDrawTest::UseImageList(int32_t skySpeedX, int32_t skySpeedY) {
  SetSystemType(13, {2000, 1000, 1001, 1002}, 2);
  SystemDatabase.SetString(13, 0, 0, kSkyImage);
  SystemDatabase.SetInt(13, 0, 1, skySpeedX);
  SystemDatabase.SetInt(13, 0, 2, skySpeedY);
  SystemDatabase.SetString(13, 1, 0, kFogImage);
}

void MapDrawTest::PlaceHero(int32_t tileX, int32_t tileY) {
  PlaceOnTile(hero_, tileX, tileY);
  hero_.graphicFile = kHeroSheet;
  hero_.direction = 2;
}

void MapDrawTest::DrawFrame() {
  drawing.TakeMapScroll();
  ClearDrawTarget();
  drawing.DrawMap();
}

std::string MapDrawTest::Golden(const std::string& name) { return CheckGoldenFrame(MOVAN_MAP_GOLDEN_DIR, name); }
