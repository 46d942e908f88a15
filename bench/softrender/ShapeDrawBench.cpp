// The box fill, the rotated draw and textured quads beside pixman and SDL2
// doing the same work on the same kind of buffers: ns per pixel for boxes
// and rotated draws (pixels drawn), triangles per second for quads.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <random>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/shapes/FlatDraw.h"
#include "runtime/softrender/shapes/MappedDraw.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kAngle = 0.5235988f;  // 30 degrees
constexpr int kCanvas = 1024;         // holds the rotated 640x480 whole

void PixelCounter(benchmark::State& state, double pixels) {
  state.counters["ns_per_px"] = benchmark::Counter(
      pixels * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Random(MemImg& image, uint32_t seed) {
  std::mt19937 rng(seed);
  for (int i = 0; i < image.store->pitch * image.height; i += 4) {
    const uint32_t v = rng() & 0x00FFFFFF;
    std::memcpy(image.store->pixels + i, &v, 4);
  }
}

bool Prepare(benchmark::State& state, SoftDrawIsa isa, int mode, int parameter, IntRect region) {
  if (isa == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) {
    state.SkipWithError("no AVX2");
    return false;
  }
  BuildSoftBlendTables();
  SetSoftDrawIsa(isa);
  gDrawState.drawRegion = region;
  gDrawState.blendMode = mode;
  gDrawState.blendParameter = parameter;
  gDrawState.brightness = 0xFFFFFF;
  return true;
}

// --- Boxes ----------------------------------------------------------------

void BM_Box(benchmark::State& state, int mode, int parameter, SoftDrawIsa isa) {
  if (!Prepare(state, isa, mode, parameter, {0, 0, kWidth, kHeight})) return;
  MemImg d{};
  CreateMemImg(&d, kWidth, kHeight, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  Random(d, 1);
  for (auto _ : state) {
    SoftFillRect(&d, nullptr, 0x00336699);
    benchmark::ClobberMemory();
  }
  ReleaseMemImg(&d);
  SetSoftDrawIsa(SoftDrawIsa::Automatic);
  PixelCounter(state, kWidth * kHeight);
}
BENCHMARK_CAPTURE(BM_Box, copy_sse2, 0, 0, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Box, copy_avx2, 0, 0, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Box, translucent_100_sse2, 1, 100, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Box, translucent_100_avx2, 1, 100, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Box, multiply_sse2, 4, 0, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Box, multiply_avx2, 4, 0, SoftDrawIsa::Avx2);

void BM_PixmanFill(benchmark::State& state) {
  MemImg d{};
  CreateMemImg(&d, kWidth, kHeight, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  for (auto _ : state) {
    pixman_fill(reinterpret_cast<uint32_t*>(d.pixels), d.store->pitch / 4, 32, 0, 0, kWidth, kHeight, 0x00336699);
    benchmark::ClobberMemory();
  }
  ReleaseMemImg(&d);
  PixelCounter(state, kWidth * kHeight);
}
BENCHMARK(BM_PixmanFill);

void BM_PixmanOverSolid(benchmark::State& state) {
  MemImg d{};
  CreateMemImg(&d, kWidth, kHeight, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  Random(d, 1);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight,
                                                 reinterpret_cast<uint32_t*>(d.pixels), d.store->pitch);
  const pixman_color_t colour{0x3333 * 100 / 255, 0x6666 * 100 / 255, 0x9999 * 100 / 255, 100 * 257};
  pixman_image_t* src = pixman_image_create_solid_fill(&colour);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(src);
  pixman_image_unref(dst);
  ReleaseMemImg(&d);
  PixelCounter(state, kWidth * kHeight);
}
BENCHMARK(BM_PixmanOverSolid);

void BM_SdlFillRect(benchmark::State& state) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_XRGB8888);
  for (auto _ : state) {
    SDL_FillRect(s, nullptr, 0x00336699);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(s);
  PixelCounter(state, kWidth * kHeight);
}
BENCHMARK(BM_SdlFillRect);

// --- Rotated draws ----------------------------------------------------------

void BM_Rotated(benchmark::State& state, int width, float scale, int mode, SoftDrawIsa isa) {
  if (!Prepare(state, isa, mode, 100, {0, 0, kCanvas, kCanvas})) return;
  const int height = width * 3 / 4;
  MemImg d{}, s{};
  CreateMemImg(&d, kCanvas, kCanvas, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  CreateMemImg(&s, width, height, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  Random(d, 1);
  Random(s, 2);
  for (auto _ : state) {
    SoftDrawImageRotated(&d, &s, kCanvas / 2, kCanvas / 2, kAngle, scale, 0, 0, nullptr);
    benchmark::ClobberMemory();
  }
  ReleaseMemImg(&s);
  ReleaseMemImg(&d);
  SetSoftDrawIsa(SoftDrawIsa::Automatic);
  PixelCounter(state, width * height * scale * scale);
}
BENCHMARK_CAPTURE(BM_Rotated, copy_640_sse2, 640, 1.0f, 0, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Rotated, copy_640_avx2, 640, 1.0f, 0, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Rotated, translucent_100_640_sse2, 640, 1.0f, 1, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Rotated, translucent_100_640_avx2, 640, 1.0f, 1, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Rotated, copy_320_scale_2_sse2, 320, 2.0f, 0, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Rotated, copy_320_scale_2_avx2, 320, 2.0f, 0, SoftDrawIsa::Avx2);

// pixman: the same turn and scale as a NEAREST transform about the centre.
void BM_PixmanRotated(benchmark::State& state, int width, double scale, bool translucent) {
  const int height = width * 3 / 4;
  MemImg d{}, s{};
  CreateMemImg(&d, kCanvas, kCanvas, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  CreateMemImg(&s, width, height, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  Random(d, 1);
  Random(s, 2);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kCanvas, kCanvas,
                                                 reinterpret_cast<uint32_t*>(d.pixels), d.store->pitch);
  pixman_image_t* src =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, reinterpret_cast<uint32_t*>(s.pixels), s.store->pitch);
  // Destination to source: move the centre to the origin, turn back, scale
  // down, move to the source's centre.
  pixman_f_transform_t f;
  pixman_f_transform_init_translate(&f, -kCanvas / 2.0, -kCanvas / 2.0);
  pixman_f_transform_rotate(&f, nullptr, std::cos(-kAngle), std::sin(-kAngle));
  pixman_f_transform_scale(&f, nullptr, 1.0 / scale, 1.0 / scale);
  pixman_f_transform_translate(&f, nullptr, width / 2.0, height / 2.0);
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &f);
  pixman_image_set_transform(src, &t);
  pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  pixman_image_set_repeat(src, PIXMAN_REPEAT_NONE);
  const pixman_color_t alpha{0, 0, 0, 100 * 257};
  pixman_image_t* mask = translucent ? pixman_image_create_solid_fill(&alpha) : nullptr;
  // The turned image's bounding box, as the draw walks it.
  const double hw = width * scale / 2, hh = height * scale / 2;
  const double bw = std::fabs(hw * std::cos(kAngle)) + std::fabs(hh * std::sin(kAngle));
  const double bh = std::fabs(hw * std::sin(kAngle)) + std::fabs(hh * std::cos(kAngle));
  const int x0 = static_cast<int>(kCanvas / 2 - bw), y0 = static_cast<int>(kCanvas / 2 - bh);
  const int w = static_cast<int>(2 * bw) + 1, h = static_cast<int>(2 * bh) + 1;
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, x0, y0, 0, 0, x0, y0, w, h);
    benchmark::ClobberMemory();
  }
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  ReleaseMemImg(&s);
  ReleaseMemImg(&d);
  PixelCounter(state, width * height * scale * scale);
}
BENCHMARK_CAPTURE(BM_PixmanRotated, nearest_640, 640, 1.0, false);
BENCHMARK_CAPTURE(BM_PixmanRotated, nearest_translucent_100_640, 640, 1.0, true);
BENCHMARK_CAPTURE(BM_PixmanRotated, nearest_320_scale_2, 320, 2.0, false);

// SDL's software renderer drawing into a surface.
struct SdlSoftware {
  SDL_Surface* target;
  SDL_Renderer* renderer;
  SDL_Texture* texture;
  SdlSoftware(int width, int height, bool translucent) {
    target = SDL_CreateRGBSurfaceWithFormat(0, kCanvas, kCanvas, 32, SDL_PIXELFORMAT_XRGB8888);
    renderer = SDL_CreateSoftwareRenderer(target);
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
    std::mt19937 rng(2);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        static_cast<uint32_t*>(image->pixels)[y * image->pitch / 4 + x] = rng() & 0x00FFFFFF;
    texture = SDL_CreateTextureFromSurface(renderer, image);
    SDL_FreeSurface(image);
    SDL_SetTextureBlendMode(texture, translucent ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    if (translucent) SDL_SetTextureAlphaMod(texture, 100);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  }
  ~SdlSoftware() {
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
  }
};

void BM_SdlRenderCopyEx(benchmark::State& state, int width, float scale, bool translucent) {
  const int height = width * 3 / 4;
  SdlSoftware sdl(width, height, translucent);
  const int w = static_cast<int>(width * scale), h = static_cast<int>(height * scale);
  const SDL_Rect to{kCanvas / 2 - w / 2, kCanvas / 2 - h / 2, w, h};
  for (auto _ : state) {
    SDL_RenderCopyEx(sdl.renderer, sdl.texture, nullptr, &to, 30.0, nullptr, SDL_FLIP_NONE);
    SDL_RenderFlush(sdl.renderer);
    benchmark::ClobberMemory();
  }
  PixelCounter(state, width * height * scale * scale);
}
BENCHMARK_CAPTURE(BM_SdlRenderCopyEx, copy_640, 640, 1.0f, false);
BENCHMARK_CAPTURE(BM_SdlRenderCopyEx, translucent_100_640, 640, 1.0f, true);
BENCHMARK_CAPTURE(BM_SdlRenderCopyEx, copy_320_scale_2, 320, 2.0f, false);

// --- Textured quads ---------------------------------------------------------

// Corners of a slightly turned square of the given side at (x, y).
void Corners(int side, int x, int y, QuadCorner (&c)[4]) {
  const int lean = side / 8;
  c[0] = {x + lean, y};
  c[1] = {x + side + lean, y + lean};
  c[2] = {x, y + side};
  c[3] = {x + side, y + side + lean};
}

void BM_Quad(benchmark::State& state, int side, SoftDrawIsa isa) {
  if (!Prepare(state, isa, 0, 0, {0, 0, kWidth, kHeight})) return;
  MemImg d{}, s{};
  CreateMemImg(&d, kWidth, kHeight, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  CreateMemImg(&s, side, side, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
  Random(s, 2);
  int i = 0;
  for (auto _ : state) {
    QuadCorner c[4];
    Corners(side, (i * 37) % (kWidth - 2 * side), (i * 23) % (kHeight - 2 * side), c);
    SoftDrawQuad(&d, &s, c, 0, nullptr);
    ++i;
  }
  ReleaseMemImg(&s);
  ReleaseMemImg(&d);
  SetSoftDrawIsa(SoftDrawIsa::Automatic);
  state.counters["triangles_per_s"] = benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_Quad, side_64_sse2, 64, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Quad, side_64_avx2, 64, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Quad, side_16_sse2, 16, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Quad, side_16_avx2, 16, SoftDrawIsa::Avx2);

void BM_SdlRenderGeometry(benchmark::State& state, int side) {
  SdlSoftware sdl(side, side, false);
  const int indices[6] = {0, 1, 2, 1, 2, 3};
  int i = 0;
  for (auto _ : state) {
    QuadCorner c[4];
    Corners(side, (i * 37) % (kWidth - 2 * side), (i * 23) % (kHeight - 2 * side), c);
    SDL_Vertex v[4];
    const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int k = 0; k < 4; ++k)
      v[k] = SDL_Vertex{{static_cast<float>(c[k].x), static_cast<float>(c[k].y)}, {255, 255, 255, 255},
                        {uv[k][0], uv[k][1]}};
    SDL_RenderGeometry(sdl.renderer, sdl.texture, v, 4, indices, 6);
    SDL_RenderFlush(sdl.renderer);
    ++i;
  }
  state.counters["triangles_per_s"] = benchmark::Counter(2, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_SdlRenderGeometry, side_64, 64);
BENCHMARK_CAPTURE(BM_SdlRenderGeometry, side_16, 16);

}  // namespace
