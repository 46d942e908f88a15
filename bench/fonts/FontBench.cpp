// The layer's fonts over FreeType and the IPA faces: a glyph found in the
// cache, a glyph rendered into the cache (16 px mono; 24 px grey with an
// edge), cached glyphs drawn into a 32-bit image, and a grey, edged line
// drawn through the font's text image onto a running layer's back screen;
// beside FreeType loading and rendering the same glyphs, and pixman
// compositing the same grey masks (straight, and through an image of their
// own for the text-image line).

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <pixman.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchLayer.h"
#include "runtime/Movan.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/GlyphCache.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/host/system/TextConversion.h"
#include "bench/fonts/PixmanGlyphMasks.h"

namespace {

// 40 characters of ordinary game text.
const char* const kLine = "勇者は古い城の門をくぐり、暗い廊下を進んだ。そこには誰もいない";

// Two-byte codes of the first kanji rows, in index form (lead + 256 x trail).
std::vector<uint16_t> KanjiCodes() {
  std::vector<uint16_t> codes;
  for (int lead = 0x88; lead <= 0x98 && codes.size() < 3000; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F || (lead == 0x88 && trail < 0x9F)) continue;
      codes.push_back(static_cast<uint16_t>(lead | trail << 8));
    }
  }
  return codes;
}

int CharacterCount(const char* text) {
  int n = 0;
  for (const char* p = text; *p; p += ShiftJisCharLength(p)) ++n;
  return n;
}

struct Screen {
  Screen() {
    SetScreenMode(640, 480, 32, -1);
    gDrawState.brightness = 0xFFFFFF;
  }
};

void BM_CacheHit(benchmark::State& state) {
  Screen screen;
  const int font = CreateFontToHandle(nullptr, 16, 6, 0, 1, 1, 0, -1, -1);
  GetTextWidthWithFont(kLine, -1, font, 0);
  for (auto _ : state) benchmark::DoNotOptimize(GetTextWidthWithFont(kLine, -1, font, 0));
  state.SetItemsProcessed(state.iterations() * CharacterCount(kLine));
  DeleteFontHandle(font);
}
BENCHMARK(BM_CacheHit);

// Every iteration renders a glyph that is not in the cache.
void BM_CacheMiss(benchmark::State& state) {
  Screen screen;
  const int size = static_cast<int>(state.range(0));
  const int type = static_cast<int>(state.range(1));
  const int font = CreateFontToHandle(nullptr, size, 6, type, 1, 1, 0, -1, -1);
  const std::vector<uint16_t> codes = KanjiCodes();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RenderGlyph(font, 1, &codes[i]));
    if (++i == codes.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(type == 0 ? "mono" : "grey, edge");
  DeleteFontHandle(font);
}
BENCHMARK(BM_CacheMiss)->Args({16, 0})->Args({24, 3});

// The peer: FreeType loading and rendering the same glyphs of the same face.
void BM_FreeTypeRender(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const bool grey = state.range(1) != 0;
  FT_Library library;
  FT_Init_FreeType(&library);
  FT_Face face;
  if (FT_New_Face(library, "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", 0, &face) != 0) {
    state.SkipWithError("no IPA Gothic");
    return;
  }
  FT_Set_Char_Size(face, 0, (size * 64 * 2048 + 1101) / 2203, 72, 72);
  std::vector<FT_UInt> indices;
  for (uint16_t code : KanjiCodes()) {
    const char bytes[2] = {static_cast<char>(code & 0xFF), static_cast<char>(code >> 8)};
    const std::string utf8 = Cp932ToUtf8(std::string_view(bytes, 2));
    const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.size() == 3) indices.push_back(FT_Get_Char_Index(face, (u[0] & 0x0F) << 12 | (u[1] & 0x3F) << 6 | (u[2] & 0x3F)));
  }
  size_t i = 0;
  const FT_Int32 flags = FT_LOAD_NO_BITMAP | (grey ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
  for (auto _ : state) {
    FT_Load_Glyph(face, indices[i], flags);
    FT_Render_Glyph(face->glyph, grey ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO);
    benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    if (++i == indices.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(grey ? "FreeType grey" : "FreeType mono");
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(BM_FreeTypeRender)->Args({16, 0})->Args({24, 1});

// Cached glyphs of a 40-character line drawn into a 32-bit image.
void BM_CachedDraw32(benchmark::State& state) {
  Screen screen;
  const int type = static_cast<int>(state.range(0));
  const int font = CreateFontToHandle(nullptr, 16, 6, type, 1, 1, 0, -1, -1);
  MemImg image{};
  CreateMemImg(&image, 640, 32, -1, 0, MemImgXrgb8888, 0, type != 0, nullptr);
  FillMemImg(&image, nullptr, 0);
  RenderString(1, 0, 4, 0, 1.0, 1.0, kLine, 0xFFFFFF, 0x000080, &image, nullptr, 1, font, -1, 0, nullptr);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        RenderString(1, 0, 4, 0, 1.0, 1.0, kLine, 0xFFFFFF, 0x000080, &image, nullptr, 1, font, -1, 0, nullptr));
  }
  state.SetItemsProcessed(state.iterations() * CharacterCount(kLine));
  state.SetLabel(type == 0 ? "mono" : type == 2 ? "grey" : "grey, edge");
  ReleaseMemImg(&image);
  DeleteFontHandle(font);
}
BENCHMARK(BM_CachedDraw32)->Arg(0)->Arg(2)->Arg(3);

// The peer: pixman compositing the same line's grey masks over a 32-bit image.
void BM_PixmanGlyphs(benchmark::State& state) {
  Screen screen;
  const int font = CreateFontToHandle(nullptr, 16, 6, 2, 1, 1, 0, -1, -1);
  GetTextWidthWithFont(kLine, -1, font, 0);
  PixmanGlyphMasks masks;
  masks.AddLine(*GetFontEntry(font), kLine, 0, 4);
  std::vector<uint32_t> pixels(640 * 32, 0);
  pixman_image_t* destination = pixman_image_create_bits(PIXMAN_a8r8g8b8, 640, 32, pixels.data(), 640 * 4);
  for (auto _ : state) {
    masks.Composite(destination);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * masks.Count());
  state.SetLabel("pixman OVER a8 masks");
  pixman_image_unref(destination);
  DeleteFontHandle(font);
}
BENCHMARK(BM_PixmanGlyphs);

// A running layer on SDL's dummy driver, drawing into its back screen; made
// by the first benchmark that needs it, after the others ran without it.
bool LayerStarted() {
  static const bool started = [] {
    char folder[] = "/tmp/movan-font-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return false;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (!StartBenchLayer("FontBench")) return false;
    return true;
  }();
  return started;
}

// A 40-character line of a 16 px grey font with an edge: rendered into the
// font's text image, which is then drawn onto the back screen.
void BM_TextImageLine(benchmark::State& state) {
  if (!LayerStarted()) return state.SkipWithError("no layer");
  const int font = CreateFontToHandle(nullptr, 16, 6, 3, 1, 1, 0, -1, -1);
  const uint32_t white = PackColor(255, 255, 255);
  const uint32_t edge = PackColor(0, 0, 128);
  DrawTextLineWithFont(0, 100, kLine, white, font, edge, 0);
  for (auto _ : state) benchmark::DoNotOptimize(DrawTextLineWithFont(0, 100, kLine, white, font, edge, 0));
  state.SetItemsProcessed(state.iterations() * CharacterCount(kLine));
  state.SetLabel("grey, edge, text image");
  DeleteFontHandle(font);
}
BENCHMARK(BM_TextImageLine)->Unit(benchmark::kMicrosecond);

// The peer of the line above: pixman clears an image of the line's size,
// composites the same grey masks into it in the text colour, and composites
// that image over a 32-bit screen.
void BM_PixmanTextImageLine(benchmark::State& state) {
  if (!LayerStarted()) return state.SkipWithError("no layer");
  const int font = CreateFontToHandle(nullptr, 16, 6, 3, 1, 1, 0, -1, -1);
  int size[2] = {0, 0};
  RenderString(0, 0, 0, 0, 1.0, 1.0, kLine, 0, 0, nullptr, nullptr, 1, font, -1, 0, size);
  PixmanGlyphMasks masks;
  masks.AddLine(*GetFontEntry(font), kLine, 0, 0);
  std::vector<uint32_t> line(static_cast<size_t>(size[0]) * size[1], 0);
  pixman_image_t* text = pixman_image_create_bits(PIXMAN_a8r8g8b8, size[0], size[1], line.data(), size[0] * 4);
  std::vector<uint32_t> screen(640 * 480, 0);
  pixman_image_t* destination = pixman_image_create_bits(PIXMAN_x8r8g8b8, 640, 480, screen.data(), 640 * 4);
  const pixman_color_t clear = {0, 0, 0, 0};
  const pixman_box32_t all = {0, 0, size[0], size[1]};
  for (auto _ : state) {
    pixman_image_fill_boxes(PIXMAN_OP_SRC, text, &clear, 1, &all);
    masks.Composite(text);
    pixman_image_composite32(PIXMAN_OP_OVER, text, nullptr, destination, 0, 0, 0, 0, 0, 100, size[0], size[1]);
    benchmark::DoNotOptimize(screen.data());
  }
  state.SetItemsProcessed(state.iterations() * masks.Count());
  state.SetLabel("pixman: masks into an image, the image OVER the screen");
  pixman_image_unref(text);
  pixman_image_unref(destination);
  DeleteFontHandle(font);
}
BENCHMARK(BM_PixmanTextImageLine)->Unit(benchmark::kMicrosecond);

}  // namespace
