#pragma once
// The glyph source over FreeType, with faces found through fontconfig.
//
// Faces: the request's name (CP932) goes to fontconfig as a family in UTF-8,
// with the weight, the slant and the language of the charset; the system's
// default face names are first replaced by our aliases to Debian's IPA
// faces. A face without the asked weight or slant is emboldened or slanted
// here. Opened faces are cached and shared.
//
// Metrics follow the classic rule: the requested height is the cell height;
// the em is height x units per em / (win ascent + win descent) of the OS/2
// table (hhea ascender - descender without one); the widest advance is the
// face's maximum advance at that em.

#include <string>

#include "runtime/host/fonts/GlyphSource.h"

const HostGlyphSource* FreeTypeGlyphSource();

// The file behind an open face ("" for an unknown id): what the lookup chose.
std::string FreeTypeFaceFile(int face);
