// A frame of a map scene drawn by a running layer in software mode and
// through the 3D path on OpenGL (run under an X server: xvfb-run with
// Mesa's llvmpipe), in the same run: a 640x480 panorama, three layers of
// 20 x 15 tiles cut from one tile set, 30 character sprites cut from one
// sheet and drawn between the tile rows, a translucent fog, and the flip.
// The 3D rows also count the GL draw calls of a frame (primitives: draws of
// vertices, the present's blits apart).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Direct3DState.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/device3d/Device3D.h"

namespace {

constexpr int kColumns = 20;
constexpr int kRows = 15;
constexpr int kSprites = 30;

int PatternGraphic(int width, int height, int seed, bool holes) {
  GraphImage image = {};
  CreateXrgbGraphImage(width, height, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < height && x < width; ++x) {
      // Holes of the transparent colour (black) in every other 8 x 8 block.
      const bool hole = holes && ((x / 8 + y / 8) % 2 == 0) && (x % 32 > 8);
      if (hole) {
        SetGraphImagePixel(&image, x, y, 0, 0, 0, 255);
      } else {
        SetGraphImagePixel(&image, x, y, (x * 5 + seed) & 0xFF, (y * 3 + seed) & 0xFF, (x ^ y) & 0xFF, 255);
      }
    }
    for (int x = height; x < width; ++x) SetGraphImagePixel(&image, x, y, (x + seed) & 0xFF, y & 0xFF, seed, 255);
  }
  const int graphic = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  return graphic;
}

struct Scene {
  int panorama = -1;
  int fog = -1;
  std::vector<int> tiles;    // 32 x 32 parts of one tile set
  std::vector<int> frames;   // 32 x 32 parts of one character sheet
};

// One running layer at a time, in the mode the benchmark asks for.
struct Layer {
  int mode = -1;  // 0 software, 1 the 3D path
  bool started = false;
  Scene scene;

  void Enter(int wanted) {
    if (mode == wanted) return;
    if (mode != -1) {
      LayerEnd();
      gScreen = ScreenState();
      gScreenDevice = ScreenDevice();
    }
    mode = wanted;
    char folder[] = "/tmp/movan-map-frame-bench-XXXXXX";
    started = false;
    if (!mkdtemp(folder) || chdir(folder) != 0) return;
    EnableLogOutput(0);
    SetWindowTitle(("MapFrameBench-" + std::to_string(getpid()) + "-" + std::to_string(wanted)).c_str());
    ChangeWindowMode(1);
    SetRunInBackground(1);
    SetScreenMode(640, 480, 32, -1);
    Enable3DDrawing(wanted);
    started = LayerInit() == 0 && (HasDevice3D() != 0) == (wanted == 1);
    if (!started) return;
    SetWaitVsync(0);
    SetDrawTarget(kBackScreen);
    scene = Scene();
    scene.panorama = PatternGraphic(640, 480, 3, false);
    scene.fog = PatternGraphic(640, 480, 9, false);
    const int tileSet = PatternGraphic(256, 512, 5, true);
    for (int i = 0; i < 128; ++i) scene.tiles.push_back(DeriveGraphic(i % 8 * 32, i / 8 * 32, 32, 32, tileSet));
    const int sheet = PatternGraphic(96, 128, 7, true);
    for (int i = 0; i < 12; ++i) scene.frames.push_back(DeriveGraphic(i % 3 * 32, i / 3 * 32, 32, 32, sheet));
  }
};

Layer& TheLayer() {
  static Layer layer;
  return layer;
}

double ProcessCpuMs() {
  rusage usage = {};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

void DrawFrame(const Scene& s, int frame) {
  SetBlendMode(0, 0);
  DrawGraphicAt(0, 0, s.panorama, 0);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) DrawGraphicAt(c * 32, r * 32, s.tiles[(r * 7 + c) % 64], 0);
  }
  // The middle layer row by row, each row's characters after it.
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) DrawGraphicAt(c * 32, r * 32, s.tiles[64 + (r + c * 3) % 64], 1);
    for (int i = 0; i < kSprites; ++i) {
      if (i % kRows != r) continue;
      const int x = (i * 97 + frame) % 608;
      DrawGraphicAt(x, r * 32 - 16, s.frames[(i + frame / 8) % 12], 1);
    }
  }
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; c += 2) DrawGraphicAt(c * 32, r * 32, s.tiles[64 + (r * 5 + c) % 64], 1);
  }
  SetBlendMode(1, 80);
  DrawGraphicAt(0, 0, s.fog, 0);
  SetBlendMode(0, 0);
  FlipScreen();
}

void MapFrame(benchmark::State& state, int mode) {
  Layer& layer = TheLayer();
  layer.Enter(mode);
  if (!layer.started) return state.SkipWithError(mode ? "no 3D device (run under an X server with GL)" : "no layer");
  int frame = 0;
  // Warm: the GL driver makes its shader variants at the first draws.
  for (int i = 0; i < 3; ++i) DrawFrame(layer.scene, frame++);
  HostResetGlCounts();
  const double before = ProcessCpuMs();
  for (auto _ : state) DrawFrame(layer.scene, frame++);
  // The CPU time of every thread (the GL rasteriser's included): what the
  // frame costs on a loaded machine, where wall time says little.
  state.counters["process_cpu_ms"] = (ProcessCpuMs() - before) / static_cast<double>(state.iterations());
  if (mode == 1) {
    const HostGlCallCounts counts = HostGlCounts();
    const double frames = static_cast<double>(state.iterations());
    state.counters["gl_draws"] = static_cast<double>(counts.primitives) / frames;
    state.counters["gl_state_calls"] = static_cast<double>(counts.stateChanges) / frames;
    state.counters["gl_calls"] = static_cast<double>(counts.total) / frames;
  }
}

void BM_MapFrameSoftware(benchmark::State& state) { MapFrame(state, 0); }
BENCHMARK(BM_MapFrameSoftware)->Unit(benchmark::kMillisecond);

void BM_MapFrame3D(benchmark::State& state) { MapFrame(state, 1); }
BENCHMARK(BM_MapFrame3D)->Unit(benchmark::kMillisecond);

}  // namespace
