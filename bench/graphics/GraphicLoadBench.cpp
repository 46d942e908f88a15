// Graphics from files and back into files on a running layer (SDL's dummy
// driver): LoadGraphicFile of a 640x480 PNG beside the reader alone, the
// 24 to 32-bit transfer into a graphic, a full-screen capture, and a PNG
// screen save beside libpng writing the same rows.

#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchLayer.h"
#include "runtime/Movan.h"
#include "runtime/graphics/graphic/GraphicFromImage.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "tests/support/ImageLibraryFixtures.h"

namespace {

constexpr int kW = 640;
constexpr int kH = 480;

// A picture with some detail, so that the compressors have work to do.
uint32_t Colour(int x, int y) {
  return (static_cast<uint32_t>((x * 3 + y) & 0xFF) << 16) | (static_cast<uint32_t>((y * 2) & 0xFF) << 8) |
         static_cast<uint32_t>(((x ^ y) * 7) & 0xFF);
}

struct Layer {
  Layer() {
    char folder[] = "/tmp/movan-load-bench-XXXXXX";
    if (mkdtemp(folder) && chdir(folder) == 0) {
      started = StartBenchLayer("GraphicLoadBench", kW, kH);
      PngFixtureFields f;
      f.width = kW;
      f.height = kH;
      for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
          const uint32_t c = Colour(x, y);
          f.rows += static_cast<char>(c >> 16);
          f.rows += static_cast<char>(c >> 8);
          f.rows += static_cast<char>(c);
        }
      }
      png = EncodePngFixture(f);
      if (FILE* file = std::fopen("screen.png", "wb")) {
        std::fwrite(png.data(), 1, png.size(), file);
        std::fclose(file);
      }
      // The back screen holds the same picture.
      MemImg& back = gScreen.back;
      for (int y = 0; y < kH && started; ++y) {
        for (int x = 0; x < kW; ++x) {
          StorePixelBytes(back.pixels + static_cast<size_t>(y) * back.store->pitch + x * 4, 4, Colour(x, y));
        }
      }
    }
  }
  bool started = false;
  std::string png;
};

Layer& TheLayer() {
  static Layer layer;
  return layer;
}

void BM_LoadGraphicFilePng_Layer(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  for (auto _ : state) {
    const int graphic = LoadGraphicFile("screen.png", 1);
    if (graphic < 0) return state.SkipWithError("load failed");
    DeleteGraphic(graphic);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_LoadGraphicFilePng_Layer)->Unit(benchmark::kMillisecond);

void BM_LoadGraphicFilePng_ReaderAlone(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  for (auto _ : state) {
    GraphImage image = {};
    if (LoadImageFile("screen.png", nullptr, 0, 0, 0, &image) != 0) return state.SkipWithError("read failed");
    FreeGraphImage(&image);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_LoadGraphicFilePng_ReaderAlone)->Unit(benchmark::kMillisecond);

void BM_Transfer24To32(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  GraphImage image = {};
  CreateRgb24GraphImage(kW, kH, &image);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const uint32_t c = Colour(x, y);
      SetGraphImagePixel(&image, x, y, c >> 16, (c >> 8) & 0xFF, c & 0xFF, 255);
    }
  }
  const int graphic = CreateGraphicForImage(image, nullptr, 0);
  for (auto _ : state) TransferImageToGraphic(image, nullptr, nullptr, 0, 0, graphic, 0);
  DeleteGraphic(graphic);
  FreeGraphImage(&image);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_Transfer24To32)->Unit(benchmark::kMicrosecond);

void BM_CaptureFullScreen(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  const int graphic = CreateBlankGraphic(kW, kH, 1);
  for (auto _ : state) CaptureScreenToGraphic(0, 0, kW, kH, graphic);
  DeleteGraphic(graphic);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_CaptureFullScreen)->Unit(benchmark::kMicrosecond);

void BM_SaveScreenPng_Layer(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  for (auto _ : state) {
    if (SaveScreenImage(0, 0, kW, kH, "saved.png", 0) != 0) return state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_SaveScreenPng_Layer)->Unit(benchmark::kMillisecond);

// libpng alone: the same RGB rows to a file at zlib's default level.
void BM_SaveScreenPng_Libpng(benchmark::State& state) {
  if (!TheLayer().started) return state.SkipWithError("no layer");
  std::vector<uint8_t> rows(static_cast<size_t>(kW) * kH * 3);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const uint32_t c = Colour(x, y);
      uint8_t* p = &rows[(static_cast<size_t>(y) * kW + x) * 3];
      p[0] = static_cast<uint8_t>(c >> 16);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
    }
  }
  for (auto _ : state) {
    FILE* file = std::fopen("peer.png", "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, kW, kH, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kH; ++y) png_write_row(png, &rows[static_cast<size_t>(y) * kW * 3]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_SaveScreenPng_Libpng)->Unit(benchmark::kMillisecond);

}  // namespace
