#pragma once
// Faces and glyphs without FreeType: while it lives, the layer's fonts get
// exact, made-up glyphs from here. Every face has the requested height as
// its text height, an ascent of three quarters of it and a widest character
// as wide as the height (all can be set). Unless a glyph is set for a code,
// the code's glyph is a box of the pattern that DefaultGlyph describes.

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/host/fonts/GlyphSource.h"

class FakeGlyphSource {
 public:
  FakeGlyphSource();
  ~FakeGlyphSource();
  FakeGlyphSource(const FakeGlyphSource&) = delete;
  FakeGlyphSource& operator=(const FakeGlyphSource&) = delete;

  // Levels 0..16, row-major; mono glyphs are set where the level is 8 or more.
  struct Glyph {
    int originX = 0;
    int originY = 0;
    int advance = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> levels;
    int LevelAt(int x, int y) const { return levels[static_cast<size_t>(y) * width + x]; }
  };
  // The glyph of a code in a face of this height, when none was set: width
  // height / 2 - 1 for a single byte, height - 2 for two bytes (advance one
  // more), height - 4 rows standing on the baseline with their top at
  // ascent - 1, origin x 1, levels (x + 2y + code) mod 17.
  Glyph DefaultGlyph(uint32_t code, int height) const;
  void SetGlyph(uint32_t code, const Glyph& glyph);
  // The glyph the source gives for a code: the one set, else the default.
  Glyph GlyphFor(uint32_t code, int height) const;
  // The source reports failure for these codes.
  void FailGlyph(uint32_t code);

  // -1 puts the rule back.
  void SetMaxCharWidth(int width);
  void SetAscent(int ascent);
  // Opening a face with this name (CP932; "" for no name) fails.
  void FailFace(const std::string& name);

  struct Family {
    std::string name;
    bool outline;
    bool japanese;
  };
  void SetFamilies(const std::vector<Family>& families);

  // What the layer asked for.
  const std::vector<HostFaceRequest>& Opens() const;  // face names copied into OpenNames
  const std::vector<std::string>& OpenNames() const;
  int OpenFaces() const;  // opened and not closed
  const std::vector<uint32_t>& Rendered() const;
  void ClearRendered();
  const std::vector<std::string>& PrivateFonts() const;
};
