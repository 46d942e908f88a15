#pragma once
// Writing the clipped part of a cached glyph into a memory image: the loops
// per cache depth and target pixel size. Only pixels with a non-zero cache
// value are written.

#include <cstdint>

// How the target's pixels are written.
enum GlyphTarget {
  GlyphTarget8,         // one byte: palette index
  GlyphTarget16,        // R5G6B5
  GlyphTarget16Alpha,   // R5G6B5 word, alpha byte, unused byte
  GlyphTarget32,        // X8R8G8B8 / A8R8G8B8
};

struct GlyphBlit {
  const uint8_t* source;  // the cell's first drawn row
  int sourcePitch;
  int sourceX;            // first drawn column of the cell
  uint8_t* destination;   // the target pixel of that cell pixel
  int destinationPitch;
  int width;
  int height;
  int spareRight;  // pixels of the target that may be rewritten unchanged right of the width (0..8)
};

// The 256 output pixels of the byte values of an 8-bit cache (0: none), for
// a font type, target and the colours of the call.
struct GlyphPalette {
  uint32_t pixel[256];
  bool withAlpha;  // whole pixels with alpha; else only the colour bits are written
};
void MakeGlyphPalette(GlyphPalette* palette, int fontType, GlyphTarget target, uint32_t colour, uint32_t edgeColour);

// A 1-bit cache (type 0): every set bit becomes the colour.
void BlitMonoGlyph(const GlyphBlit& blit, GlyphTarget target, uint32_t colour);
// An 8-bit cache (types 1 to 3) through its palette.
void BlitByteGlyph(const GlyphBlit& blit, GlyphTarget target, const GlyphPalette& palette);
