// Message text of any bytes laid out by a text block: measured, then drawn
// frame by frame while the reveal advances, as a message window, a choice
// window (with any choice count) and a zoomed text picture would, on either
// tile unit. Nothing may be read past the text or the line tables.

#include <cstdint>
#include <string>

#include "engine/data/GameInfo.h"
#include "engine/events/SystemState.h"
#include "engine/presentation/text/TextBlock.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"
#include "tests/support/FakeGlyphSource.h"

// Input: tile unit, choice flag and count, zoom, letter squeeze, then the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FakeGlyphSource* glyphs = new FakeGlyphSource;
  static const bool once = [] {
    SetMessageBoxHook([](const char*, const char*) {});
    SetUpFonts(GameInformation);
    // Icons 3 and 7 stand in the table without graphics behind them.
    TextResourcesHub.iconHandles = {0, 0, 0, 5, 0, 0, 0, 9};
    TextResourcesHub.iconWidths.assign(1000, 24);
    TextResourcesHub.iconHeights.assign(1000, 30);
    return true;
  }();
  (void)glyphs;
  (void)once;
  if (size < 4) return 0;
  TileUnit = data[0] & 1 ? 16 : 32;
  SystemStateHub.choiceCount = static_cast<int8_t>(data[1]) % 12;
  const double zoom = (data[2] % 5 + 1) * 0.5;
  GameInformation.settingBytes[GameInfo::kLetterSqueeze] = data[3];
  TextBlock block(static_cast<int8_t>(data[2]) * 3, static_cast<int8_t>(data[3]) * 2);
  block.choiceBlock = data[1] >> 7;
  block.sourceText.assign(reinterpret_cast<const char*>(data + 4), size - 4);
  int32_t width = 0, height = 0;
  block.Measure(width, height);
  for (int frame = 0; frame < 8; ++frame) {
    block.AdvanceReveal();
    block.Layout(TextBlock::kDraw, zoom, zoom);
    if (block.waitingForKey) block.waitingForKey = 0;
  }
  block.revealed = 1e6;
  block.Layout(TextBlock::kDraw, 1.0, 1.0);
  return 0;
}
