// One frame of the map drawn in software on a running layer (640x480x32, SDL's
// dummy driver): three tile layers with autotiles, 50 characters, panorama
// and fog; the tiles alone; and the same tile pieces drawn by SDL2's
// SDL_BlitSurface from one sheet with a colour key.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/map/MapDrawing.h"
#include "engine/services/DataFolder.h"
#include "bench/BenchLayer.h"
#include "runtime/Movan.h"
#include "tests/support/PixelImage.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr int32_t kT = 32;
constexpr int32_t kMapWidth = 60;
constexpr int32_t kMapHeight = 45;
constexpr int32_t kCharacters = 50;
constexpr int32_t kWater = 2 * 100000;
constexpr int32_t kScrollX = 4 * (7 * kT + 13);  // not a whole tile: 22 columns, 17 rows
constexpr int32_t kScrollY = 4 * (5 * kT + 9);

MapCharacter gHero;

uint32_t Colour(int32_t i) {
  return static_cast<uint32_t>(60 + i * 37 % 160) << 16 | static_cast<uint32_t>(60 + i * 73 % 160) << 8 |
         static_cast<uint32_t>(60 + i * 19 % 160);
}

// Tiles 0-7 ground, 8-15 objects on the transparent colour, 16-23 level 1
// walls, 24-31 level 2 roofs with holes.
PixelImage TileSet() {
  PixelImage image(8 * kT, 4 * kT);
  for (int32_t v = 0; v < 32; ++v) {
    const int32_t x = v % 8 * kT;
    const int32_t y = v / 8 * kT;
    if (v / 8 == 1 || v / 8 == 3) {
      image.FillRect(x + 6, y + 4, kT - 12, kT - 8, Colour(v));
    } else {
      image.FillRect(x, y, kT, kT, Colour(v));
    }
  }
  return image;
}

PixelImage Autotile() {
  PixelImage image(3 * kT, 5 * kT);
  for (int32_t y = 0; y < 5 * kT; y += kT / 2) {
    for (int32_t x = 0; x < 3 * kT; x += kT / 2) image.FillRect(x, y, kT / 2, kT / 2, Colour(x + y));
  }
  return image;
}

PixelImage Sheet(uint32_t body) {
  PixelImage image(6 * 32, 4 * 48);
  for (int32_t c = 0; c < 6; ++c) {
    for (int32_t r = 0; r < 4; ++r) image.FillRect(c * 32 + 8, r * 48 + 8, 16, 38, body + static_cast<uint32_t>(c * 8 + r));
  }
  return image;
}

PixelImage Picture(uint32_t a, uint32_t b) {
  PixelImage image(640, 480, a);
  for (int32_t y = 0; y < 480; y += 40) image.FillRect(0, y, 640, 20, b);
  return image;
}

int32_t TileValue(int32_t layer, int32_t x, int32_t y) {
  switch (layer) {
    case 0: return (x / 5 + y / 4) % 3 == 0 ? kWater + (x * 7 + y) % 5 * 1111 : (x + y) % 8;
    case 1:
      if ((x * 5 + y * 3) % 7 == 0) return 8 + (x + y) % 8;
      if (y % 9 == 4) return 16 + x % 8;
      return 100000;
    default: return (x * 3 + y * 11) % 13 == 0 ? 24 + x % 8 : 100000;
  }
}

struct Scene {
  Scene() {
    char folder[] = "/tmp/movan-map-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return;
    path = folder;
    WriteWholeFile(path + "/Data/Tiles.png", TileSet().ToBmp());
    WriteWholeFile(path + "/Data/Water.png", Autotile().ToBmp());
    WriteWholeFile(path + "/Data/Hero.png", Sheet(0x802020).ToBmp());
    WriteWholeFile(path + "/Data/Girl.png", Sheet(0x208020).ToBmp());
    WriteWholeFile(path + "/Data/Sky.png", Picture(0x4060C0, 0x6080E0).ToBmp());
    WriteWholeFile(path + "/Data/Fog.png", Picture(0xC0C0C0, 0x909090).ToBmp());
    started = StartBenchLayer("MapDrawBench");
    SetTransparentColor(254, 0, 254);
    SetDataFolder("Data\\");

    MapSceneHooks hooks{};
    hooks.hero = [] { return &gHero; };
    SetMapSceneHooks(&hooks);
    MapScene& map = CurrentMap;
    map.mapId = 1;
    map.mapData.header.width = kMapWidth;
    map.mapData.header.height = kMapHeight;
    map.mapData.ResizeLayers(true, 0, 0);
    for (int32_t layer = 0; layer < 3; ++layer) {
      for (int32_t x = 0; x < kMapWidth; ++x) {
        for (int32_t y = 0; y < kMapHeight; ++y) {
          map.mapData.layers[static_cast<size_t>(layer)][static_cast<size_t>(x)][static_cast<size_t>(y)] =
              TileValue(layer, x, y);
        }
      }
    }
    map.tileFlags.assign(48, 0);
    for (int32_t v = 16; v < 24; ++v) map.tileFlags[static_cast<size_t>(v + 8)] = MapScene::kAlsoTestBelow;
    for (int32_t v = 24; v < 32; ++v) map.tileFlags[static_cast<size_t>(v + 8)] = MapScene::kTestBelow;
    map.tileImageName = "Tiles.png";
    map.autotileImageNames[0] = "Water.png";
    map.scrollX = kScrollX;
    map.scrollY = kScrollY;
  }

  void UseCharacters(bool on) {
    MapScene& map = CurrentMap;
    map.events.clear();
    map.mapData.events.clear();
    gHero.graphicFile = on ? "Hero.png" : "";
    gHero.preciseX = 2 * 17;
    gHero.preciseY = 2 * 12;
    gHero.quarterX = 4 * kT * 17;
    gHero.quarterY = 4 * kT * 12;
    for (int32_t i = 0; on && i < kCharacters - 1; ++i) {
      MapEvent source(i);
      map.mapData.events.push_back(source);
      map.events.emplace_back(map, 1, source);
      MapEventState& e = map.events.back();
      const int32_t x = 8 + i % 10 * 2;
      const int32_t y = 6 + i / 10 * 3;
      e.preciseX = 2 * x;
      e.preciseY = 2 * y;
      e.quarterX = 4 * kT * x;
      e.quarterY = 4 * kT * y;
      e.graphicFile = i % 2 ? "Hero.png" : "Girl.png";
      e.direction = static_cast<int16_t>(2 + 2 * (i % 4));
      e.passThrough = i % 5 == 0;
    }
    RootRunner.panorama[0] = on ? -2 : -1;
    RootRunner.panoramaFileName = "Sky.png";
    RootRunner.fog[0] = on ? -2 : -1;
    RootRunner.fogFileName = "Fog.png";
    RootRunner.fog[3] = 0;
    RootRunner.fog[4] = 96;
    drawing.ResetSprites();
    drawing.TakeMapScroll();
    ClearDrawTarget();
    drawing.DrawMap();
  }

  void Frame() {
    drawing.TakeMapScroll();
    ClearDrawTarget();
    drawing.DrawMap();
  }

  bool started = false;
  std::string path;
  MapDrawing drawing;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_MapFrame(benchmark::State& state) {
  Scene& scene = TheScene();
  if (!scene.started) return state.SkipWithError("no layer");
  scene.UseCharacters(true);
  for (auto _ : state) scene.Frame();
  state.counters["characters"] = kCharacters;
}
BENCHMARK(BM_MapFrame)->Unit(benchmark::kMicrosecond);

void BM_MapTilesOnly(benchmark::State& state) {
  Scene& scene = TheScene();
  if (!scene.started) return state.SkipWithError("no layer");
  scene.UseCharacters(false);
  for (auto _ : state) scene.Frame();
}
BENCHMARK(BM_MapTilesOnly)->Unit(benchmark::kMicrosecond);

// The same tile pieces in the same order (level 0 of the three layers, the
// level-1 rows, level 2), cut from one sheet holding the tile set and the
// autotile, drawn with SDL's colour-keyed blit.
void BM_MapTilesSdlBlitPeer(benchmark::State& state) {
  TheScene();
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 8 * kT, 9 * kT, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
  const PixelImage tiles = TileSet();
  const PixelImage water = Autotile();
  auto* pixels = static_cast<uint32_t*>(sheet->pixels);
  const int pitch = sheet->pitch / 4;
  for (int32_t y = 0; y < 9 * kT; ++y) {
    for (int32_t x = 0; x < 8 * kT; ++x) {
      uint32_t rgb = 0xFE00FE;
      if (y < 4 * kT) rgb = tiles.At(x, y);
      else if (x < 3 * kT) rgb = water.At(x, y - 4 * kT);
      pixels[y * pitch + x] = rgb;
    }
  }
  SDL_SetColorKey(sheet, SDL_TRUE, 0x00FE00FE);

  struct Blit {
    SDL_Rect from;
    SDL_Rect to;
  };
  std::vector<Blit> blits;
  const int32_t scrollX = kScrollX / 4;
  const int32_t scrollY = kScrollY / 4;
  const auto level = [](int32_t v) {
    if (v >= 100000) return 0;
    return v >= 24 ? 2 : v >= 16 ? 1 : 0;
  };
  const auto addCell = [&](int32_t layer, int32_t i, int32_t j) {
    const int32_t x = i * kT - scrollX % kT;
    const int32_t y = j * kT - scrollY % kT;
    const int32_t v = TileValue(layer, scrollX / kT + i, scrollY / kT + j);
    if (v < 100000) {
      blits.push_back({{v % 8 * kT, v / 8 * kT, kT, kT}, {x, y, kT, kT}});
    } else if (v / 100000 == 2) {
      const int32_t s = v % 100000;
      const int32_t d[4] = {s / 1000, s / 100 % 10, s / 10 % 10, s % 10};
      for (int32_t q = 0; q < 4; ++q) {
        const SDL_Rect from{q % 2 * kT / 2, 4 * kT + d[q] * kT + q / 2 * kT / 2, kT / 2, kT / 2};
        blits.push_back({from, {x + q % 2 * kT / 2, y + q / 2 * kT / 2, kT / 2, kT / 2}});
      }
    }
  };
  for (int32_t pass = 0; pass < 3; ++pass) {
    for (int32_t j = -1; j <= 15; ++j) {
      for (int32_t layer = 0; layer < 3; ++layer) {
        for (int32_t i = -1; i <= 20; ++i) {
          if (level(TileValue(layer, scrollX / kT + i, scrollY / kT + j)) == pass) addCell(layer, i, j);
        }
      }
    }
  }
  for (auto _ : state) {
    for (Blit& b : blits) {
      SDL_Rect to = b.to;
      SDL_BlitSurface(sheet, &b.from, screen, &to);
    }
  }
  state.counters["pieces"] = static_cast<double>(blits.size());
  SDL_FreeSurface(screen);
  SDL_FreeSurface(sheet);
}
BENCHMARK(BM_MapTilesSdlBlitPeer)->Unit(benchmark::kMicrosecond);

}  // namespace
