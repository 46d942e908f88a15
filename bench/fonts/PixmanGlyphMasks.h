#pragma once
// The peer side of the text benchmarks: the grey masks of a font's cached
// glyphs (levels 0..15 widened to 0..255) as pixman images, placed at the
// pen positions of lines of text, and composited in one colour.

#include <pixman.h>

#include <cstdint>
#include <vector>

#include "runtime/ShiftJis.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/GlyphCache.h"

class PixmanGlyphMasks {
 public:
  PixmanGlyphMasks() = default;
  PixmanGlyphMasks(const PixmanGlyphMasks&) = delete;
  PixmanGlyphMasks& operator=(const PixmanGlyphMasks&) = delete;
  ~PixmanGlyphMasks() {
    for (Mask& m : masks_) pixman_image_unref(m.image);
    if (solid_) pixman_image_unref(solid_);
  }

  // The glyphs of text (already in the font's cache) with the line's top
  // left at (x, y); characters without a cached glyph are passed over.
  void AddLine(const FontEntry& e, const char* text, int x, int y) {
    int pen = x;
    for (const char* p = text; *p; p += ShiftJisCharLength(p)) {
      const bool wide = ShiftJisCharLength(p) == 2;
      const uint16_t code = wide ? static_cast<uint16_t>(static_cast<uint8_t>(p[0]) | static_cast<uint8_t>(p[1]) << 8)
                                 : static_cast<uint8_t>(p[0]);
      if (e.glyphIndex[code] < 0) continue;
      const GlyphCell& cell = e.cells[e.glyphIndex[code]];
      const int stride = (cell.boxWidth + 3) / 4 * 4;
      storage_.emplace_back(static_cast<size_t>(stride) * static_cast<size_t>(cell.boxHeight > 0 ? cell.boxHeight : 1));
      for (int row = 0; row < cell.boxHeight; ++row) {
        for (int column = 0; column < cell.boxWidth; ++column) {
          storage_.back()[static_cast<size_t>(row * stride + column)] =
              static_cast<uint8_t>((CellPixels(e, cell)[row * e.cachePitch + column] & 15) * 17);
        }
      }
      masks_.push_back({pixman_image_create_bits(PIXMAN_a8, cell.boxWidth, cell.boxHeight,
                                                 reinterpret_cast<uint32_t*>(storage_.back().data()), stride),
                        pen + cell.originX, y + cell.yOffset, cell.boxWidth, cell.boxHeight});
      pen += cell.advance;
    }
  }

  // Every mask OVER the destination in white.
  void Composite(pixman_image_t* destination) {
    if (!solid_) {
      const pixman_color_t white = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
      solid_ = pixman_image_create_solid_fill(&white);
    }
    for (const Mask& m : masks_) {
      pixman_image_composite32(PIXMAN_OP_OVER, solid_, m.image, destination, 0, 0, 0, 0, m.x, m.y, m.w, m.h);
    }
  }

  int64_t Count() const { return static_cast<int64_t>(masks_.size()); }

 private:
  struct Mask {
    pixman_image_t* image;
    int x, y, w, h;
  };
  std::vector<Mask> masks_;
  std::vector<std::vector<uint8_t>> storage_;
  pixman_image_t* solid_ = nullptr;
};
