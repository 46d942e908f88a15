#pragma once
// Where the layer's fonts get their faces and glyphs from: FreeType faces
// found through fontconfig, or a fake that tests fill. The layer asks for a
// face the way a program asks the system for a font (a CP932 face name,
// height in pixels, weight, italic) and then for one glyph at a time, as a
// 1-bit or a 17-level grey bitmap with its placement.

#include <cstdint>

struct HostFaceRequest {
  const char* faceName;  // CP932; the system's default face names are aliases
  int charset;           // 0 default, 1 Shift-JIS, 2 Korean (code page 949)
  int height;            // cell height in pixels
  int weight;            // 1..1000, 400 regular, 700 bold
  int italic;            // non-zero: slanted
};

struct HostFaceMetrics {
  int height;          // text height: ascent + descent
  int ascent;          // cell top to baseline
  int maxCharWidth;    // the widest advance of the face
};

enum HostGlyphFormat { HostGlyphMono = 0, HostGlyphGrey = 1 };

// A rendered glyph. A mono bitmap holds one bit per pixel, the most
// significant first; a grey one a byte per pixel, levels 0..16. `bits` stays
// valid until the next call of the source.
struct HostGlyph {
  int originX;     // black box left, from the pen position
  int originY;     // black box top, above the baseline
  int boxWidth;    // 0 x 0 for a glyph without ink
  int boxHeight;
  int advance;     // pen movement in whole pixels
  int pitch;       // bytes per bitmap row
  const uint8_t* bits;
};

// An installed font family, as listings report it.
struct HostFontFamily {
  const char* name;  // CP932
  int outline;       // scalable outline font (the "TrueType" of listings)
  int japanese;      // covers the Japanese script
};
using HostFamilyVisitor = bool (*)(const HostFontFamily& family, void* context);  // false stops

struct HostGlyphSource {
  // A face id (0 or above) with its metrics, or -1 when no face can be had.
  int (*openFace)(const HostFaceRequest& request, HostFaceMetrics* metrics);
  void (*closeFace)(int face);
  // code: a single byte, or lead byte x 256 + second byte. A code the face
  // does not map gives its missing glyph's advance and an empty box; false
  // only when the face cannot render at all (glyph untouched).
  bool (*renderGlyph)(int face, uint32_t code, HostGlyphFormat format, HostGlyph* glyph);
  // Every installed family, alias names of the system's default faces
  // included, each name once.
  void (*listFamilies)(HostFamilyVisitor visit, void* context);
  // Font files installed for this run only (host paths). 1 added/removed, 0 not.
  int (*addPrivateFont)(const char* hostPath);
  int (*removePrivateFont)(const char* hostPath);
};

const HostGlyphSource* HostCurrentGlyphSource();
// Test seam: null puts FreeType back.
void HostSetGlyphSource(const HostGlyphSource* source);
