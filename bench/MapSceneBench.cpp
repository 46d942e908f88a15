// The map's hot questions and its frame: IsPassable and CanMove on a 100 x
// 100 map with mixed flags on three layers, a map scene update with 200
// walking, animating and shaking characters, and a whole map frame (the
// scene, the root runner and the hero's control) with 200 events walking
// their routes and running parallel lists. The floor rows do the least the
// same work must do: one flag read per cell, and touching every
// character's position once.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/events/RootInterpreter.h"
#include "engine/map/Hero.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/services/InputState.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/LiveMapGame.h"

namespace {

constexpr int32_t kSide = 100;

uint32_t gSeed = 12345;
uint32_t Next() {
  gSeed = gSeed * 1103515245u + 12345u;
  return gSeed >> 16;
}

// What the events of the frame row do: walk a route of random steps, turns
// and waits, or run a parallel list that counts and waits; the rest stand.
EventPage BusyPage(int32_t k) {
  EventPage page;
  page.graphic.graphicId = 1;
  page.route.options[MoveRoute::kOptionBits] = 2;
  if (k % 4 == 0) {
    page.conditions.triggerKind = 2;
    page.commands = CommandListBuilder().Variable(1100000, 1100000, 1, 0, 0).Add({180, 2}).Build();
  } else if (k % 4 != 3) {
    page.route.options[MoveRoute::kMovementType] = 1;
    page.route.options[MoveRoute::kMovementFrequency] = 1;
    page.route.options[MoveRoute::kRouteOptions] = 3;  // repeat, skip what is blocked
    page.route.steps = {MoveRouteStep{16, {}, ""}, MoveRouteStep{22, {}, ""}, MoveRouteStep{47, {5}, ""}};
  }
  page.commandCount = static_cast<int32_t>(page.commands.size());
  return page;
}

void BuildMap(int32_t eventCount, bool busy = false) {
  SetMapSceneHooks(nullptr);
  CurrentMapSettings = MapSettings{};
  MapScene& map = CurrentMap;
  map = MapScene();
  map.mapId = 1;
  map.mapData.header.width = kSide;
  map.mapData.header.height = kSide;
  map.mapData.ResizeLayers(true, 0, 0);
  gSeed = 12345;
  const auto next = Next;
  for (int32_t x = 0; x < kSide; ++x) {
    for (int32_t y = 0; y < kSide; ++y) {
      map.mapData.layers[0][static_cast<size_t>(x)][static_cast<size_t>(y)] = static_cast<int32_t>(next() % 16);
      if (next() % 4 == 0) map.mapData.layers[2][static_cast<size_t>(x)][static_cast<size_t>(y)] = 16 + static_cast<int32_t>(next() % 8);
    }
  }
  // Mostly open floor, some walls, edges, quarter tiles and see-through
  // upper tiles.
  map.tileFlags.assign(40, 0);
  map.tileFlags[8 + 3] = MapScene::kAllEdges;
  map.tileFlags[8 + 4] = MapScene::kBottomEdge;
  map.tileFlags[8 + 5] = MapScene::kLeftEdge | MapScene::kRightEdge;
  map.tileFlags[8 + 6] = MapScene::kQuarterMode | MapScene::kTopEdge;
  for (int32_t v = 16; v < 24; ++v) map.tileFlags[static_cast<size_t>(8 + v)] = MapScene::kTestBelow;
  map.terrainTags.assign(40, 0);
  map.TileDataChanged();
  map.events.clear();
  map.mapData.events.clear();
  ResetLiveMapGame(50, 50);
  for (int32_t i = 0; i < eventCount; ++i) {
    MapEvent source(i);
    source.x = static_cast<int32_t>(next() % kSide);
    source.y = static_cast<int32_t>(next() % kSide);
    if (busy) source.pages = {BusyPage(i)};
    map.mapData.events.push_back(source);
    map.events.emplace_back(map, 1, source);
    MapEventState& e = map.events.back();
    e.passThrough = 0;
    e.graphicId = 1;
  }
}

struct Probe {
  int32_t x;
  int32_t y;
  int32_t d;
};

// The questions a character walking at random over the map asks: each
// position next to the one before, in a random direction.
std::vector<Probe> Probes() {
  static const int32_t kDirections[4] = {2, 4, 6, 8};
  std::vector<Probe> probes;
  uint32_t seed = 99;
  int32_t x = kSide;
  int32_t y = kSide;
  for (int i = 0; i < 4096; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int32_t d = kDirections[(seed >> 16) & 3];
    probes.push_back({x, y, d});
    x = std::clamp(x + (d == 6) - (d == 4), 0, 2 * kSide - 2);
    y = std::clamp(y + (d == 2) - (d == 8), 0, 2 * kSide - 2);
  }
  return probes;
}

void BM_FlagTableLookup(benchmark::State& state) {
  BuildMap(0);
  const std::vector<Probe> probes = Probes();
  size_t i = 0;
  for (auto _ : state) {
    const Probe& p = probes[i++ & 4095];
    const int32_t value = CurrentMap.mapData.layers[0][static_cast<size_t>(p.x / 2)][static_cast<size_t>(p.y / 2)];
    benchmark::DoNotOptimize(CurrentMap.FlagsOf(value + 8));
  }
}
BENCHMARK(BM_FlagTableLookup);

void BM_IsPassable(benchmark::State& state) {
  BuildMap(0);
  const std::vector<Probe> probes = Probes();
  size_t i = 0;
  for (auto _ : state) {
    const Probe& p = probes[i++ & 4095];
    benchmark::DoNotOptimize(CurrentMap.IsPassable(p.x, p.y, p.d, 1));
  }
}
BENCHMARK(BM_IsPassable);

void BM_CanMove(benchmark::State& state) {
  BuildMap(static_cast<int32_t>(state.range(0)));
  const std::vector<Probe> probes = Probes();
  MapCharacter c;
  c.id = 1000;
  c.graphicId = 1;
  size_t i = 0;
  for (auto _ : state) {
    const Probe& p = probes[i++ & 4095];
    benchmark::DoNotOptimize(c.CanMove(p.x, p.y, p.d));
  }
}
BENCHMARK(BM_CanMove)->Arg(0)->Arg(20)->Arg(200);

// Every character walks far (speed 2: 4 quarter pixels a frame), animates and
// shakes; the targets are moved on every 1000 frames.
void SetWalkers() {
  int32_t k = 0;
  for (MapEventState& e : CurrentMap.events) {
    e.moveSpeed = 2;
    e.stepAnim = (k & 1) != 0;
    e.preciseX = (k * 7) % (2 * kSide - 2);
    e.preciseY = (k * 13) % (2 * kSide);
    if (k % 5 == 0) e.StartShake(4, 2, 1000000, 3);
    ++k;
  }
}

void BM_MapSceneUpdate200(benchmark::State& state) {
  BuildMap(200);
  SetWalkers();
  int frame = 0;
  for (auto _ : state) {
    CurrentMap.Update();
    if (++frame % 1000 == 0) SetWalkers();
  }
  benchmark::DoNotOptimize(CurrentMap.events.data());
}
BENCHMARK(BM_MapSceneUpdate200)->Unit(benchmark::kMicrosecond);

// One frame of the map as the game runs it: the scene with 200 events (half
// walking routes, a quarter running parallel lists), the root runner, the
// hero walking where the keys say (a new direction every 16 frames).
void BM_MapFrame200(benchmark::State& state) {
  BuildMap(200, true);
  static constexpr int32_t kKeys[] = {2, 4, 6, 8, 1, 3, 7, 9};
  int frame = 0;
  for (auto _ : state) {
    if (frame++ % 16 == 0) Input.direction8 = kKeys[Next() & 7];
    CurrentMap.Update();
    RootInterpreter.RunFrame();
    PlayerHero.Control();
  }
  benchmark::DoNotOptimize(CurrentMap.events.data());
}
BENCHMARK(BM_MapFrame200)->Unit(benchmark::kMicrosecond);

void BM_TouchCharacters200(benchmark::State& state) {
  BuildMap(200);
  for (auto _ : state) {
    for (MapEventState& e : CurrentMap.events) {
      e.quarterX += e.preciseX & 1;
      benchmark::DoNotOptimize(e.quarterX);
    }
  }
}
BENCHMARK(BM_TouchCharacters200)->Unit(benchmark::kMicrosecond);

}  // namespace
