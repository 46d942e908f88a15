// The screen device and the draw dispatch of a running layer on SDL's dummy
// video driver: presents of 640x480x32 (beside memcpy and SDL's own
// streaming texture), the cost of DrawGraphicAt beyond its pixels, a frame of
// 16x16 tiles (beside SDL_BlitSurface) and handle validation.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchLayer.h"
#include "runtime/Movan.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/screen/Presenter.h"
#include "runtime/host/window/SdlWindow.h"
#include "runtime/softrender/SoftDraw.h"

namespace {

constexpr int kTiles = 3600;  // three layers of 40 x 30

// One running layer for the whole program, drawing into the back screen.
struct Layer {
  Layer() {
    char folder[] = "/tmp/movan-screen-bench-XXXXXX";
    if (mkdtemp(folder) && chdir(folder) == 0) {
      started = StartBenchLayer("ScreenBench");
    }
  }
  bool started = false;
};

Layer& TheLayer() {
  static Layer layer;
  return layer;
}

int SolidGraphic(int width, int height) {
  GraphImage image = {};
  CreateXrgbGraphImage(width, height, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetGraphImagePixel(&image, x, y, x & 0xFF, y & 0xFF, (x ^ y) & 0xFF, 255);
  }
  const int graphic = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  return graphic;
}

void BM_PresentNull(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  HostNullPresenter presenter;
  HostSetPresenter(&presenter);
  for (auto _ : state) PresentScreen();
  HostSetPresenter(nullptr);
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PresentNull)->Unit(benchmark::kMicrosecond);

void BM_PresentMemcpyPeer(benchmark::State& state) {
  std::vector<uint8_t> from(640 * 480 * 4, 1);
  std::vector<uint8_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PresentMemcpyPeer)->Unit(benchmark::kMicrosecond);

void BM_PresentSdlDummy(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  HostSetPresenter(nullptr);
  for (auto _ : state) PresentScreen();
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PresentSdlDummy)->Unit(benchmark::kMicrosecond);

// SDL's own streaming texture on the same renderer, updated and shown.
void BM_PresentSdlTexturePeer(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  SDL_Renderer* renderer = HostSdlRenderer();
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, 640, 480);
  const MemImg& back = gScreen.back;
  for (auto _ : state) {
    SDL_UpdateTexture(texture, nullptr, back.pixels, back.store->pitch);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
  }
  SDL_DestroyTexture(texture);
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PresentSdlTexturePeer)->Unit(benchmark::kMicrosecond);

// A 1x1 graphic: what remains is the checks and the dispatch.
void BM_DrawGraphicAtOnePixel(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  const int graphic = SolidGraphic(1, 1);
  for (auto _ : state) benchmark::DoNotOptimize(DrawGraphicAt(100, 100, graphic, 0));
  DeleteGraphic(graphic);
}
BENCHMARK(BM_DrawGraphicAtOnePixel);

// The renderer's own draw of the same pixel, without the layer around it.
void BM_SoftDrawImageOnePixel(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  const int graphic = SolidGraphic(1, 1);
  const GraphicEntry* g = GetGraphicRecord(graphic);
  (void)g;
  MemImg source = {};
  CreateMemImg(&source, 1, 1, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  for (auto _ : state) SoftDrawImage(&gScreen.back, &source, 100, 100, 0, nullptr);
  ReleaseMemImg(&source);
  DeleteGraphic(graphic);
}
BENCHMARK(BM_SoftDrawImageOnePixel);

void BM_TileFrame(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  const int tiles = SolidGraphic(256, 256);
  for (auto _ : state) {
    for (int i = 0; i < kTiles; ++i) {
      const int cell = i % 1200;
      const int t = (i * 37) & 255;
      DrawGraphicPart((cell % 40) * 16, (cell / 40) * 16, (t % 16) * 16, (t / 16) * 16, 16, 16, tiles, 1, 0);
    }
  }
  DeleteGraphic(tiles);
  state.counters["tiles"] = kTiles;
}
BENCHMARK(BM_TileFrame)->Unit(benchmark::kMicrosecond);

void BM_TileFrameSdlBlitPeer(benchmark::State& state) {
  SDL_Surface* tiles = SDL_CreateRGBSurfaceWithFormat(0, 256, 256, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
  SDL_SetColorKey(tiles, SDL_TRUE, 0x00FE00FE);
  for (auto _ : state) {
    for (int i = 0; i < kTiles; ++i) {
      const int cell = i % 1200;
      const int t = (i * 37) & 255;
      SDL_Rect from = {(t % 16) * 16, (t / 16) * 16, 16, 16};
      SDL_Rect to = {(cell % 40) * 16, (cell / 40) * 16, 16, 16};
      SDL_BlitSurface(tiles, &from, screen, &to);
    }
  }
  SDL_FreeSurface(screen);
  SDL_FreeSurface(tiles);
  state.counters["tiles"] = kTiles;
}
BENCHMARK(BM_TileFrameSdlBlitPeer)->Unit(benchmark::kMicrosecond);

void BM_HandleValidation(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  const int graphic = CreateBlankGraphic(4, 4, 1);
  for (auto _ : state) benchmark::DoNotOptimize(GetGraphicRecord(graphic));
  DeleteGraphic(graphic);
}
BENCHMARK(BM_HandleValidation);

}  // namespace
