#include "runtime/host/fonts/FreeTypeGlyphSource.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "runtime/host/system/TextConversion.h"
#include "runtime/host/fonts/CodePageTable.h"

namespace {

// The system's default faces and where they are found on Debian.
struct FaceAlias {
  const char* name;  // CP932
  const char* family;
};
constexpr FaceAlias kAliases[] = {
    {"ＭＳ ゴシック", "IPAGothic"}, {"MS Gothic", "IPAGothic"},  {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGothic", "IPAPGothic"},  {"ＭＳ 明朝", "IPAMincho"},  {"MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"}, {"MS PMincho", "IPAPMincho"},
};

// Largest cell height a face is opened at; beyond it no glyph cache fits.
constexpr int kMaxHeight = 4096;
// Faces no font uses any more are kept for re-creation, up to this many.
constexpr size_t kIdleFacesKept = 8;
// About 12 degrees, the usual synthetic slant.
constexpr FT_Fixed kObliqueShear = 0x0366A;

struct LoadedFace {
  FT_Face face = nullptr;
  std::string file;
  int index = 0;
  FT_F26Dot6 em = 0;
  bool bold = false;
  bool oblique = false;
  bool shiftJisMap = false;
  const uint32_t* unicode = nullptr;
  HostFaceMetrics metrics{};
  int missingAdvance = 0;
  int users = 0;
  uint64_t lastUse = 0;
};

struct Resolved {
  std::string file;
  int index = 0;
};

// What a face file is by itself, before any synthetic styling.
struct OwnStyle {
  int weight = 400;  // OpenType weight class
  bool italic = false;
};

struct SourceState {
  FT_Library library = nullptr;
  bool fontconfigReady = false;
  std::vector<std::unique_ptr<LoadedFace>> faces;  // id = index; null when free
  std::map<std::string, Resolved> lookups;         // request key -> face file
  std::map<std::string, OwnStyle> styles;          // file and index -> its own style
  std::vector<std::string> privateFonts;
  uint64_t useClock = 0;
  std::vector<uint8_t> bitmap;
};

SourceState& State() {
  static SourceState state;
  return state;
}

bool Ready() {
  SourceState& s = State();
  if (!s.fontconfigReady) s.fontconfigReady = FcInit() == FcTrue;
  if (!s.library && FT_Init_FreeType(&s.library) != 0) s.library = nullptr;
  return s.fontconfigReady && s.library;
}

const char* AliasFamily(const char* name) {
  for (const FaceAlias& a : kAliases) {
    const bool ascii = static_cast<uint8_t>(a.name[0]) < 0x80;
    if (ascii ? strcasecmp(name, a.name) == 0 : strcmp(name, a.name) == 0) return a.family;
  }
  return nullptr;
}

bool Resolve(const HostFaceRequest& request, int weight, Resolved* out) {
  SourceState& s = State();
  const char* name = request.faceName ? request.faceName : "";
  const std::string key = std::string(name) + '\n' + std::to_string(request.charset) + '\n' +
                          std::to_string(weight) + '\n' + std::to_string(request.italic != 0);
  auto found = s.lookups.find(key);
  if (found != s.lookups.end()) {
    *out = found->second;
    return true;
  }
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  const char* alias = AliasFamily(name);
  const std::string family = alias ? alias : Cp932ToUtf8(name);
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(request.charset == 2 ? "ko" : "ja"));
  FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* file = nullptr;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
  if (ok) {
    out->file = reinterpret_cast<const char*>(file);
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    out->index = index;
    s.lookups[key] = *out;
  }
  FcPatternDestroy(match);
  return ok;
}

// Read from the file itself: fontconfig's match already carries the
// synthetic styling it would apply.
OwnStyle StyleOf(const Resolved& where) {
  SourceState& s = State();
  const std::string key = where.file + '\n' + std::to_string(where.index);
  auto found = s.styles.find(key);
  if (found != s.styles.end()) return found->second;
  OwnStyle style;
  FT_Face face = nullptr;
  if (FT_New_Face(s.library, where.file.c_str(), where.index, &face) == 0) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass > 0) {
      style.weight = os2->usWeightClass;
    } else if (face->style_flags & FT_STYLE_FLAG_BOLD) {
      style.weight = 700;
    }
    style.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    FT_Done_Face(face);
  }
  s.styles[key] = style;
  return style;
}

int Round26(int64_t value) { return static_cast<int>((value + 32) >> 6); }

// Ascent and descent units of the classic cell: OS/2 win values, else hhea.
void CellUnits(FT_Face face, int64_t* ascent, int64_t* total) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    *ascent = os2->usWinAscent;
    *total = os2->usWinAscent + os2->usWinDescent;
    return;
  }
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  if (hhea && hhea->Ascender - hhea->Descender > 0) {
    *ascent = hhea->Ascender;
    *total = hhea->Ascender - hhea->Descender;
    return;
  }
  if (face->ascender - face->descender > 0) {
    *ascent = face->ascender;
    *total = face->ascender - face->descender;
    return;
  }
  *total = face->units_per_EM > 0 ? face->units_per_EM : 1;
  *ascent = *total * 4 / 5;
}

FT_Int32 LoadFlags(HostGlyphFormat format) {
  return FT_LOAD_NO_BITMAP | (format == HostGlyphMono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
}

FT_UInt GlyphIndexOf(const LoadedFace& f, uint32_t code) {
  if (f.shiftJisMap) return FT_Get_Char_Index(f.face, code);
  const uint32_t unicode = f.unicode[code & 0xFFFF];
  return unicode ? FT_Get_Char_Index(f.face, unicode) : 0;
}

// Loads (and emboldens) the outline of a glyph; false when it cannot be had.
bool LoadOutline(const LoadedFace& f, FT_UInt index, HostGlyphFormat format) {
  if (FT_Load_Glyph(f.face, index, LoadFlags(format)) != 0) return false;
  FT_GlyphSlot slot = f.face->glyph;
  if (f.bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Outline_EmboldenXY(&slot->outline, 64, 0);
    if (slot->advance.x != 0) slot->advance.x += 64;
  }
  return true;
}

std::unique_ptr<LoadedFace> OpenLoaded(const Resolved& where, int height, bool bold, bool oblique, int charset) {
  SourceState& s = State();
  auto f = std::make_unique<LoadedFace>();
  if (FT_New_Face(s.library, where.file.c_str(), where.index, &f->face) != 0) return nullptr;
  f->file = where.file;
  f->index = where.index;
  f->bold = bold;
  f->oblique = oblique;
  int64_t ascent = 0, total = 1;
  CellUnits(f->face, &ascent, &total);
  const int64_t upem = f->face->units_per_EM > 0 ? f->face->units_per_EM : total;
  f->em = std::max<int64_t>(1, (static_cast<int64_t>(height) * 64 * upem + total / 2) / total);
  if (FT_Set_Char_Size(f->face, 0, f->em, 72, 72) != 0) {
    FT_Done_Face(f->face);
    return nullptr;
  }
  if (oblique) {
    FT_Matrix shear = {0x10000, kObliqueShear, 0, 0x10000};
    FT_Set_Transform(f->face, &shear, nullptr);
  }
  f->shiftJisMap = charset != 2 && FT_Select_Charmap(f->face, FT_ENCODING_SJIS) == 0;
  if (!f->shiftJisMap) {
    FT_Select_Charmap(f->face, FT_ENCODING_UNICODE);
    f->unicode = CodePageToUnicodeTable(charset);
  }
  f->metrics.height = height;
  f->metrics.ascent = static_cast<int>((height * ascent * 2 + total) / (2 * total));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(f->face, FT_SFNT_HHEA));
  const int64_t maxAdvance = hhea ? hhea->advance_Width_Max : f->face->max_advance_width;
  f->metrics.maxCharWidth = Round26(maxAdvance * f->em / upem) + (bold ? 1 : 0);
  f->missingAdvance = LoadOutline(*f, 0, HostGlyphMono) ? Round26(f->face->glyph->advance.x) : 0;
  return f;
}

// Frees the least recently used idle faces beyond the number kept.
void TrimIdleFaces() {
  SourceState& s = State();
  for (;;) {
    size_t idle = 0;
    LoadedFace* oldest = nullptr;
    size_t oldestId = 0;
    for (size_t i = 0; i < s.faces.size(); ++i) {
      LoadedFace* f = s.faces[i].get();
      if (!f || f->users > 0) continue;
      ++idle;
      if (!oldest || f->lastUse < oldest->lastUse) oldest = f, oldestId = i;
    }
    if (idle <= kIdleFacesKept) return;
    FT_Done_Face(oldest->face);
    s.faces[oldestId].reset();
  }
}

int OpenFace(const HostFaceRequest& request, HostFaceMetrics* metrics) {
  if (!Ready()) return -1;
  SourceState& s = State();
  int height = request.height < 0 ? -request.height : request.height;
  if (height == 0) height = 16;
  if (height > kMaxHeight) return -1;
  const int weight = std::clamp(request.weight, 1, 1000);
  Resolved where;
  if (!Resolve(request, weight, &where)) return -1;
  // Emboldened when a bold weight meets a face two steps lighter, as the
  // system's font mapper does; slanted when no italic face was found.
  const OwnStyle own = StyleOf(where);
  const bool bold = weight >= 600 && own.weight <= weight - 200;
  const bool oblique = request.italic != 0 && !own.italic;
  const int charset = request.charset == 2 ? 2 : 1;
  for (size_t i = 0; i < s.faces.size(); ++i) {
    LoadedFace* f = s.faces[i].get();
    if (f && f->file == where.file && f->index == where.index && f->metrics.height == height && f->bold == bold &&
        f->oblique == oblique && (f->unicode == nullptr || f->unicode == CodePageToUnicodeTable(charset))) {
      ++f->users;
      f->lastUse = ++s.useClock;
      if (metrics) *metrics = f->metrics;
      return static_cast<int>(i);
    }
  }
  std::unique_ptr<LoadedFace> f = OpenLoaded(where, height, bold, oblique, charset);
  if (!f) return -1;
  f->users = 1;
  f->lastUse = ++s.useClock;
  if (metrics) *metrics = f->metrics;
  size_t id = 0;
  while (id < s.faces.size() && s.faces[id]) ++id;
  if (id == s.faces.size()) s.faces.emplace_back();
  s.faces[id] = std::move(f);
  return static_cast<int>(id);
}

LoadedFace* FaceOf(int face) {
  SourceState& s = State();
  if (face < 0 || static_cast<size_t>(face) >= s.faces.size()) return nullptr;
  return s.faces[static_cast<size_t>(face)].get();
}

void CloseFace(int face) {
  LoadedFace* f = FaceOf(face);
  if (!f || f->users == 0) return;
  --f->users;
  TrimIdleFaces();
}

void EmptyGlyph(int advance, HostGlyph* glyph) {
  *glyph = HostGlyph{0, 0, 0, 0, advance, 0, nullptr};
}

bool RenderGlyph(int face, uint32_t code, HostGlyphFormat format, HostGlyph* glyph) {
  LoadedFace* f = FaceOf(face);
  if (!f) return false;
  const FT_UInt index = GlyphIndexOf(*f, code);
  // Codes the face does not map, and outlines that will not load or render,
  // take the missing glyph's advance and no ink.
  if (index == 0 || !LoadOutline(*f, index, format)) {
    EmptyGlyph(f->missingAdvance, glyph);
    return true;
  }
  FT_GlyphSlot slot = f->face->glyph;
  const int advance = Round26(slot->advance.x);
  if (FT_Render_Glyph(slot, format == HostGlyphMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
    EmptyGlyph(advance, glyph);
    return true;
  }
  const FT_Bitmap& b = slot->bitmap;
  const int width = static_cast<int>(b.width);
  const int rows = static_cast<int>(b.rows);
  if (width == 0 || rows == 0 || !b.buffer) {
    EmptyGlyph(advance, glyph);
    return true;
  }
  const int pitch = format == HostGlyphMono ? (width + 7) / 8 : width;
  std::vector<uint8_t>& out = State().bitmap;
  out.assign(static_cast<size_t>(pitch) * static_cast<size_t>(rows), 0);
  const int sourcePitch = b.pitch < 0 ? -b.pitch : b.pitch;
  for (int y = 0; y < rows; ++y) {
    const int sourceRow = b.pitch < 0 ? rows - 1 - y : y;
    const uint8_t* in = b.buffer + static_cast<size_t>(sourceRow) * static_cast<size_t>(sourcePitch);
    uint8_t* row = out.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    for (int x = 0; x < width; ++x) {
      int level;  // 0..16
      if (b.pixel_mode == FT_PIXEL_MODE_MONO) {
        level = (in[x >> 3] >> (7 - (x & 7)) & 1) ? 16 : 0;
      } else if (b.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const int grey = b.num_grays > 1 ? in[x] * 255 / (b.num_grays - 1) : in[x];
        level = (grey * 16 + 127) / 255;
      } else {
        level = 0;
      }
      if (format == HostGlyphMono) {
        if (level >= 8) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      } else {
        row[x] = static_cast<uint8_t>(level);
      }
    }
  }
  *glyph = HostGlyph{slot->bitmap_left, slot->bitmap_top, width, rows, advance, pitch, out.data()};
  return true;
}

void ListFamilies(HostFamilyVisitor visit, void* context) {
  if (!Ready()) return;
  struct Entry {
    std::string name;
    int outline;
    int japanese;
  };
  std::vector<Entry> families;
  std::set<std::string> seen;
  std::map<std::string, Entry> byUtf8;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_OUTLINE, FC_LANG, nullptr);
  FcFontSet* set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    FcBool outline = FcFalse;
    FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
    FcLangSet* langs = nullptr;
    const bool japanese = FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch && langs &&
                          FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang;
    FcChar8* family = nullptr;
    for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &family) == FcResultMatch; ++n) {
      const std::string utf8 = reinterpret_cast<const char*>(family);
      Entry entry{Utf8ToCp932(utf8), outline ? 1 : 0, japanese ? 1 : 0};
      byUtf8.emplace(utf8, entry);
      if (seen.insert(entry.name).second) families.push_back(entry);
    }
  }
  if (set) FcFontSetDestroy(set);
  // The default faces' names first, when the faces they stand for are here.
  std::vector<Entry> listed;
  std::set<std::string> listedNames;
  for (const FaceAlias& a : kAliases) {
    auto target = byUtf8.find(a.family);
    if (target == byUtf8.end() || !listedNames.insert(a.name).second) continue;
    listed.push_back(Entry{a.name, target->second.outline, target->second.japanese});
  }
  for (Entry& e : families) {
    if (listedNames.insert(e.name).second) listed.push_back(std::move(e));
  }
  for (const Entry& e : listed) {
    if (!visit(HostFontFamily{e.name.c_str(), e.outline, e.japanese}, context)) return;
  }
}

int AddPrivateFont(const char* hostPath) {
  if (!Ready() || !hostPath) return 0;
  if (FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(hostPath)) != FcTrue) return 0;
  State().privateFonts.emplace_back(hostPath);
  State().lookups.clear();
  return 1;
}

int RemovePrivateFont(const char* hostPath) {
  if (!Ready() || !hostPath) return 0;
  SourceState& s = State();
  auto it = std::find(s.privateFonts.begin(), s.privateFonts.end(), hostPath);
  if (it == s.privateFonts.end()) return 0;
  s.privateFonts.erase(it);
  // Fontconfig forgets application fonts only all at once.
  FcConfigAppFontClear(nullptr);
  for (const std::string& file : s.privateFonts) {
    FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file.c_str()));
  }
  s.lookups.clear();
  return 1;
}

constexpr HostGlyphSource kFreeTypeSource = {OpenFace, CloseFace, RenderGlyph, ListFamilies, AddPrivateFont,
                                             RemovePrivateFont};

}  // namespace

const HostGlyphSource* FreeTypeGlyphSource() { return &kFreeTypeSource; }

std::string FreeTypeFaceFile(int face) {
  const LoadedFace* f = FaceOf(face);
  return f ? f->file : std::string();
}
