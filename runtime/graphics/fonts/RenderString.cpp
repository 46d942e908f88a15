#include "runtime/graphics/fonts/RenderString.h"

#include "runtime/Movan.h"

#include <algorithm>
#include <cstring>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/GlyphBlit.h"
#include "runtime/graphics/fonts/GlyphCache.h"
#include "runtime/graphics/fonts/TextColors.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/platform/base/NumberHelpers.h"

namespace {

bool IsSpaceCode(uint16_t code) { return code == 0x20 || code == (0x81 | 0x40 << 8); }

GlyphTarget TargetKind(const MemImgStore& store) {
  const int bytes = MemImgBytesPerPixel(&store);
  if (bytes == 1) return GlyphTarget8;
  if (bytes == 2) return GlyphTarget16;
  return store.pixelType == MemImgRgb565 ? GlyphTarget16Alpha : GlyphTarget32;
}

struct DrawContext {
  MemImg* target;
  GlyphTarget kind;
  int bytesPerPixel;
  int64_t clipLeft, clipTop, clipRight, clipBottom;
  uint32_t colour;
  GlyphPalette palette;
};

void DrawCell(const FontEntry& e, const GlyphCell& cell, int64_t left, int64_t top, const DrawContext& c) {
  const int64_t l = std::max(left, c.clipLeft);
  const int64_t t = std::max(top, c.clipTop);
  const int64_t r = std::min(left + cell.boxWidth, c.clipRight);
  const int64_t b = std::min(top + cell.boxHeight, c.clipBottom);
  if (l >= r || t >= b) return;
  const int pitch = c.target->store->pitch;
  GlyphBlit blit;
  blit.source = CellPixels(e, cell) + (t - top) * e.cachePitch;
  blit.sourcePitch = e.cachePitch;
  blit.sourceX = static_cast<int>(l - left);
  blit.destination = c.target->pixels + t * pitch + l * c.bytesPerPixel;
  blit.destinationPitch = pitch;
  blit.width = static_cast<int>(r - l);
  blit.height = static_cast<int>(b - t);
  blit.spareRight = static_cast<int>(std::min<int64_t>(c.clipRight - r, 8));
  if (e.cacheDepth == 1) {
    BlitMonoGlyph(blit, c.kind, c.colour);
  } else {
    BlitByteGlyph(blit, c.kind, c.palette);
  }
}

// Keeps the pen inside what a 64-bit integer holds whatever the spacing.
constexpr double kPenLimit = 4.0e18;

// A packed colour scaled by the brightness, as the 3D path's vertex colour.
uint32_t DeviceColour(uint32_t packed) {
  int r = 0;
  int g = 0;
  int b = 0;
  UnpackColor(packed, &r, &g, &b);
  const uint32_t brightness = gDrawState.brightness;
  r = r * static_cast<int>((brightness >> 16) & 0xFF) / 255;
  g = g * static_cast<int>((brightness >> 8) & 0xFF) / 255;
  b = b * static_cast<int>(brightness & 0xFF) / 255;
  return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

// Glyphs of a texture cache, drawn as parts of the cache texture tinted by
// the brightness (the texture is white): the edge layer first, then the
// glyph. The blend graphic is off and the brightness kept meanwhile.
struct TextureText {
  const FontEntry& e;
  int x, y;
  bool scaled;
  double scaleX, scaleY;
  uint32_t colour, edgeColour;
};

void DrawTextureCell(const TextureText& t, const GlyphCell& cell, double pen) {
  const FontEntry& e = t.e;
  const int cellX = cell.cellNumber / e.cellsPerColumn * e.cellSize;
  const int cellY = cell.cellNumber % e.cellsPerColumn * e.cellSize;
  int64_t x1;
  int64_t y1;
  if (t.scaled) {
    x1 = int64_t{t.x} + static_cast<int64_t>(pen + t.scaleX * cell.originX);
    y1 = int64_t{t.y} + static_cast<int64_t>(t.scaleY * cell.yOffset);
  } else {
    x1 = int64_t{t.x} + static_cast<int64_t>(pen) + cell.originX;
    y1 = int64_t{t.y} + cell.yOffset;
  }
  const int left = ClampToInt(x1);
  const int top = ClampToInt(y1);
  const int right = ClampToInt(x1 + static_cast<int64_t>(t.scaleX * cell.boxWidth));
  const int bottom = ClampToInt(y1 + static_cast<int64_t>(t.scaleY * cell.boxHeight));
  auto draw = [&](int graphic) {
    if (t.scaled) {
      DrawGraphicPartStretched(left, top, right, bottom, cellX, cellY, cell.boxWidth, cell.boxHeight, graphic, 1);
    } else {
      DrawGraphicPart(left, top, cellX, cellY, cell.boxWidth, cell.boxHeight, graphic, 1, 0);
    }
  };
  if (e.type & kFontEdged) {
    SetDrawBrightnessPacked(t.edgeColour & 0xFFFFFF);
    draw(e.edgeLayer);
  }
  SetDrawBrightnessPacked(t.colour & 0xFFFFFF);
  draw(e.cacheTexture);
}

int DrawTexture(const TextureText& t, const char* text, size_t length, int font) {
  static uint16_t characters[kGlyphBatch];
  FontEntry* e = LiveFontEntry(font);
  double pen = 0.0;
  size_t offset = 0;
  while (offset < length && e) {
    int count = 0;
    const int walked = LookupGlyphs(characters, text + offset, font, static_cast<int>(length - offset), &count);
    if (walked <= 0) break;
    offset += static_cast<size_t>(walked);
    for (int i = 0; i < count; ++i) {
      const GlyphCell* cell = GlyphCellOf(e, characters[i]);
      if (!IsSpaceCode(characters[i]) && cell->boxWidth > 0 && cell->boxHeight > 0) DrawTextureCell(t, *cell, pen);
      pen = std::clamp(pen + (cell->advance + static_cast<double>(e->spacing)) * t.scaleX, -kPenLimit, kPenLimit);
    }
  }
  return DoubleToInt(pen);
}

}  // namespace

int RenderString(int mode, int x, int y, int scaled, double scaleX, double scaleY, const char* text, uint32_t colour,
                 uint32_t edgeColour, MemImg* target, const IntRect* clip, int transparent, int font, int byteCount,
                 int vertical, int* outSize) {
  if (gScreen.resetting) return -1;
  FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  const bool draw = mode == kRenderStringDraw;
  const bool texture = e->textureCache != 0;
  if (draw && !texture && (!target || !IsMemImgValid(target))) return -1;
  // Scaling belongs to texture caches; memory caches draw at 1:1.
  if (!texture || !scaled) {
    scaled = 0;
    scaleX = 1.0;
    scaleY = 1.0;
  }
  const double f = scaleX;
  if (!text || text[0] == '\0') return 0;
  size_t length = std::strlen(text);
  if (byteCount != -1) length = std::min(length, static_cast<size_t>(std::max(byteCount, 0)));
  length = std::min<size_t>(length, 0x7FFFFFFF);
  if (length == 0) return 0;

  DrawContext c{};
  if (draw && texture) {
    const uint32_t brightness = gDrawState.brightness;
    const DrawState& s = gDrawState;
    const int blendGraphic = s.blendGraphic;
    const int border = s.blendGraphicBorder;
    const int range = s.blendGraphicRange;
    SetBlendGraphic(-1, border, range);
    const TextureText t = {*e, x, y, scaled != 0, scaleX, scaleY, DeviceColour(colour), DeviceColour(edgeColour)};
    const int width = DrawTexture(t, text, length, font);
    SetDrawBrightnessPacked(brightness);
    SetBlendGraphic(blendGraphic, border, range);
    return width;
  }
  if (draw) {
    c.target = target;
    c.kind = TargetKind(*target->store);
    c.bytesPerPixel = MemImgBytesPerPixel(target->store);
    IntRect bounds = {0, 0, target->width, target->height};
    if (clip) {
      bounds.left = std::max(bounds.left, clip->left);
      bounds.top = std::max(bounds.top, clip->top);
      bounds.right = std::min(bounds.right, clip->right);
      bounds.bottom = std::min(bounds.bottom, clip->bottom);
    }
    c.clipLeft = bounds.left;
    c.clipTop = bounds.top;
    c.clipRight = bounds.right;
    c.clipBottom = bounds.bottom;
    c.colour = BrightnessScaledColor(colour, gDrawState.brightness);
    const uint32_t edge = BrightnessScaledColor(edgeColour, gDrawState.brightness);
    if (e->cacheDepth == 8) {
      // Text is drawn a character at a time in one colour: the palette of the
      // last draw is kept for the next.
      static GlyphPalette lastPalette;
      static int lastType = -1;
      static GlyphTarget lastKind;
      static uint32_t lastColour, lastEdge;
      if (lastType != e->type || lastKind != c.kind || lastColour != c.colour || lastEdge != edge) {
        MakeGlyphPalette(&lastPalette, e->type, c.kind, c.colour, edge);
        lastType = e->type;
        lastKind = c.kind;
        lastColour = c.colour;
        lastEdge = edge;
      }
      c.palette = lastPalette;
    }
  }

  // The character list holds one batch; longer strings go batch by batch.
  static uint16_t characters[kGlyphBatch];
  double pen = 0.0;
  size_t offset = 0;
  while (offset < length) {
    int count = 0;
    const int walked = LookupGlyphs(characters, text + offset, font, static_cast<int>(length - offset), &count);
    if (walked <= 0) break;
    offset += static_cast<size_t>(walked);
    for (int i = 0; i < count; ++i) {
      const GlyphCell* cell = GlyphCellOf(e, characters[i]);
      if (draw && !IsSpaceCode(characters[i]) && cell->boxWidth > 0 && cell->boxHeight > 0) {
        const int64_t left = int64_t{x} + static_cast<int64_t>(pen) + cell->originX;
        DrawCell(*e, *cell, left, int64_t{y} + cell->yOffset, c);
      }
      pen = std::clamp(pen + (cell->advance + static_cast<double>(e->spacing)) * f, -kPenLimit, kPenLimit);
    }
  }
  const int width = DoubleToInt(pen);
  if (!draw && outSize) {
    outSize[0] = width;
    outSize[1] = e->cellHeight;
  }
  return width;
}

uint32_t TextImageKey(uint32_t colorKey, uint32_t colour, uint32_t edgeColour, int depth) {
  const uint32_t mask = LowBitMask(depth);
  uint32_t key = colorKey & mask;
  // At most two values are taken, so three tries always find a free one.
  for (int i = 0; i < 3 && (key == (colour & mask) || key == (edgeColour & mask)); ++i) key = (key + 1) & mask;
  return key;
}
