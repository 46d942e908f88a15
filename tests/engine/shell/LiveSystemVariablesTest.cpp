// The system variables and strings that show the running game, read through
// the variable store while the player runs: each row reads its live source.

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "engine/data/CommonEvent.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/DownloadState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/MapScene.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/GameIni.h"
#include "runtime/Movan.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/GameFolderWriter.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"

namespace {

int32_t Sv(int32_t n) { return Variables.GetVariable(9000000 + n); }
std::string Ss(int32_t n) { return Variables.GetStringVariable(9900000 + n); }

TEST(LiveSystemVariablesTest, EachLiveRowReadsTheRunningGame) {
  TestDirectory dir;
  // An automatic event shows a message and then waits for it, holding the
  // root runner busy; the map is wider and higher than the screen, so that
  // it scrolls.
  GameFolderContent game = StarterGame("生きた値", PlainMapData(40, 30), 3, 4);
  CommonEvent greeting;
  greeting.trigger = 0x21;  // automatic, while V0 = 0
  greeting.commands = CommandListBuilder().Variable(2000000, 1, 0, 0, 0).Add({101}, {"やあ"}).Build();
  game.commonEvents = std::vector<CommonEvent>(1, greeting);
  WriteGameFolder(dir.Path(), game);
  PlayerSettings ini;
  ini.proxy = "proxy.example";
  ini.proxyPort = "3128";
  ini.frameSkip = 1;
  // As the player writes it: CR LF line ends.
  std::string iniText;
  for (const char c : FormatGameIni(ini)) iniText += c == '\n' ? std::string("\r\n") : std::string(1, c);
  dir.Write("Game.ini", iniText);

  struct Row {
    int32_t n;
    std::function<int32_t()> live;
  };
  const std::vector<Row> rows = {
      {12, [] { return SystemStateHub.messageWindowShown; }},
      {13, [] { return RootInterpreter.IsRunning() ? 1 : 0; }},
      {20, [] { return SystemStateHub.lastChoiceResult; }},
      {23, [] { return CurrentMap.mapId; }},
      {28, [] { return RootRunner.frameCounter; }},
      {33, [] { return RootRunner.frameSkipMode; }},
      {43, [] { return Downloads.progress[0]; }},
      {48, [] { return Downloads.status; }},
      {71, [] { return Input.mouseX; }},
      {72, [] { return Input.mouseY; }},
      {77, [] {
         const std::time_t now = std::time(nullptr);
         std::tm local{};
         localtime_r(&now, &local);
         return local.tm_year + 1900;
       }},
      {84, [] { return TileUnit == 32 ? 1 : 0; }},
      {85, [] { return IsDirect3DPathActive() ? 0 : 1; }},
      {104, [] { return CurrentMap.scrollX / 4; }},
      {105, [] { return CurrentMap.scrollY / 4; }},
  };
  struct Text {
    int32_t n;
    std::function<std::string()> live;
  };
  const std::vector<Text> texts = {
      {20, [] { return Settings.proxy; }},
      {21, [] { return Settings.proxyPort; }},
      {25, [] { return SystemStateHub.lastMessageText; }},
      {40, [] { return SystemStateHub.lastChoiceTexts[0]; }},
  };

  PlayHarness play(dir.Path());
  std::vector<std::string> mismatches;
  int32_t scrollWritten = -1;
  std::vector<int32_t> shown;
  std::string message;
  play.onFrame = [&](int64_t frame) {
    if (frame != 6) return;
    // The game is where the rows should find it.
    shown = {Sv(12), Sv(13), Sv(23), Sv(33), Sv(48)};
    message = Ss(25) + "/" + Ss(20) + ":" + Ss(21);
    for (const Row& row : rows) {
      const int32_t read = Sv(row.n);
      if (read != row.live()) mismatches.push_back("sv " + std::to_string(row.n) + " read " + std::to_string(read));
    }
    for (const Text& text : texts) {
      if (Ss(text.n) != text.live()) mismatches.push_back("ss " + std::to_string(text.n) + " read " + Ss(text.n));
    }
    // Written rows reach the running game too.
    Variables.SetVariable(9000104, 96);
    scrollWritten = CurrentMap.scrollX;
  };
  play.Play(8);
  EXPECT_TRUE(mismatches.empty()) << ::testing::PrintToString(mismatches);
  EXPECT_EQ(shown, (std::vector<int32_t>{1, 1, 0, 1, -1}));
  EXPECT_EQ(message, "やあ/proxy.example:3128");
  EXPECT_EQ(scrollWritten, 96 * 4);
}

}  // namespace
