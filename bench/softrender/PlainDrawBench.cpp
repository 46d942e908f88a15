// ns per pixel of the plain draw at 640x480, 32 bits, beside memcpy of the
// same bytes, pixman and SDL2's blitters on the same buffers.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <time.h>

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

enum class Content { Opaque, Keyed, Alpha };

// A picture-like source: runs of colour, with key or alpha runs mixed in.
struct Images {
  MemImg destination{};
  MemImg source{};

  explicit Images(Content content) {
    CreateMemImg(&destination, kWidth, kHeight, -1, 0, MemImgXrgb8888, 0, 0, nullptr);
    CreateMemImg(&source, kWidth, kHeight, -1, kKey, MemImgXrgb8888, 0, content == Content::Alpha, nullptr);
    std::mt19937 rng(7);
    for (int y = 0; y < kHeight; ++y) {
      uint32_t* d = Row(destination, y);
      uint32_t* s = Row(source, y);
      int run = 0;
      uint32_t colour = 0;
      for (int x = 0; x < kWidth; ++x) {
        d[x] = rng() & 0x00FFFFFF;
        if (run-- <= 0) {
          run = 4 + static_cast<int>(rng() % 40);
          colour = rng() & 0x00FFFFFF;
          const int roll = static_cast<int>(rng() % 10);
          if (content == Content::Keyed && roll < 4) colour = kKey;
          // About 40% clear, 40% opaque, 20% partial.
          if (content == Content::Alpha) colour |= roll < 4 ? 0 : roll < 8 ? 0xFF000000 : (rng() % 254 + 1) << 24;
          if (content == Content::Opaque) colour |= 0xFF000000;
        }
        s[x] = colour;
      }
    }
  }
  ~Images() {
    ReleaseMemImg(&source);
    ReleaseMemImg(&destination);
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
};

void BM_Movan(benchmark::State& state, Case c, SoftDrawIsa isa) {
  if (isa == SoftDrawIsa::Avx2 && !ProcessorHasAvx2()) {
    state.SkipWithError("no AVX2");
    return;
  }
  BuildSoftBlendTables();
  SetSoftDrawIsa(isa);
  gPlatform.mmxUsable = c.mmx;
  Images images(c.content);
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
BENCHMARK_CAPTURE(BM_Movan, additive_255_packed_sse2, kAdditive255Packed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, additive_255_packed_avx2, kAdditive255Packed, SoftDrawIsa::Avx2);
BENCHMARK_CAPTURE(BM_Movan, subtractive_255_packed_sse2, kSubtractive255Packed, SoftDrawIsa::Sse2);
BENCHMARK_CAPTURE(BM_Movan, subtractive_255_packed_avx2, kSubtractive255Packed, SoftDrawIsa::Avx2);

void BM_Memcpy(benchmark::State& state) {
  Images images(Content::Opaque);
  const size_t bytes = static_cast<size_t>(kWidth) * kHeight * 4;
  const PixelClock pixelClock;
  for (auto _ : state) {
    std::memcpy(images.destination.pixels, images.source.pixels, bytes);
    benchmark::ClobberMemory();
  }
  pixelClock.Report(state);
}
BENCHMARK(BM_Memcpy);

// pixman over the same buffers.
struct PixmanImages {
  Images images;
  pixman_image_t* destination;
  pixman_image_t* source;
  pixman_image_t* mask = nullptr;

  PixmanImages(Content content, int maskAlpha) : images(content) {
    destination = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight,
                                           reinterpret_cast<uint32_t*>(images.destination.pixels),
                                           images.destination.store->pitch);
    source = pixman_image_create_bits(content == Content::Alpha ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, kWidth,
                                      kHeight, reinterpret_cast<uint32_t*>(images.source.pixels),
                                      images.source.store->pitch);
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

void BM_Pixman(benchmark::State& state, pixman_op_t op, Content content, int maskAlpha) {
  PixmanImages p(content, maskAlpha);
  const PixelClock pixelClock;
  for (auto _ : state) {
    pixman_image_composite32(op, p.source, p.mask, p.destination, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixelClock.Report(state);
}
BENCHMARK_CAPTURE(BM_Pixman, over_argb, PIXMAN_OP_OVER, Content::Alpha, -1);
BENCHMARK_CAPTURE(BM_Pixman, over_solid_mask_100, PIXMAN_OP_OVER, Content::Opaque, 100);
BENCHMARK_CAPTURE(BM_Pixman, add_solid_mask_128, PIXMAN_OP_ADD, Content::Opaque, 128);
BENCHMARK_CAPTURE(BM_Pixman, add, PIXMAN_OP_ADD, Content::Opaque, -1);

// SDL2's blitters over the same buffers.
enum class SdlBlit { ColourKey, AlphaBlend, AlphaModulated, Additive };

void BM_Sdl(benchmark::State& state, SdlBlit blit) {
  const Content content = blit == SdlBlit::ColourKey    ? Content::Keyed
                          : blit == SdlBlit::AlphaBlend ? Content::Alpha
                                                        : Content::Opaque;
  Images images(content);
  SDL_Surface* destination = SDL_CreateRGBSurfaceWithFormatFrom(
      images.destination.pixels, kWidth, kHeight, 32, images.destination.store->pitch, SDL_PIXELFORMAT_XRGB8888);
  SDL_Surface* source =
      SDL_CreateRGBSurfaceWithFormatFrom(images.source.pixels, kWidth, kHeight, 32, images.source.store->pitch,
                                         content == Content::Alpha ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_XRGB8888);
  switch (blit) {
    case SdlBlit::ColourKey:
      SDL_SetColorKey(source, SDL_TRUE, kKey);
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
BENCHMARK_CAPTURE(BM_Sdl, colour_key, SdlBlit::ColourKey);
BENCHMARK_CAPTURE(BM_Sdl, alpha_blend, SdlBlit::AlphaBlend);
BENCHMARK_CAPTURE(BM_Sdl, alpha_modulated_100, SdlBlit::AlphaModulated);
BENCHMARK_CAPTURE(BM_Sdl, additive_128, SdlBlit::Additive);

}  // namespace
