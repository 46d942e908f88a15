// A generated map (any size, tile values and tile-set number, with events and
// a tile-set file of random flags) entered through ChangeMap, then a
// character walking, jumping and turning at random for a few hundred frames
// while the scene scrolls, shakes and zooms.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/services/DataFolder.h"
#include "fuzz/DataReaderHooks.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TileSetFileWriter.h"

namespace {

MapCharacter gHero;

const TestDirectory& Folder() {
  static const TestDirectory dir;
  return dir;
}

void Install() {
  static const bool installed = [] {
    SilenceDataReaderReports();
    SetDataFolder(Folder().Path() + "/Data/");
    MapSceneHooks hooks{};
    hooks.hero = [] { return &gHero; };
    SetMapSceneHooks(&hooks);
    SystemDatabase.typeData = {MakeTypeData({2000, 1000, 1001, 1002, 1003}, 1)};
    SystemDatabase.typeDefinitions = {MakeDefinition("map", {"file", "music", "sound", "loop", "panorama"}, {"m"})};
    SystemDatabase.SetString(0, 0, 0, "Walk.mps");
    return true;
  }();
  (void)installed;
}

int32_t TileValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeIntegralInRange(0, 24);
    case 1:
      return 100000 * in.ConsumeIntegralInRange(1, 9) + in.ConsumeIntegralInRange(0, 99999);
    case 2:
      return MapData::kEmptyCell;
    default:
      return in.ConsumeIntegral<int32_t>();
  }
}

void WriteGame(FuzzedDataProvider& in) {
  std::vector<TileSet> sets(in.ConsumeIntegralInRange<size_t>(1, 3));
  for (TileSet& set : sets) {
    set.tileFlags.resize(in.ConsumeIntegralInRange<size_t>(0, 40));
    for (int32_t& flags : set.tileFlags) flags = in.ConsumeIntegralInRange(0, 0x1FF);
    set.terrainTags.resize(in.ConsumeIntegralInRange<size_t>(0, 40));
    for (uint8_t& tag : set.terrainTags) tag = in.ConsumeIntegral<uint8_t>();
  }
  Folder().Write("Data/BasicData/TileSetData.dat", WriteTileSetFile(sets));

  MapData map;
  map.header.width = in.ConsumeIntegralInRange(0, 40);
  map.header.height = in.ConsumeIntegralInRange(0, 30);
  map.header.tileSetNumber = in.ConsumeIntegralInRange(-2, 4);
  map.ResizeLayers(true, 0, 0);
  for (MapData::TileLayer& layer : map.layers) {
    for (std::vector<int32_t>& column : layer) {
      for (int32_t& cell : column) cell = TileValue(in);
    }
  }
  const int events = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < events; ++i) {
    MapEvent event(in.ConsumeIntegralInRange(0, 10));
    event.x = in.ConsumeIntegralInRange(-3, 45);
    event.y = in.ConsumeIntegralInRange(-3, 35);
    map.events.push_back(event);
  }
  Folder().Write("Data/Walk.mps", WriteMapFile(map));
  SystemDatabase.SetInt(0, 0, 3, in.ConsumeIntegralInRange(0, 3));
}

void Act(FuzzedDataProvider& in, MapCharacter& c) {
  MapScene& map = CurrentMap;
  switch (in.ConsumeIntegralInRange(0, 15)) {
    case 0:
      c.StepToward(in.ConsumeIntegralInRange(0, 10), in.ConsumeBool());
      break;
    case 1:
      c.JumpBy(in.ConsumeIntegral<int8_t>(), in.ConsumeIntegral<int8_t>());
      break;
    case 2:
      c.StepRandom();
      c.FaceRandom();
      c.TurnRandom90();
      break;
    case 3:
      c.StepTowardCharacter(in.ConsumeIntegralInRange(-1, 2), in.ConsumeIntegralInRange(-4, 12),
                            in.ConsumeIntegralInRange(-4, 40));
      break;
    case 4:
      c.moveSpeed = in.ConsumeIntegral<int16_t>();
      c.animSpeed = in.ConsumeIntegral<int16_t>();
      break;
    case 5:
      c.PlaceCharacter(in.ConsumeIntegralInRange(-50, 50), in.ConsumeIntegralInRange(-50, 50));
      break;
    case 6:
      (void)c.CanMoveWrapped(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                             in.ConsumeIntegralInRange(0, 10));
      (void)map.IsPassable(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                           in.ConsumeIntegralInRange(0, 10), in.ConsumeIntegralInRange(1, 2));
      break;
    case 7:
      map.RequestScroll(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int8_t>());
      break;
    case 8:
      map.StartShake(in.ConsumeIntegral<int8_t>(), in.ConsumeIntegral<int8_t>(), in.ConsumeIntegralInRange(0, 1),
                     in.ConsumeIntegralInRange(-2, 100));
      break;
    case 9:
      map.StartZoom(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                    in.ConsumeIntegralInRange(-2, 100));
      break;
    case 10:
      c.StartShake(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(), in.ConsumeIntegralInRange(0, 5),
                   in.ConsumeIntegral<int32_t>());
      break;
    case 11:
      (void)c.ScreenX(true);
      (void)c.ScreenY(true);
      (void)c.ScreenYBase(false);
      (void)c.TerrainTagUnder();
      (void)map.HasBushFlag(c.preciseX, c.preciseY);
      (void)map.HasCounterFlag(c.preciseX, c.preciseY);
      break;
    case 12:
      c.FaceHero();
      c.FaceAwayFromHero();
      c.StepAwayFromHero();
      break;
    case 13:
      c.passThrough = in.ConsumeBool();
      c.tall = in.ConsumeBool();
      c.slide = in.ConsumeBool();
      break;
    case 14:
      map.ScrollRight(in.ConsumeIntegral<int32_t>());
      map.ScrollDown(in.ConsumeIntegral<int32_t>());
      break;
    default:
      if (!map.events.empty()) {
        MapEventState& e = map.events[in.ConsumeIntegralInRange<size_t>(0, map.events.size() - 1)];
        e.passThrough = in.ConsumeBool();
        e.graphicId = in.ConsumeBool() ? 1 : -1;
        e.StepTowardHero();
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Install();
  FuzzedDataProvider in(data, size);
  MapSettings settings;
  settings.tileUnit = in.ConsumeBool() ? 16 : 32;
  settings.tileSizeByte = settings.tileUnit;
  settings.frameStep = in.ConsumeIntegralInRange(1, 3);
  settings.stepSetting = in.ConsumeIntegralInRange(0, 2);
  settings.tallByDefault = in.ConsumeBool();
  settings.sheetPatterns = in.ConsumeBool() ? 5 : 3;
  settings.moveDirections = in.ConsumeBool() ? 8 : 4;
  settings.heroSpeedFactor = in.ConsumeIntegral<uint8_t>();
  CurrentMapSettings = settings;
  WriteGame(in);

  CurrentMap = MapScene();
  CurrentMap.Reset();
  try {
    CurrentMap.ChangeMap(0);
  } catch (const ReaderExited&) {
  }
  gHero = MapCharacter();
  gHero.isHero = 1;
  gHero.slide = 1;
  MapCharacter walker;
  walker.id = 5;
  walker.graphicId = 1;
  gHero.PlaceCharacter(in.ConsumeIntegralInRange(-5, 45), in.ConsumeIntegralInRange(-5, 35));
  walker.PlaceCharacter(in.ConsumeIntegralInRange(-5, 45), in.ConsumeIntegralInRange(-5, 35));

  const int frames = in.ConsumeIntegralInRange(100, 400);
  for (int i = 0; i < frames; ++i) {
    Act(in, in.ConsumeBool() ? gHero : walker);
    gHero.UpdateMovement();
    gHero.WrapOnLoopingMap();
    walker.UpdateMovement();
    walker.WrapOnLoopingMap();
    CurrentMap.Update();
  }
  return 0;
}
