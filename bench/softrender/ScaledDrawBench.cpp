// ns per destination pixel of the scaled draw into 640x480 (2x stretch,
// same-size mirrored, 0.5x shrink; 32-bit, 16-bit and palette sources),
// beside pixman's scale transform with the nearest filter and SDL2's scaled
// blit on the same buffers.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>

#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImg.h"
#include "runtime/softrender/SoftDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr uint32_t kKey = 0x00FE00FE;
constexpr uint32_t kKey16 = 0xF81F;

enum class Format { Xrgb, Rgb565, Palette32 };

int PixelTypeOf(Format f) { return f == Format::Rgb565 ? MemImgRgb565 : MemImgXrgb8888; }

uint32_t To565(uint32_t c) { return (c >> 8 & 0xF800) | (c >> 5 & 0x07E0) | (c >> 3 & 0x001F); }

// A 640x480 destination and a picture-like source of the given size: runs
// of colour, with key runs (or clear alpha runs) mixed in when keyed.
struct Images {
  MemImg destination{};
  MemImg source{};

  Images(int sourceWidth, int sourceHeight, Format format, bool keyed, bool alpha = false) {
    const int type = PixelTypeOf(format);
    const bool palette = format == Format::Palette32;
    CreateMemImg(&destination, kWidth, kHeight, -1, 0, type, 0, 0, nullptr);
    CreateMemImg(&source, sourceWidth, sourceHeight, -1,
                 palette                ? 0
                 : type == MemImgRgb565 ? kKey16
                                        : kKey,
                 type, palette, alpha, nullptr);
    std::mt19937 rng(7);
    if (palette)
      for (int i = 0; i < 256; ++i) {
        const uint32_t c = rng() & 0x00FFFFFF;
        std::memcpy(source.store->palette + 4 * i, &c, 4);
      }
    const int bytes = MemImgBytesPerPixel(destination.store);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t under = rng();
        std::memcpy(destination.pixels + y * destination.store->pitch + bytes * x, &under, bytes);
      }
    const int sourceBytes = MemImgBytesPerPixel(source.store);
    for (int y = 0; y < sourceHeight; ++y) {
      int run = 0;
      uint32_t colour = 0;
      for (int x = 0; x < sourceWidth; ++x) {
        if (run-- <= 0) {
          run = 4 + static_cast<int>(rng() % 40);
          const bool keyRun = keyed && rng() % 10 < 4;
          colour = rng() & 0x00FFFFFF;
          if (palette)
            colour = keyRun ? 0 : 1 + rng() % 255;
          else if (type == MemImgRgb565)
            colour = keyRun ? kKey16 : To565(colour);
          else
            colour = keyRun ? kKey : colour;
          if (alpha) colour |= keyRun ? 0 : 0xFF000000;
        }
        std::memcpy(source.pixels + y * source.store->pitch + sourceBytes * x, &colour, sourceBytes);
      }
    }
  }
  ~Images() {
    ReleaseMemImg(&source);
    ReleaseMemImg(&destination);
  }
};

void SetPixelCounter(benchmark::State& state) {
  state.counters["ns_per_px"] =
      benchmark::Counter(static_cast<double>(kWidth) * kHeight * 1e-9,
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

struct Case {
  int sourceWidth, sourceHeight;
  Format format;
  int mode, parameter, transparent;
  bool mirrored = false;
};

void BM_MovanScaled(benchmark::State& state, Case c, SoftDrawIsa isa) {
  if (isa == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) {
    state.SkipWithError("no AVX2");
    return;
  }
  BuildSoftBlendTables();
  SetSoftDrawIsa(isa);
  gPlatform.mmxUsable = 1;
  Images images(c.sourceWidth, c.sourceHeight, c.format, c.transparent != 0);
  gDrawState.drawRegion = IntRect{0, 0, kWidth, kHeight};
  gDrawState.blendMode = c.mode;
  gDrawState.blendParameter = c.parameter;
  gDrawState.brightness = 0xFFFFFF;
  const int x1 = c.mirrored ? kWidth : 0, x2 = c.mirrored ? 0 : kWidth;
  for (auto _ : state) {
    SoftDrawImageScaled(&images.destination, &images.source, x1, 0, x2, kHeight, c.transparent, nullptr);
    benchmark::ClobberMemory();
  }
  SetSoftDrawIsa(SoftDrawIsa::Automatic);
  SetPixelCounter(state);
}

const Case kCopy2x{320, 240, Format::Xrgb, 0, 0, 0};
const Case kKeyed2x{320, 240, Format::Xrgb, 0, 0, 1};
const Case kTranslucent2x{320, 240, Format::Xrgb, 1, 100, 0};
const Case kMirrored{640, 480, Format::Xrgb, 0, 0, 0, true};
const Case kShrink{1280, 960, Format::Xrgb, 0, 0, 0};
const Case k16Copy2x{320, 240, Format::Rgb565, 0, 0, 0};
const Case k16Translucent2x{320, 240, Format::Rgb565, 1, 100, 0};
const Case kPaletteKeyed2x{320, 240, Format::Palette32, 0, 0, 1};

BENCHMARK_CAPTURE(BM_MovanScaled, copy_2x_sse2, kCopy2x, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_2x_avx2, kCopy2x, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_keyed_2x_sse2, kKeyed2x, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_keyed_2x_avx2, kKeyed2x, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, translucent_100_2x_sse2, kTranslucent2x, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, translucent_100_2x_avx2, kTranslucent2x, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_mirrored_same_size_sse2, kMirrored, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_mirrored_same_size_avx2, kMirrored, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_half_sse2, kShrink, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, copy_half_avx2, kShrink, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, rgb565_copy_2x_sse2, k16Copy2x, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, rgb565_copy_2x_avx2, k16Copy2x, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, rgb565_translucent_100_2x_sse2, k16Translucent2x, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, rgb565_translucent_100_2x_avx2, k16Translucent2x, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_MovanScaled, palette_to_32_copy_keyed_2x_sse2, kPaletteKeyed2x, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_MovanScaled, palette_to_32_copy_keyed_2x_avx2, kPaletteKeyed2x, SoftDrawIsa::Avx2);

// pixman's scale transform with the nearest filter over the same buffers
// (the transform maps destination to source: the reciprocal of the scale).
void BM_PixmanScaled(benchmark::State& state, Case c, pixman_op_t op, bool alpha) {
  Images images(c.sourceWidth, c.sourceHeight, c.format, alpha, alpha);
  const bool wide = c.format != Format::Rgb565;
  const pixman_format_code_t opaque = wide ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5;
  pixman_image_t* destination = pixman_image_create_bits(
      opaque, kWidth, kHeight, reinterpret_cast<uint32_t*>(images.destination.pixels), images.destination.store->pitch);
  pixman_image_t* source =
      pixman_image_create_bits(alpha ? PIXMAN_a8r8g8b8 : opaque, c.sourceWidth, c.sourceHeight,
                               reinterpret_cast<uint32_t*>(images.source.pixels), images.source.store->pitch);
  pixman_transform_t transform;
  pixman_transform_init_scale(&transform, pixman_double_to_fixed(static_cast<double>(c.sourceWidth) / kWidth),
                              pixman_double_to_fixed(static_cast<double>(c.sourceHeight) / kHeight));
  if (c.mirrored) {
    pixman_transform_init_scale(&transform, pixman_int_to_fixed(-1), pixman_int_to_fixed(1));
    pixman_transform_translate(&transform, nullptr, pixman_int_to_fixed(kWidth), 0);
  }
  pixman_image_set_transform(source, &transform);
  pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(op, source, nullptr, destination, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(source);
  pixman_image_unref(destination);
  SetPixelCounter(state);
}
BENCHMARK_CAPTURE(BM_PixmanScaled, nearest_src_2x, kCopy2x, PIXMAN_OP_SRC, false);
BENCHMARK_CAPTURE(BM_PixmanScaled, nearest_over_argb_2x, kKeyed2x, PIXMAN_OP_OVER, true);
BENCHMARK_CAPTURE(BM_PixmanScaled, nearest_src_mirrored_same_size, kMirrored, PIXMAN_OP_SRC, false);
BENCHMARK_CAPTURE(BM_PixmanScaled, nearest_src_half, kShrink, PIXMAN_OP_SRC, false);
BENCHMARK_CAPTURE(BM_PixmanScaled, rgb565_nearest_src_2x, k16Copy2x, PIXMAN_OP_SRC, false);

// SDL2's scaled blit over the same buffers.
enum class SdlBlit { Copy, ColourKey, AlphaModulated };

SDL_Surface* SdlSurfaceOf(const MemImg& image, Format format) {
  const MemImgStore* store = image.store;
  if (store->paletteFlag) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(image.pixels, image.width, image.height, 8, store->pitch,
                                                        SDL_PIXELFORMAT_INDEX8);
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
      uint32_t e = 0;
      std::memcpy(&e, store->palette + 4 * i, 4);
      colours[i] = SDL_Color{static_cast<uint8_t>(e >> 16), static_cast<uint8_t>(e >> 8), static_cast<uint8_t>(e), 255};
    }
    SDL_SetPaletteColors(s->format->palette, colours, 0, 256);
    return s;
  }
  const bool narrow = format == Format::Rgb565;
  return SDL_CreateRGBSurfaceWithFormatFrom(image.pixels, image.width, image.height, narrow ? 16 : 32, store->pitch,
                                            narrow ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_XRGB8888);
}

void BM_SdlScaled(benchmark::State& state, Case c, SdlBlit blit) {
  Images images(c.sourceWidth, c.sourceHeight, c.format, blit == SdlBlit::ColourKey);
  SDL_Surface* destination = SdlSurfaceOf(images.destination, c.format);
  SDL_Surface* source = SdlSurfaceOf(images.source, c.format);
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  if (blit == SdlBlit::ColourKey)
    SDL_SetColorKey(source, SDL_TRUE, c.format == Format::Palette32 ? 0 : c.format == Format::Rgb565 ? kKey16 : kKey);
  if (blit == SdlBlit::AlphaModulated) {
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(source, 100);
  }
  SDL_Rect to{0, 0, kWidth, kHeight};
  if (SDL_BlitScaled(source, nullptr, destination, &to) != 0) state.SkipWithError(SDL_GetError());
  for (auto _ : state) {
    SDL_BlitScaled(source, nullptr, destination, &to);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(source);
  SDL_FreeSurface(destination);
  SetPixelCounter(state);
}
BENCHMARK_CAPTURE(BM_SdlScaled, copy_2x, kCopy2x, SdlBlit::Copy);
BENCHMARK_CAPTURE(BM_SdlScaled, colour_key_2x, kKeyed2x, SdlBlit::ColourKey);
BENCHMARK_CAPTURE(BM_SdlScaled, alpha_modulated_100_2x, kTranslucent2x, SdlBlit::AlphaModulated);
BENCHMARK_CAPTURE(BM_SdlScaled, copy_half, kShrink, SdlBlit::Copy);
BENCHMARK_CAPTURE(BM_SdlScaled, rgb565_copy_2x, k16Copy2x, SdlBlit::Copy);
BENCHMARK_CAPTURE(BM_SdlScaled, rgb565_alpha_modulated_100_2x, k16Translucent2x, SdlBlit::AlphaModulated);
BENCHMARK_CAPTURE(BM_SdlScaled, palette_to_32_colour_key_2x, kPaletteKeyed2x, SdlBlit::ColourKey);

}  // namespace
