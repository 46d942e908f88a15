#include "engine/presentation/text/TextResources.h"

#include <algorithm>
#include <cstring>

#include "engine/data/GameInfo.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

TextResources TextResourcesHub;

const char* const kFallbackFaceName = "ＭＳ ゴシック";

namespace {

constexpr int32_t kFontNameBytes = 64;

const std::string& FaceName(const std::vector<std::string>& names, int32_t face) {
  static const std::string fallback = kFallbackFaceName;
  return static_cast<size_t>(face) < names.size() ? names[static_cast<size_t>(face)] : fallback;
}

}  // namespace

int32_t TextResources::GetFont(int32_t face, int32_t pixelSize, int32_t thickness, int32_t edge) {
  face = std::clamp(face, 0, 3);
  edge = edge != 0 ? 1 : 0;
  // The snap keeps sizes inside the tables; anything else draws with the
  // largest size they hold rather than indexing past them.
  if (pixelSize < 0 || pixelSize >= kTableSize) pixelSize = kTableSize - 1;
  SetDefaultFontFace(FaceName(faceNames, 0).c_str(), -1);
  if (createdCount > kMaxCreations || fontTables[0].empty()) ResetFontCache();
  int32_t& entry = fontTables[static_cast<size_t>(face * 2 + edge)][static_cast<size_t>(pixelSize)];
  if (entry != 0) return entry;
  const int32_t type = fontTypes[static_cast<size_t>(edge)];
  int32_t font = CreateFontToHandle(FaceName(faceNames, face).c_str(), pixelSize, thickness, type,
                                    charsets[static_cast<size_t>(face)], -1, 0, -1, -1);
  ++createdCount;
  if (font == -1) {
    ShowErrorScreen(FaceName(faceNames, face) + "のフォントがありせんでした", "", "");
    if (faceNames.size() < 4) faceNames.resize(4, kFallbackFaceName);
    faceNames[static_cast<size_t>(face)] = kFallbackFaceName;
    charsets[static_cast<size_t>(face)] = -1;
    font = CreateFontToHandle(kFallbackFaceName, pixelSize, thickness, type, -1, -1, 0, -1, -1);
    ++createdCount;
  }
  entry = font;
  return font;
}

void TextResources::ResetFontCache() {
  ResetFonts();
  createdCount = 0;
  for (std::vector<int32_t>& table : fontTables) table.assign(kTableSize, 0);
}

void SetUpFonts(const GameInfo& info) {
  TextResources& r = TextResourcesHub;
  const int count = ListFontNames(nullptr, 0, 1);
  std::vector<char> installed(static_cast<size_t>(std::max(count, 0)) * kFontNameBytes);
  const int listed = count > 0 ? ListFontNames(installed.data(), count, 1) : 0;
  r.faceNames.assign(4, kFallbackFaceName);
  for (int32_t face = 0; face < 4; ++face) {
    const size_t index = static_cast<size_t>(GameInfo::kFirstFontFace + face);
    if (index < info.settingStrings.size() && !info.settingStrings[index].empty()) {
      r.faceNames[static_cast<size_t>(face)] = info.settingStrings[index];
    }
    r.charsets[static_cast<size_t>(face)] = 0;
    for (int i = 0; i < listed; ++i) {
      if (std::strncmp(&installed[static_cast<size_t>(i) * kFontNameBytes], r.faceNames[static_cast<size_t>(face)].c_str(),
                       kFontNameBytes) == 0) {
        r.charsets[static_cast<size_t>(face)] = -1;
        break;
      }
    }
  }
  const bool plain = static_cast<size_t>(GameInfo::kPlainFonts) < info.settingBytes.size() &&
                     info.settingBytes[GameInfo::kPlainFonts] != 0;
  r.fontTypes = plain ? std::array<int32_t, 2>{0, 1} : std::array<int32_t, 2>{2, 3};
  r.ResetFontCache();
}
