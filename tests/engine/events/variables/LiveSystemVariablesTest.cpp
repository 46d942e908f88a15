#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/events/LiveGameHooks.h"
#include "engine/events/MapHooks.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/DownloadState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"

namespace {

// The live game as the fake sees it, and what was asked of it.
struct FakeGame {
  int32_t volume[2] = {70, 40};
  int32_t speed[2] = {100, 100};
  int32_t base[2] = {80, 0};
  bool midi = false;
  int32_t scrollX = 0, scrollY = 0;
  int32_t width = 40, height = 30;
  bool loopX = false, loopY = false;
  std::vector<std::string> calls;
  std::string graphics[6] = {"hero", "f1", "f2", "f3", "f4", "f5"};
};
FakeGame game;

void Call(const std::string& text) { game.calls.push_back(text); }

const LiveGameHooks kFake = {
    [](int32_t kind) { return game.volume[kind]; },
    [](int32_t kind, int32_t target, int32_t frames) {
      Call("ramp " + std::to_string(kind) + " " + std::to_string(target) + " " + std::to_string(frames));
    },
    [](int32_t kind) { return game.speed[kind]; },
    [](int32_t kind, int32_t percent) { game.speed[kind] = percent; },
    [] { return game.midi; },
    [] { Call("clear tempo"); },
    [](int32_t depth) { Call("tempo " + std::to_string(depth)); },
    [](int32_t kind, int32_t percent) { Call("rate " + std::to_string(kind) + " " + std::to_string(percent)); },
    [](int32_t kind) { return game.base[kind]; },
    [](int32_t mode) { Call("frame skip " + std::to_string(mode)); },
    [](std::tm& out) {
      out = std::tm{};
      out.tm_year = 126;
      out.tm_mon = 11;
      out.tm_mday = 10;
      out.tm_hour = 19;
      out.tm_min = 30;
      out.tm_sec = 5;
    },
    [] { return true; },
    [](int32_t member) { return game.graphics[member]; },
    [](int32_t member, const std::string& name) { game.graphics[member] = name; },
    [] { return game.scrollX; },
    [] { return game.scrollY; },
    [](int32_t x, int32_t y) {
      game.scrollX = x;
      game.scrollY = y;
    },
    [] { return game.width; },
    [] { return game.height; },
    [] { return game.loopX; },
    [] { return game.loopY; },
};

int32_t Sv(int32_t n) { return Variables.GetVariable(9000000 + n); }
void SetSv(int32_t n, int32_t value) { Variables.SetVariable(9000000 + n, value); }

class LiveSystemVariablesTest : public VariablesTest {
 protected:
  void SetUp() override {
    VariablesTest::SetUp();
    game = FakeGame();
    SetLiveGameHooks(&kFake);
    MapHooks map{};
    map.currentMapId = [] { return 12; };
    SetMapHooks(&map);
    Input = InputState();
    SystemStateHub = SystemState();
    Settings = PlayerSettings();
    Downloads = DownloadState();
    RootInterpreter = EventInterpreter();
  }
  void TearDown() override {
    SystemStateHub = SystemState();
    Settings = PlayerSettings();
    Downloads = DownloadState();
    RootInterpreter = EventInterpreter();
    SetLiveGameHooks(nullptr);
    SetMapHooks(nullptr);
    TileUnit = 32;
    VariablesTest::TearDown();
  }
  std::vector<std::string> TakeCalls() {
    std::vector<std::string> calls;
    calls.swap(game.calls);
    return calls;
  }
};

TEST_F(LiveSystemVariablesTest, LiveReads) {
  Input.mouseX = 123;
  Input.mouseY = -4;
  game.scrollX = 1283;  // quarter pixels: 320.75 pixels
  game.scrollY = -5;
  SystemStateHub.messageWindowShown = 1;
  SystemStateHub.lastChoiceResult = 3;
  Downloads.progress = {1, 2, 3, 4, 5};
  Downloads.status = 6;
  RootInterpreter.StartOwnEvent({CommandRecord{}}, -1, -1);
  const struct {
    int32_t n;
    int32_t value;
  } cases[] = {
      {12, 1},  {13, 1},  {20, 3},  {23, 12}, {35, 1},  {43, 1},  {47, 5},   {48, 6},  {71, 123},
      {72, -4}, {77, 2026}, {78, 12}, {79, 10}, {80, 19}, {81, 30}, {82, 5}, {84, 1}, {85, 1},
      {95, 70}, {96, 100}, {97, 40}, {98, 100}, {104, 320}, {105, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(Sv(c.n), c.value) << "sv " << c.n;
  // A pending transfer shows its target map.
  SystemStateHub.mapChangePending = 1;
  SystemStateHub.transferMapId = 7;
  EXPECT_EQ(Sv(23), 7);
  TileUnit = 16;
  EXPECT_EQ(Sv(84), 0);
  // The same live values from a snapshot store.
  RootEventRunner snapshotRunner;
  VariableStore snapshot(&snapshotRunner);
  EXPECT_EQ(snapshot.GetVariable(9000071), 123);
  EXPECT_EQ(snapshot.GetVariable(9000095), 70);
}

TEST_F(LiveSystemVariablesTest, DefaultsWithoutTheLiveGame) {
  SetLiveGameHooks(nullptr);
  SetMapHooks(nullptr);
  const struct {
    int32_t n;
    int32_t value;
  } cases[] = {{12, 0}, {13, 0}, {20, -1}, {23, -1}, {35, 0}, {43, 0}, {48, -1}, {85, 1}, {104, 0}, {105, 0}};
  for (const auto& c : cases) EXPECT_EQ(Sv(c.n), c.value) << "sv " << c.n;
  EXPECT_EQ(Variables.GetStringVariable(9900010), "");
  EXPECT_GE(Sv(77), 2000);
}

TEST_F(LiveSystemVariablesTest, ScrollLimits) {
  struct Case {
    int32_t unit;
    bool loop;
    int32_t n, written, pixels;
  } cases[] = {
      {32, false, 104, -50, 0},    {32, false, 104, 9999, 640}, {32, false, 105, 9999, 481},
      {32, false, 105, -3, 0},     {32, true, 104, -9999, -319}, {32, true, 104, 9999, 960},
      {32, true, 105, -9999, -241}, {32, true, 105, 9999, 721},  {16, true, 105, -9999, -121},
      {16, true, 105, 9999, 361},  {16, false, 104, 9999, 320},  {32, false, 104, 100, 100},
  };
  for (const Case& c : cases) {
    TileUnit = c.unit;
    game.loopX = game.loopY = c.loop;
    game.scrollX = game.scrollY = 8;
    SetSv(c.n, c.written);
    EXPECT_EQ(c.n == 104 ? game.scrollX : game.scrollY, c.pixels * 4) << c.unit << " " << c.n << " " << c.written;
    EXPECT_EQ(c.n == 104 ? game.scrollY : game.scrollX, 8);
  }
  // A map narrower than the screen: the upper limit wins.
  TileUnit = 32;
  game.width = 10;
  game.loopX = false;
  SetSv(104, 50);
  EXPECT_EQ(game.scrollX, -320 * 4);
  // A map too large for quarter pixels saturates instead of wrapping.
  game.width = 100000000;
  SetSv(104, INT_MAX);
  EXPECT_EQ(game.scrollX, INT_MAX);
  // A snapshot store does not scroll the live map.
  RootEventRunner snapshotRunner;
  VariableStore snapshot(&snapshotRunner);
  game.scrollX = 0;
  snapshot.SetVariable(9000104, 100);
  EXPECT_EQ(game.scrollX, 0);
}

TEST_F(LiveSystemVariablesTest, VolumesAndSpeeds) {
  SetSv(101, 50);
  SetSv(95, 50);
  SetSv(97, 2000000000);  // 64-bit product: 2e9 x 50 / 100
  SetSv(100, 60);
  SetSv(101, -3);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"ramp 1 0 2", "ramp 0 50 2", "ramp 1 1000000000 2", "ramp 0 60 2",
                                                   "ramp 1 0 2"}));
  EXPECT_EQ(Sv(101), 0);

  SetSv(96, 150);
  SetSv(98, 80);
  game.midi = true;
  SetSv(96, 150);
  SetSv(96, 50);
  SetSv(96, INT_MIN);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"rate 0 150", "rate 1 80", "clear tempo", "tempo 25", "clear tempo",
                                                   "tempo -100", "clear tempo", "tempo " + std::to_string(INT_MIN)}));
  EXPECT_EQ(Sv(98), 80);

  // Master volumes on a snapshot: its field only, the music is not touched.
  RootEventRunner snapshotRunner;
  VariableStore snapshot(&snapshotRunner);
  snapshot.SetVariable(9000100, 30);
  EXPECT_EQ(snapshotRunner.soundValues[0], 30);
  EXPECT_EQ(RootRunner.soundValues[0], 60);
  EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(LiveSystemVariablesTest, FrameSkipMouseAndStrings) {
  SetSv(33, 2);
  EXPECT_EQ(RootRunner.frameSkipMode, 2);
  EXPECT_EQ(TakeCalls(), std::vector<std::string>{"frame skip 2"});
  SetSv(71, 100);
  EXPECT_EQ(Input.mouseX, 100);
  SetSv(72, 50);
  EXPECT_EQ(Input.mouseY, 50);

  EXPECT_EQ(Variables.GetStringVariable(9900010), "hero");
  EXPECT_EQ(Variables.GetStringVariable(9900011), "f1");
  EXPECT_EQ(Variables.GetStringVariable(9900012), "f2");
  Variables.SetStringVariable(9900015, "new5");
  EXPECT_EQ(game.graphics[5], "new5");
  Settings.proxy = "proxy.example";
  EXPECT_EQ(Variables.GetStringVariable(9900020), "proxy.example");
  Variables.SetStringVariable(9900021, "3128");
  EXPECT_EQ(Settings.proxyPort, "3128");
  SystemStateHub.lastMessageText = "last message";
  for (size_t i = 0; i < 10; ++i) SystemStateHub.lastChoiceTexts[i] = "choice" + std::to_string(i + 1);
  EXPECT_EQ(Variables.GetStringVariable(9900025), "last message");
  EXPECT_EQ(Variables.GetStringVariable(9900040), "choice1");
  EXPECT_EQ(Variables.GetStringVariable(9900049), "choice10");
  Variables.SetStringVariable(9900025, "ignored");
  SystemStateHub.panoramaChanged = SystemStateHub.fogChanged = 0;
  Variables.SetStringVariable(9900030, "pano");
  EXPECT_EQ(SystemStateHub.panoramaChanged, 1);
  EXPECT_EQ(SystemStateHub.fogChanged, 0);
  Variables.SetStringVariable(9900031, "fog");
  EXPECT_EQ(SystemStateHub.fogChanged, 1);
  EXPECT_EQ(Variables.GetStringVariable(9900007), "");
  EXPECT_EQ(Variables.GetStringVariable(9900050), "");
  EXPECT_TRUE(TakeErrors().empty());
}

}  // namespace
