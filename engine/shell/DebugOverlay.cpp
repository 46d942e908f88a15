#include "engine/shell/DebugOverlay.h"

#include <cstdio>
#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/sound/SoundItems.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kLineHeight = 12;
constexpr int32_t kFontSize = 12;

uint32_t White() { return PackColor(255, 255, 255); }
uint32_t HeadingColour() { return PackColor(255, 120, 120); }

// A heading and its names one under another; the y below the last.
int32_t AddList(std::vector<DebugText>& out, int32_t x, int32_t y, const char* heading,
                const std::vector<std::string>& names) {
  out.push_back({x, y, HeadingColour(), heading});
  for (const std::string& name : names) out.push_back({x, y += kLineHeight, White(), name});
  return y + kLineHeight;
}

std::string Number(int32_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "%d,", n);
  return text;
}

}  // namespace

std::vector<DebugText> DebugOverlayTexts() {
  std::vector<DebugText> out;
  char line[128];
  std::snprintf(line, sizeof line, "[デバッグデータ]　　[ピクチャ %d(画像数%d)] / [音声数 %d]",
                static_cast<int32_t>(GamePictures.pictures.size()), static_cast<int32_t>(PictureFiles.entries.size()),
                GameSounds.CountLoadedSounds());
  out.push_back({0, 0, White(), line});

  std::vector<std::string> names;
  for (const PictureFileEntry& entry : PictureFiles.entries) names.push_back(entry.fileName);
  const int32_t below = AddList(out, 0, 22, "[読込ピクチャ]", names);
  names.clear();
  for (int32_t kind = 0; kind < 3; ++kind) {
    for (const auto& [entry, handle] : GameSounds.handles[kind]) {
      if (handle != 0) names.push_back(sound_items::FileItem(kind, entry));
    }
  }
  AddList(out, 0, below + kLineHeight, "[読込サウンド]", names);

  names.assign(CachedGraphics.indexByName.size(), std::string());
  for (const auto& [name, index] : CachedGraphics.indexByName) {
    if (index >= 0 && static_cast<size_t>(index) < names.size()) names[static_cast<size_t>(index)] = name;
  }
  AddList(out, 320, 32, "[読込スプライト]", names);

  // Eleven numbers in the first row, ten in each after it.
  int32_t column = 0, row = 0;
  for (const Picture& picture : GamePictures.pictures) {
    out.push_back({column * 60, 300 + row * kLineHeight, White(), Number(picture.number)});
    if (++column == (row == 0 ? 11 : 10)) {
      column = 0;
      ++row;
    }
  }

  out.push_back({0, 430, HeadingColour(), "[実行中並列コモン]"});
  int32_t x = 0, y = 430 + kLineHeight;
  for (int32_t number = 0; number < CommonEvents.Count(); ++number) {
    const CommonEventRunner* runner = FindCommonEventRunner(number);
    if (!runner || runner->interpreters.empty()) continue;
    out.push_back({x, y, White(), std::to_string(number)});
    x += 40;
    if (x > 600) {
      x = 0;
      y += kLineHeight;
    }
  }
  return out;
}

void DrawDebugOverlay() {
  SetBlendMode(1, 180);
  DrawRectangle(0, 0, 640, 480, PackColor(0, 0, 0), 1);
  SetBlendMode(0, 255);
  SetDefaultFontType(0);
  SetDefaultFontSize(kFontSize);
  DrawDebugTexts(DebugOverlayTexts(), 0);
  // The game's own text of the next frame keeps its size.
  SetDefaultFontSize(RootRunner.messageFontSize);
}
