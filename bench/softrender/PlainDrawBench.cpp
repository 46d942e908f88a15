// ns per pixel of the plain draw at 640x480 (32-bit, 16-bit and palette
// sources), beside memcpy of the same bytes, pixman and SDL2's blitters on
// the same buffers.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <ctime>
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
constexpr uint32_t kKeyIndex = 0;

enum class Content { Opaque, Keyed, Alpha };
// Source kinds: 32-bit, 16-bit, palette onto 32 bits, palette onto 16 bits.
enum class Format { Xrgb, Rgb565, Palette32, Palette16 };

int PixelTypeOf(Format f) { return f == Format::Xrgb || f == Format::Palette32 ? MemImgXrgb8888 : MemImgRgb565; }
bool IsPalette(Format f) { return f == Format::Palette32 || f == Format::Palette16; }

uint32_t To565(uint32_t c) { return (c >> 8 & 0xF800) | (c >> 5 & 0x07E0) | (c >> 3 & 0x001F); }

// A picture-like source: runs of colour, with key or alpha runs mixed in.
struct Images {
  MemImg destination{};
  MemImg source{};

  explicit Images(Content content, Format format = Format::Xrgb) {
    const int type = PixelTypeOf(format);
    const bool palette = IsPalette(format);
    const bool alpha = content == Content::Alpha;
    const uint32_t key = palette ? kKeyIndex : type == MemImgRgb565 ? kKey16 : kKey;
    CreateMemImg(&destination, kWidth, kHeight, -1, 0, type, 0, 0, nullptr);
    CreateMemImg(&source, kWidth, kHeight, -1, key, type, palette, alpha, nullptr);
    std::mt19937 rng(7);
    if (palette) {
      for (int i = 0; i < 256; ++i) {
        const uint32_t c = rng() & 0x00FFFFFF;
        if (type == MemImgXrgb8888)
          std::memcpy(source.store->palette + 4 * i, &c, 4);
        else
          Store16(source.store->palette + 2 * i, To565(c));
      }
    }
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* d = destination.pixels + y * destination.store->pitch;
      uint8_t* s = source.pixels + y * source.store->pitch;
      int run = 0;
      uint32_t colour = 0;
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t under = rng() & 0x00FFFFFF;
        if (type == MemImgXrgb8888)
          std::memcpy(d + 4 * x, &under, 4);
        else
          Store16(d + 2 * x, To565(under));
        if (run-- <= 0) {
          run = 4 + static_cast<int>(rng() % 40);
          colour = rng() & 0x00FFFFFF;
          const int roll = static_cast<int>(rng() % 10);
          const bool keyRun = content == Content::Keyed && roll < 4;
          if (palette) {
            colour = keyRun ? kKeyIndex : 1 + rng() % 255;
          } else if (type == MemImgRgb565) {
            colour = keyRun ? kKey16 : To565(colour);
            // About 40% clear, 40% opaque, 20% partial.
            if (alpha) colour |= (roll < 4 ? 0 : roll < 8 ? 255 : (rng() % 254 + 1)) << 16;
          } else {
            if (keyRun) colour = kKey;
            if (alpha) colour |= roll < 4 ? 0 : roll < 8 ? 0xFF000000 : (rng() % 254 + 1) << 24;
            if (content == Content::Opaque) colour |= 0xFF000000;
          }
        }
        const int bytes = MemImgBytesPerPixel(source.store);
        std::memcpy(s + bytes * x, &colour, bytes);
      }
    }
  }
  ~Images() {
    ReleaseMemImg(&source);
    ReleaseMemImg(&destination);
  }
  static void Store16(uint8_t* p, uint32_t v) {
    const uint16_t w = static_cast<uint16_t>(v);
    std::memcpy(p, &w, 2);
  }
  static uint32_t* Row(const MemImg& image, int y) {
    return reinterpret_cast<uint32_t*>(image.pixels + y * image.store->pitch);
  }
};

// Nanoseconds per destination pixel, as a plain number: the library's
// inverted rate would print it as seconds. Started right before the loop.
// (<chrono> does not build with the CP932 execution character set.)
class PixelClock {
 public:
  void Report(benchmark::State& state) const {
    const double pixels = static_cast<double>(kWidth) * kHeight * static_cast<double>(state.iterations());
    state.counters["ns_per_px"] = benchmark::Counter(pixels > 0 ? (Now() - start_) / pixels : 0.0);
  }

 private:
  static double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
  }
  double start_ = Now();
};

struct Case {
  Content content;
  int mode;
  int parameter;
  int transparent;
  int mmx = 1;  // 0 takes the packed forms at 255
  Format format = Format::Xrgb;
};

void BM_Movan(benchmark::State& state, Case c, SoftDrawIsa isa) {
  if (isa == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) {
    state.SkipWithError("no AVX2");
    return;
  }
  BuildSoftBlendTables();
  SetSoftDrawIsa(isa);
  gPlatform.mmxUsable = c.mmx;
  Images images(c.content, c.format);
  gDrawState.drawRegion = IntRect{0, 0, kWidth, kHeight};
  gDrawState.blendMode = c.mode;
  gDrawState.blendParameter = c.parameter;
  gDrawState.brightness = 0xFFFFFF;
  const PixelClock pixelClock;
  for (auto _ : state) {
    SoftDrawImage(&images.destination, &images.source, 0, 0, c.transparent, nullptr);
    benchmark::ClobberMemory();
  }
  SetSoftDrawIsa(SoftDrawIsa::Automatic);
  pixelClock.Report(state);
}

const Case kCopyKeyed{Content::Keyed, 0, 0, 1};
const Case kCopyAlpha{Content::Alpha, 0, 0, 1};
const Case kTranslucent100{Content::Opaque, 1, 100, 0};
const Case kAdditive128{Content::Opaque, 2, 128, 0};
const Case kHalve{Content::Opaque, 1, 128, 0};
const Case kSubtractive128{Content::Opaque, 3, 128, 0};
const Case kInverted100{Content::Opaque, 10, 100, 0};
const Case kMultiplyTranslucent100{Content::Opaque, 11, 100, 0};
const Case kAdditive255Packed{Content::Opaque, 2, 255, 0, 0};
const Case kSubtractive255Packed{Content::Opaque, 3, 255, 0, 0};

BENCHMARK_CAPTURE(BM_Movan, copy_keyed_sse2, kCopyKeyed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, copy_keyed_avx2, kCopyKeyed, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, copy_alpha_sse2, kCopyAlpha, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, copy_alpha_avx2, kCopyAlpha, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, translucent_100_sse2, kTranslucent100, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, translucent_100_avx2, kTranslucent100, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, additive_128_sse2, kAdditive128, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, additive_128_avx2, kAdditive128, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, halve_sse2, kHalve, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, halve_avx2, kHalve, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, subtractive_128_sse2, kSubtractive128, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, subtractive_128_avx2, kSubtractive128, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, inverted_translucent_100_sse2, kInverted100, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, inverted_translucent_100_avx2, kInverted100, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, multiply_translucent_100_sse2, kMultiplyTranslucent100, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, multiply_translucent_100_avx2, kMultiplyTranslucent100, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, additive_255_packed_sse2, kAdditive255Packed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, additive_255_packed_avx2, kAdditive255Packed, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, subtractive_255_packed_sse2, kSubtractive255Packed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, subtractive_255_packed_avx2, kSubtractive255Packed, SoftDrawIsa::Avx2);

const Case k16CopyKeyed{Content::Keyed, 0, 0, 1, 1, Format::Rgb565};
const Case k16Translucent100{Content::Opaque, 1, 100, 0, 1, Format::Rgb565};
const Case k16Halve{Content::Opaque, 1, 128, 0, 1, Format::Rgb565};
const Case k16Additive128{Content::Opaque, 2, 128, 0, 1, Format::Rgb565};
const Case k16Additive255{Content::Opaque, 2, 255, 0, 1, Format::Rgb565};
const Case k16CopyAlpha{Content::Alpha, 0, 0, 1, 1, Format::Rgb565};
const Case kPalette32CopyKeyed{Content::Keyed, 0, 0, 1, 1, Format::Palette32};
const Case kPalette32Translucent100{Content::Keyed, 1, 100, 1, 1, Format::Palette32};
const Case kPalette16Copy{Content::Opaque, 0, 0, 0, 1, Format::Palette16};
const Case kPalette16CopyKeyed{Content::Keyed, 0, 0, 1, 1, Format::Palette16};

BENCHMARK_CAPTURE(BM_Movan, rgb565_copy_keyed_sse2, k16CopyKeyed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_copy_keyed_avx2, k16CopyKeyed, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_translucent_100_sse2, k16Translucent100, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_translucent_100_avx2, k16Translucent100, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_halve_sse2, k16Halve, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_halve_avx2, k16Halve, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_additive_128_sse2, k16Additive128, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_additive_128_avx2, k16Additive128, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_additive_255_pairs_sse2, k16Additive255, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_additive_255_pairs_avx2, k16Additive255, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_copy_alpha_sse2, k16CopyAlpha, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, rgb565_copy_alpha_avx2, k16CopyAlpha, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_32_copy_keyed_sse2, kPalette32CopyKeyed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_32_copy_keyed_avx2, kPalette32CopyKeyed, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_32_translucent_100_keyed_sse2, kPalette32Translucent100, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_32_translucent_100_keyed_avx2, kPalette32Translucent100, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_16_copy_sse2, kPalette16Copy, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_16_copy_avx2, kPalette16Copy, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_16_copy_keyed_sse2, kPalette16CopyKeyed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, palette_to_16_copy_keyed_avx2, kPalette16CopyKeyed, SoftDrawIsa::Avx2);

void BM_Memcpy(benchmark::State& state, Format format) {
  Images images(Content::Opaque, format);
  const size_t bytes = static_cast<size_t>(kWidth) * kHeight * (format == Format::Xrgb ? 4 : 2);
  const PixelClock pixelClock;
  for (auto _ : state) {
    std::memcpy(images.destination.pixels, images.source.pixels, bytes);
    benchmark::ClobberMemory();
  }
  pixelClock.Report(state);
}
BENCHMARK_CAPTURE(BM_Memcpy, xrgb8888, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Memcpy, rgb565, Format::Rgb565);

// pixman over the same buffers.
struct PixmanImages {
  Images images;
  pixman_image_t* destination;
  pixman_image_t* source;
  pixman_image_t* mask = nullptr;

  PixmanImages(Content content, int maskAlpha, Format format) : images(content, format) {
    const bool wide = format == Format::Xrgb;
    const pixman_format_code_t opaque = wide ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5;
    destination =
        pixman_image_create_bits(opaque, kWidth, kHeight, reinterpret_cast<uint32_t*>(images.destination.pixels),
                                 images.destination.store->pitch);
    source = pixman_image_create_bits(content == Content::Alpha ? PIXMAN_a8r8g8b8 : opaque, kWidth, kHeight,
                                      reinterpret_cast<uint32_t*>(images.source.pixels), images.source.store->pitch);
    if (maskAlpha >= 0) {
      const pixman_color_t colour{0, 0, 0, static_cast<uint16_t>(maskAlpha * 257)};
      mask = pixman_image_create_solid_fill(&colour);
    }
  }
  ~PixmanImages() {
    if (mask) pixman_image_unref(mask);
    pixman_image_unref(source);
    pixman_image_unref(destination);
  }
};

void BM_Pixman(benchmark::State& state, pixman_op_t op, Content content, int maskAlpha, Format format) {
  PixmanImages p(content, maskAlpha, format);
  const PixelClock pixelClock;
  for (auto _ : state) {
    pixman_image_composite32(op, p.source, p.mask, p.destination, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixelClock.Report(state);
}
BENCHMARK_CAPTURE(BM_Pixman, over_argb, PIXMAN_OP_OVER, Content::Alpha, -1, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Pixman, over_solid_mask_100, PIXMAN_OP_OVER, Content::Opaque, 100, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Pixman, add_solid_mask_128, PIXMAN_OP_ADD, Content::Opaque, 128, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Pixman, add, PIXMAN_OP_ADD, Content::Opaque, -1, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Pixman, rgb565_over_solid_mask_100, PIXMAN_OP_OVER, Content::Opaque, 100, Format::Rgb565);
BENCHMARK_CAPTURE(BM_Pixman, rgb565_add_solid_mask_128, PIXMAN_OP_ADD, Content::Opaque, 128, Format::Rgb565);
BENCHMARK_CAPTURE(BM_Pixman, rgb565_add, PIXMAN_OP_ADD, Content::Opaque, -1, Format::Rgb565);

// SDL2's blitters over the same buffers.
enum class SdlBlit { ColourKey, AlphaBlend, AlphaModulated, Additive };

SDL_Surface* SdlSurfaceOf(const MemImg& image, Format format, bool alpha) {
  const MemImgStore* store = image.store;
  if (IsPalette(format) && store->paletteFlag) {
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormatFrom(image.pixels, kWidth, kHeight, 8, store->pitch, SDL_PIXELFORMAT_INDEX8);
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
      uint32_t e = 0;
      if (format == Format::Palette32) {
        std::memcpy(&e, store->palette + 4 * i, 4);
      } else {
        uint16_t w;
        std::memcpy(&w, store->palette + 2 * i, 2);
        e = (w & 0xF800u) << 8 | (w & 0x07E0u) << 5 | (w & 0x001Fu) << 3;
      }
      colours[i] = SDL_Color{static_cast<uint8_t>(e >> 16), static_cast<uint8_t>(e >> 8), static_cast<uint8_t>(e), 255};
    }
    SDL_SetPaletteColors(s->format->palette, colours, 0, 256);
    return s;
  }
  if (PixelTypeOf(format) == MemImgRgb565)
    return SDL_CreateRGBSurfaceWithFormatFrom(image.pixels, kWidth, kHeight, 16, store->pitch, SDL_PIXELFORMAT_RGB565);
  return SDL_CreateRGBSurfaceWithFormatFrom(image.pixels, kWidth, kHeight, 32, store->pitch,
                                            alpha ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_XRGB8888);
}

void BM_Sdl(benchmark::State& state, SdlBlit blit, Format format) {
  const Content content = blit == SdlBlit::ColourKey    ? Content::Keyed
                          : blit == SdlBlit::AlphaBlend ? Content::Alpha
                                                        : Content::Opaque;
  Images images(content, format);
  SDL_Surface* destination = SdlSurfaceOf(images.destination, format, false);
  SDL_Surface* source = SdlSurfaceOf(images.source, format, content == Content::Alpha);
  const uint32_t key = IsPalette(format) ? kKeyIndex : format == Format::Rgb565 ? kKey16 : kKey;
  switch (blit) {
    case SdlBlit::ColourKey:
      SDL_SetColorKey(source, SDL_TRUE, key);
      SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
      break;
    case SdlBlit::AlphaBlend:
      SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
      break;
    case SdlBlit::AlphaModulated:
      SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_BLEND);
      SDL_SetSurfaceAlphaMod(source, 100);
      break;
    case SdlBlit::Additive:
      SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_ADD);
      SDL_SetSurfaceAlphaMod(source, 128);
      break;
  }
  const PixelClock pixelClock;
  for (auto _ : state) {
    SDL_BlitSurface(source, nullptr, destination, nullptr);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(source);
  SDL_FreeSurface(destination);
  pixelClock.Report(state);
}
BENCHMARK_CAPTURE(BM_Sdl, colour_key, SdlBlit::ColourKey, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Sdl, alpha_blend, SdlBlit::AlphaBlend, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Sdl, alpha_modulated_100, SdlBlit::AlphaModulated, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Sdl, additive_128, SdlBlit::Additive, Format::Xrgb);
BENCHMARK_CAPTURE(BM_Sdl, rgb565_colour_key, SdlBlit::ColourKey, Format::Rgb565);
BENCHMARK_CAPTURE(BM_Sdl, rgb565_alpha_modulated_100, SdlBlit::AlphaModulated, Format::Rgb565);
BENCHMARK_CAPTURE(BM_Sdl, palette_to_32_colour_key, SdlBlit::ColourKey, Format::Palette32);
BENCHMARK_CAPTURE(BM_Sdl, palette_to_16_colour_key, SdlBlit::ColourKey, Format::Palette16);

}  // namespace
