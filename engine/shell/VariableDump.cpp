#include "engine/shell/VariableDump.h"

#include <algorithm>
#include <cstdio>

#include "engine/data/database/Databases.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/InGameErrorScreen.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kLineHeight = 9;
constexpr int32_t kColumnWidth = 220;
constexpr int32_t kFontSize = 9;
// A page held by a button from before needs this many passes to turn.
constexpr int32_t kHeldPasses = 30;
// Numbered sets take their names from the system database from this type on.
constexpr int32_t kFirstSetType = 14;
constexpr int32_t kStringNamesType = 4;
constexpr int32_t kSystemStringNamesType = 5;
constexpr int32_t kSystemVariableNamesType = 6;
constexpr size_t kStringBytesShown = 32;

int32_t ScreenUnit() { return TileUnit * DisplayScale(); }

class Columns {
 public:
  void Add(const std::string& text) {
    texts_.push_back({x_, y_, PackColor(255, 255, 255), text});
    y_ += kLineHeight;
    if (y_ >= ScreenUnit() * 15 - 8) {
      y_ = 0;
      x_ += kColumnWidth;
    }
  }
  template <typename... Args>
  void Format(const char* format, Args... args) {
    char line[256];
    std::snprintf(line, sizeof line, format, args...);
    Add(line);
  }
  std::vector<DebugText> Take() { return std::move(texts_); }

 private:
  std::vector<DebugText> texts_;
  int32_t x_ = 0;
  int32_t y_ = 0;
};

std::string Shown(const std::string& value) { return value.substr(0, std::min(value.size(), kStringBytesShown)); }

int32_t gPageOffset = 0;

}  // namespace

std::vector<DebugText> VariableDumpTexts() {
  Columns out;
  out.Format("Ev%d CommonEv%d %d行", RootInterpreter.mapEventId, RootInterpreter.commonEventNumber,
             RootInterpreter.line);
  out.Add("■通常変数-----");
  for (size_t i = 0; i < Variables.numberedSets.size(); ++i) {
    const auto set = static_cast<int32_t>(i);
    const int32_t type = kFirstSetType + set;
    for (int32_t j = 0; j < SystemDatabase.GetDataCount(type); ++j) {
      out.Format("■V%d-%.2i:%5d(%s)", set, j, Variables.GetVariable(2000000 + set * 100000 + j),
                 SystemDatabase.GetDataName(type, j).c_str());
    }
  }
  out.Add("■文字列変数---");
  for (int32_t k = 0; k < SystemDatabase.GetDataCount(kStringNamesType); ++k) {
    out.Format("●S%.2i:%s(%s)", k, Shown(Variables.GetStringVariable(3000000 + k)).c_str(),
               SystemDatabase.GetDataName(kStringNamesType, k).c_str());
  }
  out.Add("■ｼｽﾃﾑ変数-----");
  for (int32_t l = 0; l < SystemDatabase.GetDataCount(kSystemVariableNamesType); ++l) {
    out.Format("★Sys%.2i:%5d(%s)", l, Variables.GetVariable(9000000 + l),
               SystemDatabase.GetDataName(kSystemVariableNamesType, l).c_str());
  }
  out.Add("■ｼｽﾃﾑ文字列(読み取り専用)---");
  for (int32_t m = 0; m < SystemDatabase.GetDataCount(kSystemStringNamesType); ++m) {
    out.Format("※SysS%.2i:%s(%s)", m, Shown(Variables.GetStringVariable(9900000 + m)).c_str(),
               SystemDatabase.GetDataName(kSystemStringNamesType, m).c_str());
  }
  return out.Take();
}

int32_t NextVariableDumpPage(int32_t offset, int32_t lastColumnX) {
  if (lastColumnX - ScreenUnit() * 15 < offset) return -1;
  return std::min(lastColumnX + ScreenUnit() * 6, offset + 660);
}

void ShowVariableDump(bool firstPage) {
  if (firstPage) gPageOffset = 0;
  const std::vector<DebugText> texts = VariableDumpTexts();
  const int32_t lastColumnX = texts.back().x;
  for (;;) {
    SetDefaultFontSize(kFontSize);
    SetDefaultFontType(0);
    SetBlendMode(1, 190);
    DrawRectangle(0, 0, 640, 480, PackColor(0, 0, 0), 1);
    SetBlendMode(0, 255);
    DrawDebugTexts(texts, gPageOffset);
    FlipScreen();
    WaitForAcknowledgement(kHeldPasses);
    const int32_t next = NextVariableDumpPage(gPageOffset, lastColumnX);
    if (next < 0) break;
    gPageOffset = next;
  }
  SetDefaultFontSize(RootRunner.messageFontSize);
}
