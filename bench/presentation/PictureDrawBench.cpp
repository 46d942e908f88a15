// A frame of 100 pictures in software on a running layer (640x480x32, SDL's
// dummy driver): 50 plain ones in the five blends, 20 rotated and zoomed, 20
// nine-piece frames and 10 text pictures, updated and drawn on their four
// layers; beside it the same graphics drawn by the layer's own calls, one
// call per plain or rotated picture, nine per frame and one text line each,
// without the picture list.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/services/DataFolder.h"
#include "bench/BenchLayer.h"
#include "runtime/Movan.h"
#include "tests/support/PixelImage.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr int32_t kPlain = 50;
constexpr int32_t kRotated = 20;
constexpr int32_t kNinePiece = 20;
constexpr int32_t kText = 10;
constexpr int32_t kBlends = 5;
constexpr double kPi = 3.14159265358979323846;

PixelImage Square(uint32_t fill, uint32_t edge) {
  PixelImage image(64, 64, fill);
  image.FrameRect(0, 0, 64, 64, edge);
  image.FillRect(20, 20, 24, 24, kTransparentRgb);
  return image;
}

PixelImage NineGrid() {
  PixelImage image(24, 24, 0xC8A040);
  image.FillRect(3, 3, 18, 18, 0x203060);
  return image;
}

struct Placed {
  int32_t x, y;
};
Placed Place(int32_t i) { return {i * 61 % 560, i * 37 % 400}; }

std::string TextOf(int32_t i) { return "ピクチャ" + std::to_string(i) + "番 Text"; }
int32_t RotationOf(int32_t i) { return 300 + i * 170; }  // tenths of a degree
int32_t NineWidth(int32_t i) { return 80 + i % 5 * 16; }

struct Scene {
  Scene() {
    char folder[] = "/tmp/movan-picture-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return;
    path = folder;
    WriteWholeFile(path + "/Data/Picture/plain.bmp", Square(0x40A0E0, 0xFFFFFF).ToBmp());
    WriteWholeFile(path + "/Data/Picture/turn.bmp", Square(0xE06040, 0x202020).ToBmp());
    WriteWholeFile(path + "/Data/Picture/nine.bmp", NineGrid().ToBmp());
    started = StartBenchLayer("PictureDrawBench");
    SetTransparentColor(254, 0, 254);
    SetDataFolder("Data\\");
  }

  void ShowPictures() {
    GamePictures.Clear(true);
    int32_t number = 1;
    for (int32_t i = 0; i < kPlain; ++i, ++number) {
      PictureShowArguments a = At(number);
      a.blend = i % kBlends;
      a.opacity = 200;
      GamePictures.Show(number, number, "Picture\\plain.bmp", a, 100, 0, false);
    }
    for (int32_t i = 0; i < kRotated; ++i, ++number) {
      PictureShowArguments a = At(number);
      a.anchor = 1;
      a.angle = RotationOf(i);
      a.zoomX = a.zoomY = 120;
      GamePictures.Show(number, number, "Picture\\turn.bmp", a, 120, 0, false);
    }
    for (int32_t i = 0; i < kNinePiece; ++i, ++number) {
      PictureShowArguments a = At(number);
      a.divX = NineWidth(i);
      a.divY = 48;
      GamePictures.Show(number, number, "Picture\\nine.bmp", a, 100, 0, true);
    }
    for (int32_t i = 0; i < kText; ++i, ++number) {
      GamePictures.ShowText(number, number, TextOf(i), At(number), 100, 0);
    }
  }

  static PictureShowArguments At(int32_t number) {
    PictureShowArguments a;
    a.x = Place(number).x;
    a.y = Place(number).y;
    return a;
  }

  bool started = false;
  std::string path;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_HundredPictures(benchmark::State& state) {
  Scene& scene = TheScene();
  if (!scene.started) return state.SkipWithError("no layer");
  scene.ShowPictures();
  for (auto _ : state) {
    GamePictures.Update();
    ClearDrawTarget();
    for (int32_t layer = -2; layer <= 1; ++layer) GamePictures.Draw(layer);
  }
  state.counters["pictures"] = static_cast<double>(GamePictures.pictures.size());
  GamePictures.Clear(true);
}
BENCHMARK(BM_HundredPictures)->Unit(benchmark::kMicrosecond);

// Peer: the same images, places, blends, angles and texts by the layer's
// calls, with no list, no update and no per-picture state.
void BM_HundredPicturesLayerCallsPeer(benchmark::State& state) {
  Scene& scene = TheScene();
  if (!scene.started) return state.SkipWithError("no layer");
  const int plain = LoadGraphicFile("Data\\Picture\\plain.bmp", 0);
  const int turn = LoadGraphicFile("Data\\Picture\\turn.bmp", 0);
  const int nine = LoadGraphicFile("Data\\Picture\\nine.bmp", 0);
  if (plain < 0 || turn < 0 || nine < 0) return state.SkipWithError("no graphics");
  const uint32_t white = PackColor(255, 255, 255);
  for (auto _ : state) {
    ClearDrawTarget();
    int32_t number = 1;
    for (int32_t i = 0; i < kPlain; ++i, ++number) {
      SetBlendMode(i % kBlends, 200);
      DrawGraphicAt(Place(number).x, Place(number).y, plain, 1);
    }
    SetBlendMode(0, 255);
    for (int32_t i = 0; i < kRotated; ++i, ++number) {
      DrawGraphicRotatedInt(Place(number).x, Place(number).y, 1.2, RotationOf(i) * kPi / 1800, turn, 1, 0);
    }
    for (int32_t i = 0; i < kNinePiece; ++i, ++number) {
      const int32_t x = Place(number).x, y = Place(number).y, w = NineWidth(i), h = 48;
      const int32_t xs[4] = {x, x + 8, x + w - 8, x + w};
      const int32_t ys[4] = {y, y + 8, y + h - 8, y + h};
      for (int32_t k = 0; k < 9; ++k) {
        const int32_t c = k % 3, r = k / 3;
        DrawGraphicPartStretched(xs[c], ys[r], xs[c + 1], ys[r + 1], c * 8, r * 8, 8, 8, nine, 1);
      }
    }
    for (int32_t i = 0; i < kText; ++i, ++number) {
      DrawTextLine(Place(number).x, Place(number).y, TextOf(i).c_str(), white, 0);
    }
  }
  DeleteGraphic(plain);
  DeleteGraphic(turn);
  DeleteGraphic(nine);
}
BENCHMARK(BM_HundredPicturesLayerCallsPeer)->Unit(benchmark::kMicrosecond);

}  // namespace
