// A 200-character message with ten control codes laid out by the text block
// (measure, and draw fully revealed onto the back screen) and a whole
// message-window frame (update and draw with the wait cursor), over the IPA
// faces on a running layer. Beside them: the layer drawing the same
// characters as plain lines (no codes, one call a line), and pixman
// compositing the same cached glyph masks at the same pen positions.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/text/TextBlock.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/presentation/windows/MessageWindow.h"
#include "engine/services/DataFolder.h"
#include "bench/BenchLayer.h"
#include "runtime/Movan.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "bench/fonts/PixmanGlyphMasks.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/TestDirectory.h"

namespace {

// Four lines of game text, 200 characters, with ten escapes.
const char* const kMessage =
    "\\c[1]勇者\\c[0]は古い城の門をくぐり、暗い廊下を進んだ。そこには誰もいないはずだった。\n"
    "\\f[26]しかし\\f[22]奥の広間から、かすかな歌声が聞こえてくる。\\Eいったい誰が\\Nこんな所で歌っているのか。\n"
    "\\sp[600]足音を忍ばせて近づくと、扉の隙間から青い光が漏れていた。勇者は剣の柄に手をかけ、\n"
    "<C>\\-[1]息を殺して扉を押し開けた。\\space[0]中には一人の少女が座り、静かに窓の外を見つめていた。";

// The plain characters of the message, line by line.
std::vector<std::string> PlainLines() {
  std::vector<std::string> lines(1);
  const std::string text = ExpandMessageText(kMessage, 0, 0, 0);
  for (size_t i = 0; i < text.size();) {
    const uint8_t b = static_cast<uint8_t>(text[i]);
    if (b == 1) {
      i += 2 + (text[i + 1] == 2 || text[i + 1] == 3 || text[i + 1] == 7 || text[i + 1] == 17 ? 1
                : text[i + 1] == 12 || text[i + 1] == 18                                      ? 2
                                                                                               : 0);
    } else if (b == '\n') {
      lines.emplace_back();
      ++i;
    } else {
      const size_t n = ShiftJisCharLengthIn(text.data() + i, text.size() - i);
      lines.back().append(text, i, n);
      i += n;
    }
  }
  return lines;
}

bool GameStarted() {
  static TestDirectory* folder = nullptr;
  static const bool started = [] {
    folder = new TestDirectory;
    if (chdir(folder->Path().c_str()) != 0) return false;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!StartBenchLayer("TextLayoutBench")) return false;
    // Colours and a two-cell wait cursor.
    SystemDatabase.typeData.resize(13);
    SystemDatabase.typeDefinitions.resize(13);
    DatabaseTypeData colors = MakeTypeData({1000, 1001, 1002}, 2);
    colors.Integer(0, 0) = colors.Integer(0, 1) = colors.Integer(0, 2) = 255;
    colors.Integer(1, 0) = 255;
    SystemDatabase.typeData[12] = colors;
    BmpFileFields cursor;
    cursor.width = 16;
    cursor.height = -32;
    cursor.data = PackBmpRows(24, std::vector<std::vector<uint32_t>>(32, std::vector<uint32_t>(16, 0xFF0000)));
    folder->Write("Data/System/cursor.bmp", BmpFile(cursor));
    DatabaseTypeData images = MakeTypeData({2000, 1000}, 1);
    images.String(0, 0) = "System\\cursor.bmp";
    images.Integer(0, 0) = 2;
    SystemDatabase.typeData[10] = images;
    SetDataFolder("Data\\");
    GameInformation = GameInfo();
    SetUpFonts(GameInformation);
    RootRunner.messageFontSize = 22;
    return true;
  }();
  return started;
}

TextBlock MessageBlock() {
  TextBlock block(16, 304);
  block.sourceText = ExpandMessageText(kMessage, 0, 0, 0);
  block.Layout(TextBlock::kMeasure, 1.0, 1.0);
  return block;
}

void BM_MessageMeasure(benchmark::State& state) {
  if (!GameStarted()) return state.SkipWithError("no layer");
  TextBlock block = MessageBlock();
  for (auto _ : state) {
    block.Layout(TextBlock::kMeasure, 1.0, 1.0);
    benchmark::DoNotOptimize(block.widestLine);
  }
  state.SetItemsProcessed(state.iterations() * 200);
  state.SetLabel("measure");
}
BENCHMARK(BM_MessageMeasure)->Unit(benchmark::kMicrosecond);

void BM_MessageDraw(benchmark::State& state) {
  if (!GameStarted()) return state.SkipWithError("no layer");
  TextBlock block = MessageBlock();
  block.revealed = 1e6;
  SetBlendMode(0, 255);
  for (auto _ : state) block.Layout(TextBlock::kDraw, 1.0, 1.0);
  state.SetItemsProcessed(state.iterations() * 200);
  state.SetLabel("draw, fully revealed");
}
BENCHMARK(BM_MessageDraw)->Unit(benchmark::kMicrosecond);

void BM_MessageWindowFrame(benchmark::State& state) {
  if (!GameStarted()) return state.SkipWithError("no layer");
  SystemStateHub = SystemState();
  SystemStateHub.pendingMessageText = ExpandMessageText(kMessage, 0, 0, 0);
  SystemStateHub.SetMessageWaiter(1, 7);
  MessageWindow window;
  RootRunner.messageValues[0] = 60000;  // everything shown after a frame or two
  for (int frame = 0; frame < 5; ++frame) {
    window.Update();
    window.Draw();
  }
  if (!window.allShown) return state.SkipWithError("not shown");
  for (auto _ : state) {
    window.Update();
    window.Draw();
  }
  state.SetLabel("update and draw, text and wait cursor");
  window.Close();
  window.Release();
}
BENCHMARK(BM_MessageWindowFrame)->Unit(benchmark::kMicrosecond);

// The floor: the same characters drawn by the layer one line a call.
void BM_PlainLines(benchmark::State& state) {
  if (!GameStarted()) return state.SkipWithError("no layer");
  const std::vector<std::string> lines = PlainLines();
  const int32_t font = TextResourcesHub.GetFont(0, 22, TextBlock::kFontThickness, 0);
  const uint32_t white = PackColor(255, 255, 255);
  for (auto _ : state) {
    for (size_t i = 0; i < lines.size(); ++i) DrawTextLineWithFont(16, 304 + 28 * static_cast<int>(i), lines[i].c_str(), white, font, 0, 0);
  }
  state.SetItemsProcessed(state.iterations() * 200);
  state.SetLabel("layer: plain lines, one call a line");
}
BENCHMARK(BM_PlainLines)->Unit(benchmark::kMicrosecond);

// The peer: pixman compositing the cached grey masks of the same characters
// over a 32-bit screen at the same pen positions.
void BM_PixmanGlyphs(benchmark::State& state) {
  if (!GameStarted()) return state.SkipWithError("no layer");
  const std::vector<std::string> lines = PlainLines();
  const int32_t font = TextResourcesHub.GetFont(0, 22, TextBlock::kFontThickness, 0);
  PixmanGlyphMasks masks;
  for (size_t row = 0; row < lines.size(); ++row) {
    GetTextWidthWithFont(lines[row].c_str(), -1, font, 0);
    masks.AddLine(*GetFontEntry(font), lines[row].c_str(), 16, 304 + 28 * static_cast<int>(row));
  }
  std::vector<uint32_t> screen(640 * 480, 0);
  pixman_image_t* destination = pixman_image_create_bits(PIXMAN_x8r8g8b8, 640, 480, screen.data(), 640 * 4);
  for (auto _ : state) {
    masks.Composite(destination);
    benchmark::DoNotOptimize(screen.data());
  }
  state.SetItemsProcessed(state.iterations() * masks.Count());
  state.SetLabel("pixman OVER a8 masks, one a character");
  pixman_image_unref(destination);
}
BENCHMARK(BM_PixmanGlyphs)->Unit(benchmark::kMicrosecond);

}  // namespace
