// A generated map (any size, tile values and tile-set number, with events and
// a tile-set file of random flags) entered through ChangeMap, then a few
// hundred frames of play: events with random pages, triggers, routes and
// command lists; the hero driven by random keys; another character walking,
// jumping and turning at random while the scene scrolls, shakes and zooms.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/services/DataFolder.h"
#include "engine/services/InputState.h"
#include "fuzz/DataReaderHooks.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TileSetFileWriter.h"

namespace {

const TestDirectory& Folder() {
  static const TestDirectory dir;
  return dir;
}

void Install() {
  static const bool installed = [] {
    SilenceDataReaderReports();
    SetDataFolder(Folder().Path() + "/Data/");
    SetMapSceneHooks(nullptr);  // the game's hero
    // Endless autorun lists end their frames early.
    EventInterpreter::frameBudget = 2000;
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

int32_t SmallValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeIntegralInRange(-3, 40);
    case 1: return 1100000 + in.ConsumeIntegralInRange(0, 9);  // the character's own variables
    case 2: return 9190000 + in.ConsumeIntegralInRange(0, 9);
    default: return in.ConsumeIntegral<int32_t>();
  }
}

MoveRoute RandomRoute(FuzzedDataProvider& in) {
  MoveRoute route;
  for (uint8_t& option : route.options) option = in.ConsumeIntegral<uint8_t>();
  route.options[MoveRoute::kMovementType] = in.ConsumeIntegralInRange<uint8_t>(0, 4);
  route.options[MoveRoute::kMovementFrequency] = in.ConsumeIntegralInRange<uint8_t>(0, 3);
  route.steps.resize(in.ConsumeIntegralInRange<size_t>(0, 6));
  for (MoveRouteStep& step : route.steps) {
    step.code = in.ConsumeIntegralInRange<uint8_t>(0, 60);
    step.arguments = {SmallValue(in), SmallValue(in)};
  }
  return route;
}

// Commands of the map, view, route and transfer kinds, counting, waiting and
// erasing, on small arguments.
EventCommandList RandomCommands(FuzzedDataProvider& in) {
  std::vector<CommandRecord> list(in.ConsumeIntegralInRange<size_t>(0, 6));
  for (CommandRecord& c : list) {
    static constexpr int32_t kCodes[] = {121, 180, 173, 130, 201, 202, 230, 231, 240, 241, 242, 270, 280, 281, 290, 211};
    const int32_t code = kCodes[in.ConsumeIntegralInRange<size_t>(0, std::size(kCodes) - 1)];
    c.arguments = {code};
    const size_t count = in.ConsumeIntegralInRange<size_t>(0, 7);
    for (size_t i = 0; i < count; ++i) c.arguments.push_back(SmallValue(in));
    if (code == 201) c.routes = {RandomRoute(in)};
  }
  list.push_back(CommandRecord({EventCommand::kEndCode}));
  return list;
}

EventPage RandomPage(FuzzedDataProvider& in) {
  EventPage page;
  page.conditions.triggerKind = in.ConsumeIntegralInRange<uint8_t>(0, 5);
  if (in.ConsumeBool()) {
    page.conditions.flags[0] = static_cast<uint8_t>(1 | in.ConsumeIntegralInRange(0, 6) << 4);
    page.conditions.leftIds[0] = 1100000 + in.ConsumeIntegralInRange(0, 9);
    page.conditions.rightOperands[0] = in.ConsumeIntegralInRange(-1, 3);
  }
  page.graphic.graphicId = in.ConsumeBool() ? 1 : -1;
  page.graphic.direction = in.ConsumeIntegral<uint8_t>();
  page.graphic.opacity = in.ConsumeIntegral<uint8_t>();
  page.route = RandomRoute(in);
  page.commands = RandomCommands(in);
  page.commandCount = static_cast<int32_t>(page.commands.size());
  page.extraBytes.resize(in.ConsumeIntegralInRange<size_t>(0, 4));
  for (uint8_t& b : page.extraBytes) b = in.ConsumeIntegralInRange<uint8_t>(0, 3);
  return page;
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
    for (auto column : layer) {
      for (int32_t& cell : column) cell = TileValue(in);
    }
  }
  const int events = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < events; ++i) {
    MapEvent event(in.ConsumeIntegralInRange(0, 10));
    event.x = in.ConsumeIntegralInRange(-3, 45);
    event.y = in.ConsumeIntegralInRange(-3, 35);
    event.pages.resize(in.ConsumeIntegralInRange<size_t>(1, 3));
    for (EventPage& page : event.pages) page = RandomPage(in);
    event.pageCount = static_cast<int32_t>(event.pages.size());
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
      c.ForceMoveRoute(RandomRoute(in));
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
        if (in.ConsumeBool()) e.StartErase(in.ConsumeIntegralInRange(-2, 10));
        if (in.ConsumeBool()) map.RequestPageRefresh();
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

  RootRunner = RootEventRunner();
  RootRunner.followerSpacing = in.ConsumeIntegral<int16_t>();
  RootRunner.partyFlag = in.ConsumeBool();
  Variables = VariableStore();
  SystemStateHub = SystemState();
  ResetRootInterpreter();
  Input.Reset();
  PlayerHero = Hero();
  CurrentMap = MapScene();
  CurrentMap.Reset();
  try {
    CurrentMap.ChangeMap(0);
  } catch (const ReaderExited&) {
  }
  MapCharacter walker;
  walker.id = 5;
  walker.graphicId = 1;
  PlayerHero.WarpTo(in.ConsumeIntegralInRange(-5, 45), in.ConsumeIntegralInRange(-5, 35));
  PlayerHero.ResetFollowers();
  walker.PlaceCharacter(in.ConsumeIntegralInRange(-5, 45), in.ConsumeIntegralInRange(-5, 35));

  static constexpr int32_t kKeys[] = {0, 0, 1, 2, 3, 4, 6, 7, 8, 9};
  const int frames = in.ConsumeIntegralInRange(100, 400);
  for (int i = 0; i < frames; ++i) {
    Act(in, in.ConsumeBool() ? static_cast<MapCharacter&>(PlayerHero) : walker);
    Input.direction8 = kKeys[in.ConsumeIntegralInRange<size_t>(0, std::size(kKeys) - 1)];
    Input.direction4 = Input.direction8 % 2 == 0 ? Input.direction8 : 0;
    Input.buttonsPressed[kButtonDecide] = in.ConsumeBool();
    // The shell's frame: the map, the root runner, the hero.
    CurrentMap.Update();
    RootInterpreter.RunFrame();
    PlayerHero.Control();
    walker.UpdateMovement();
    walker.WrapOnLoopingMap();
    // A transfer is the shell's to carry out: here it is dropped.
    SystemStateHub.mapChangePending = 0;
  }
  return 0;
}
