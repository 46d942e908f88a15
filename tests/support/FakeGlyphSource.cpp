#include "tests/support/FakeGlyphSource.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

struct FakeState {
  std::map<uint32_t, FakeGlyphSource::Glyph> glyphs;
  std::set<uint32_t> failing;
  std::set<std::string> failingFaces;
  int maxCharWidth = -1;
  int ascent = -1;
  std::vector<FakeGlyphSource::Family> families;
  std::vector<HostFaceRequest> opens;
  std::vector<std::string> openNames;
  std::vector<int> faceHeights;  // by face id; -1 when closed
  std::vector<uint32_t> rendered;
  std::vector<std::string> privateFonts;
  std::vector<uint8_t> bits;
  const FakeGlyphSource* owner = nullptr;
};

FakeState* gState = nullptr;

int AscentFor(int height) { return gState->ascent >= 0 ? gState->ascent : height - height / 4; }

int OpenFace(const HostFaceRequest& request, HostFaceMetrics* metrics) {
  const std::string name = request.faceName ? request.faceName : "";
  gState->opens.push_back(request);
  gState->openNames.push_back(name);
  if (gState->failingFaces.count(name)) return -1;
  const int height = request.height;
  gState->faceHeights.push_back(height);
  if (metrics) {
    metrics->height = height;
    metrics->ascent = AscentFor(height);
    metrics->maxCharWidth = gState->maxCharWidth >= 0 ? gState->maxCharWidth : height;
  }
  return static_cast<int>(gState->faceHeights.size() - 1);
}

void CloseFace(int face) {
  if (face >= 0 && static_cast<size_t>(face) < gState->faceHeights.size()) gState->faceHeights[face] = -1;
}

bool RenderGlyph(int face, uint32_t code, HostGlyphFormat format, HostGlyph* out) {
  if (face < 0 || static_cast<size_t>(face) >= gState->faceHeights.size() || gState->faceHeights[face] == -1) {
    return false;
  }
  gState->rendered.push_back(code);
  if (gState->failing.count(code)) return false;
  const FakeGlyphSource::Glyph g = gState->owner->GlyphFor(code, gState->faceHeights[face]);
  const int pitch = format == HostGlyphMono ? (g.width + 7) / 8 : g.width;
  gState->bits.assign(static_cast<size_t>(std::max(pitch * g.height, 1)), 0);
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) {
      const int level = g.LevelAt(x, y);
      uint8_t* row = gState->bits.data() + static_cast<size_t>(y) * pitch;
      if (format == HostGlyphGrey) {
        row[x] = static_cast<uint8_t>(level);
      } else if (level >= 8) {
        row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      }
    }
  }
  *out = HostGlyph{g.originX, g.originY, g.width, g.height, g.advance, pitch, gState->bits.data()};
  return true;
}

void ListFamilies(HostFamilyVisitor visit, void* context) {
  for (const FakeGlyphSource::Family& f : gState->families) {
    if (!visit(HostFontFamily{f.name.c_str(), f.outline ? 1 : 0, f.japanese ? 1 : 0}, context)) return;
  }
}

int AddPrivateFont(const char* path) {
  gState->privateFonts.emplace_back(path);
  return 1;
}

int RemovePrivateFont(const char* path) {
  auto& fonts = gState->privateFonts;
  auto it = std::find(fonts.begin(), fonts.end(), path);
  if (it == fonts.end()) return 0;
  fonts.erase(it);
  return 1;
}

constexpr HostGlyphSource kFakeSource = {OpenFace, CloseFace, RenderGlyph, ListFamilies, AddPrivateFont,
                                         RemovePrivateFont};

}  // namespace

FakeGlyphSource::FakeGlyphSource() {
  gState = new FakeState;
  gState->owner = this;
  HostSetGlyphSource(&kFakeSource);
}

FakeGlyphSource::~FakeGlyphSource() {
  HostSetGlyphSource(nullptr);
  delete gState;
  gState = nullptr;
}

FakeGlyphSource::Glyph FakeGlyphSource::DefaultGlyph(uint32_t code, int height) const {
  Glyph g;
  const bool wide = code > 0xFF;
  g.width = std::max(wide ? height - 2 : height / 2 - 1, 1);
  g.height = std::max(height - 4, 1);
  g.advance = g.width + 1;
  g.originX = 1;
  g.originY = AscentFor(height) - 1;
  g.levels.resize(static_cast<size_t>(g.width) * g.height);
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) g.levels[static_cast<size_t>(y) * g.width + x] = (x + 2 * y + code) % 17;
  }
  return g;
}

FakeGlyphSource::Glyph FakeGlyphSource::GlyphFor(uint32_t code, int height) const {
  auto it = gState->glyphs.find(code);
  return it != gState->glyphs.end() ? it->second : DefaultGlyph(code, height);
}

void FakeGlyphSource::SetGlyph(uint32_t code, const Glyph& glyph) { gState->glyphs[code] = glyph; }
void FakeGlyphSource::FailGlyph(uint32_t code) { gState->failing.insert(code); }
void FakeGlyphSource::SetMaxCharWidth(int width) { gState->maxCharWidth = width; }
void FakeGlyphSource::SetAscent(int ascent) { gState->ascent = ascent; }
void FakeGlyphSource::FailFace(const std::string& name) { gState->failingFaces.insert(name); }
void FakeGlyphSource::SetFamilies(const std::vector<Family>& families) { gState->families = families; }
const std::vector<HostFaceRequest>& FakeGlyphSource::Opens() const { return gState->opens; }
const std::vector<std::string>& FakeGlyphSource::OpenNames() const { return gState->openNames; }
int FakeGlyphSource::OpenFaces() const {
  return static_cast<int>(std::count_if(gState->faceHeights.begin(), gState->faceHeights.end(),
                                        [](int h) { return h != -1; }));
}
const std::vector<uint32_t>& FakeGlyphSource::Rendered() const { return gState->rendered; }
void FakeGlyphSource::ClearRendered() { gState->rendered.clear(); }
const std::vector<std::string>& FakeGlyphSource::PrivateFonts() const { return gState->privateFonts; }
