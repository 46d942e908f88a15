// The player on the demo game, headless (SDL's dummy drivers): start-up to
// the first frame shown, beside SDL bringing up a window and showing one
// frame alone; one frame of the demo's map scene, updates and drawing,
// beside SDL blitting the same tiles and characters onto a surface; and a
// frame of each room, the slowest being the demo's heaviest.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdlib>
#include <vector>

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/map/MapScene.h"
#include "engine/shell/GameScene.h"
#include "engine/shell/Player.h"
#include "runtime/Movan.h"
#include "tests/support/HeroWalker.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

namespace {

double Seconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

const std::string& DemoFolder() {
  static TestDirectory dir;
  static const bool written = (demo::WriteDemoGame(dir.Path()), true);
  (void)written;
  return dir.Path();
}

void BM_StartUpToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    PlayHarness play(DemoFolder());
    play.realClock = true;
    play.realFonts = true;
    play.hashing = false;
    play.Play(1);
    if (play.firstFrameSeconds <= 0) state.SkipWithError("no frame shown");
    state.SetIterationTime(play.firstFrameSeconds);
  }
}
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The peer: SDL's video start, a 640 x 480 window with its renderer and a
// streaming texture, one frame uploaded and shown.
void BM_StartUpToFirstFrame_SdlAlone(benchmark::State& state) {
  std::vector<uint32_t> frame(640 * 480, 0x204080);
  for (auto _ : state) {
    const double start = Seconds();
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Window* window = SDL_CreateWindow("peer", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480, 0);
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, 640, 480);
    SDL_UpdateTexture(texture, nullptr, frame.data(), 640 * 4);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    state.SetIterationTime(Seconds() - start);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
  }
}
BENCHMARK(BM_StartUpToFirstFrame_SdlAlone)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Frames of the running demo, the villager's message open over the map,
// each run whole (updates, drawing, the flip) with no pacing.
void BM_DemoMapFrame(benchmark::State& state) {
  PlayHarness play(DemoFolder());
  play.hashing = false;
  play.realFonts = true;
  play.onFrame = [&](int64_t frame) {
    if (frame == 1) SystemStateHub.pendingMessageText = demo::VillagerMessage();
    if (frame != 60) return;
    SetWaitVsync(0);
    GameScene& scene = *RunningGameScene();
    for (auto _ : state) {
      scene.pacer.drawAllowed = 1;
      scene.Frame();
    }
  };
  play.Play(61);
}
BENCHMARK(BM_DemoMapFrame)->Unit(benchmark::kMicrosecond);

// Frames of each room of the demo, the hero standing inside the door he
// came through, each run whole (updates, drawing, the flip) with no pacing:
// the slowest room is the demo's heaviest frame.
void BM_DemoRoomFrame(benchmark::State& state) {
  const int32_t room = static_cast<int32_t>(state.range(0));
  struct Door {
    int32_t x, y;
  };
  const Door doors[demo::kRoomCount] = {{demo::kStartX, demo::kStartY},
                                        {demo::kFieldDoorX, demo::kFieldDoorY},
                                        {demo::kSmallRoomDoorX, demo::kSmallRoomDoorY},
                                        {demo::kGalleryDoorX, demo::kGalleryDoorY}};
  PlayHarness play(DemoFolder());
  play.hashing = false;
  play.realFonts = true;
  int64_t arrived = -1;
  bool measured = false;
  play.onFrame = [&](int64_t frame) {
    if (arrived < 0) {
      if (CurrentMap.mapId == room && !RootInterpreter.IsRunning()) {
        arrived = frame;
        play.HoldNow({});
      } else {
        play.HoldNow(ArrowTowardTile(doors[room].x, doors[room].y));
      }
      return;
    }
    // A second in the room first: its events have started.
    if (frame != arrived + 60) return;
    SetWaitVsync(0);
    GameScene& scene = *RunningGameScene();
    for (auto _ : state) {
      scene.pacer.drawAllowed = 1;
      scene.Frame();
    }
    measured = true;
  };
  play.Play(3000);
  if (!measured) state.SkipWithError("the room was not reached");
}
BENCHMARK(BM_DemoRoomFrame)->DenseRange(0, demo::kRoomCount - 1)->Unit(benchmark::kMicrosecond);

// The peer: SDL blitting the visible map's tiles (two layers of 21 x 16),
// two 32 x 48 characters and nothing else onto a 640 x 480 surface.
void BM_DemoMapFrame_SdlBlits(benchmark::State& state) {
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_XRGB8888);
  SDL_Surface* tiles = SDL_CreateRGBSurfaceWithFormat(0, 256, 32, 32, SDL_PIXELFORMAT_XRGB8888);
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 96, 192, 32, SDL_PIXELFORMAT_XRGB8888);
  SDL_FillRect(tiles, nullptr, 0x50A83C);
  SDL_FillRect(sheet, nullptr, 0xFE00FE);
  SDL_SetColorKey(tiles, SDL_TRUE, 0xFE00FE);
  SDL_SetColorKey(sheet, SDL_TRUE, 0xFE00FE);
  for (auto _ : state) {
    SDL_FillRect(screen, nullptr, 0);
    for (int layer = 0; layer < 2; ++layer) {
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 21; ++x) {
          SDL_Rect from{32 * ((x + y + layer) % 6), 0, 32, 32};
          SDL_Rect to{32 * x, 32 * y, 32, 32};
          SDL_BlitSurface(tiles, &from, screen, &to);
        }
      }
    }
    for (int c = 0; c < 2; ++c) {
      SDL_Rect from{32, 0, 32, 48};
      SDL_Rect to{160 + 288 * c, 256, 32, 48};
      SDL_BlitSurface(sheet, &from, screen, &to);
    }
    benchmark::DoNotOptimize(screen->pixels);
  }
  SDL_FreeSurface(sheet);
  SDL_FreeSurface(tiles);
  SDL_FreeSurface(screen);
}
BENCHMARK(BM_DemoMapFrame_SdlBlits)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
