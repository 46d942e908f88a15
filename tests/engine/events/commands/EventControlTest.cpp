#include <string>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/events/commands/DownloadState.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/FakeMapHooks.h"

namespace {

class EventControlTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    map_.mapId = 1;
    map_.Event(4).pages = {CommandListBuilder().Build()};
  }
  // Runs the list as map event `self` of the current map.
  void RunAsEvent(int32_t self, const EventCommandList& list) {
    interpreter = EventInterpreter();
    interpreter.StartOwnEvent(list, self, -1);
    interpreter.RunFrame();
  }
  FakeMapHooks map_;
};

TEST_F(EventControlTest, EraseThisEventEndsItWithOrWithoutAMapEvent) {
  const EventCommandList list = CommandListBuilder().Add({173, -1, 20}).Variable(2000000, 1, 0, 0, 0).Build();
  RunAsEvent(4, list);
  EXPECT_EQ(map_.erased, (std::vector<std::pair<int32_t, int32_t>>{{4, 20}}));
  EXPECT_FALSE(interpreter.IsRunning());

  // A common event without a map event: nothing to erase, and the event ends
  // instead of holding its line (and the root) for good.
  map_.erased.clear();
  RunAsEvent(-1, list);
  EXPECT_FALSE(interpreter.IsRunning());
  EXPECT_TRUE(map_.erased.empty());

  // Started on another map: ends without erasing on the new one.
  interpreter = EventInterpreter();
  interpreter.StartOwnEvent(list, 4, -1);
  map_.mapId = 2;
  interpreter.RunFrame();
  EXPECT_FALSE(interpreter.IsRunning());
  EXPECT_TRUE(map_.erased.empty());
  EXPECT_EQ(V(0), 0);
}

TEST_F(EventControlTest, EraseAnotherEventGoesOnAtTheNextFrame) {
  V(3) = 4;
  RunAsEvent(-1, CommandListBuilder().Add({173, 2000003, 0}).Add({173, 9, 0}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(map_.erased, (std::vector<std::pair<int32_t, int32_t>>{{4, 0}}));
  EXPECT_EQ(V(0), 0);
  interpreter.RunFrame();
  EXPECT_EQ(map_.erased.size(), 1u) << "event 9 is not on the map";
  EXPECT_EQ(V(0), 0);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 1);
}

TEST_F(EventControlTest, TitleQuitEndAndMapDrawing) {
  RunAsEvent(-1, CommandListBuilder().Add({177}).Add({172}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(RootRunner.mapDrawing, 0);
  EXPECT_EQ(V(0), 0);
  RunAsEvent(-1, CommandListBuilder().Add({178}).Add({174}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(RootRunner.mapDrawing, 1);
  EXPECT_EQ(SystemStateHub.gameState, 0);
  EXPECT_FALSE(interpreter.IsRunning());
  SystemStateHub.gameState = 1;
  RunAsEvent(-1, CommandListBuilder().Add({175}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(SystemStateHub.gameState, -1);
  EXPECT_EQ(V(0), 0);
}

TEST_F(EventControlTest, WaitsAndMoveRoutes) {
  V(1) = -4;
  RunAsEvent(-1, CommandListBuilder().Add({180, 2000001}).Variable(2000000, 1, 0, 0, 0).Add({180, 2}).Build());
  EXPECT_EQ(V(0), 1) << "a negative wait goes on at once";
  EXPECT_EQ(interpreter.waitFrames, 1) << "counted down from the same frame";

  CommandRecord route;
  route.arguments = {201, -1};
  route.routes.resize(1);
  std::vector<CommandRecord> records = {route, route, route};
  records[1].arguments = {201, 77};  // no such event: dropped
  records[2].arguments = {202};
  EventCommandList list = records;
  list.push_back(CommandListBuilder().Build().back());
  map_.events[4] = CharacterPosition{};
  map_.moveRoutesRunning = true;
  RunAsEvent(4, list);
  EXPECT_EQ(map_.routesForced, (std::vector<int32_t>{4}));
  EXPECT_TRUE(interpreter.waitingForMoveRoutes);
  EXPECT_TRUE(interpreter.IsRunning());
}

TEST_F(EventControlTest, ToneAndFlash) {
  RunAsEvent(-1, CommandListBuilder().Add({151, 200 | (100 << 8) | (100 << 16), 0}).Build());
  EXPECT_EQ(RootRunner.targetTone[0], 255);
  EXPECT_EQ(RootRunner.targetTone[1], 0);
  EXPECT_EQ(RootRunner.targetTone[2], 0);
  EXPECT_EQ(RootRunner.toneCounter, 1);
  RunAsEvent(-1, CommandListBuilder().Add({151, 0, 10}).Build());
  EXPECT_EQ(RootRunner.targetTone[2], -255);
  EXPECT_EQ(RootRunner.toneTotal, 11);
  RunAsEvent(-1, CommandListBuilder().Add({151, (1 << 24) | 200 | (200 << 8) | (150 << 16), 30}).Build());
  EXPECT_EQ(RootRunner.flashColor[0], 255);
  EXPECT_EQ(RootRunner.flashColor[2], 127);
  EXPECT_EQ(RootRunner.flashCounter, 31);
  EXPECT_EQ(RootRunner.targetTone[2], -255) << "the tone stays";
}

TEST_F(EventControlTest, DownloadIsRecordedNotFetched) {
  Downloads = DownloadState();
  EXPECT_EQ(Downloads.status, -1);
  V(2) = 42;
  RunAsEvent(-1, CommandListBuilder().Add({260, 1, 5}, {"@7\nhttp://x/\\v[2]\\c[1]", ""}).Build());
  EXPECT_EQ(Downloads.status, 0);
  EXPECT_EQ(Downloads.progress, (std::array<int32_t, 5>{}));
  EXPECT_EQ(RootRunner.systemValues0To4[0], 7) << "the leading number line";
}

class PartyTest : public EventControlTest {
 protected:
  void Party(std::vector<int32_t> arguments, std::vector<std::string> strings = {}) {
    arguments.insert(arguments.begin(), 270);
    RunAsEvent(-1, CommandListBuilder().Add(std::move(arguments), std::move(strings)).Build());
  }
  std::vector<std::string> Graphics() const {
    return std::vector<std::string>(map_.partyGraphics.begin() + 1, map_.partyGraphics.end());
  }
  void SetGraphics(std::vector<std::string> g) {
    for (size_t m = 0; m < g.size(); ++m) map_.partyGraphics[m + 1] = g[m];
  }
};

TEST_F(PartyTest, Table) {
  using G = std::vector<std::string>;
  struct Case {
    const char* name;
    G before;
    std::vector<int32_t> arguments;
    std::vector<std::string> strings;
    G after;
  };
  const G abc = {"A", "", "B", "", "C", ""};
  const G full = {"1", "2", "3", "4", "5", "6"};
  for (const Case& c : std::vector<Case>{
           {"empty member 3", full, {0, 3}, {}, {"1", "2", "", "4", "5", "6"}},
           {"insert at the hero", full, {1, 1}, {"N"}, {"N", "1", "2", "3", "4", "5"}},
           {"insert at 6", full, {1, 6}, {"N"}, {"1", "2", "3", "4", "5", "N"}},
           {"set member 2", full, {2, 2}, {"N"}, {"1", "N", "3", "4", "5", "6"}},
           {"remove a name two carry", {"X", "1", "X", "", "", ""}, {3}, {"X"}, {"", "1", "", "", "", ""}},
           {"remove the empty name", abc, {3}, {""}, abc},
           {"pack", abc, {4}, {}, {"A", "B", "C", "", "", ""}},
           {"clear all", full, {0x14}, {}, G(6)},
           {"restore before any save", full, {0x84}, {}, G(6)},
           {"member 7", full, {2, 7}, {"N"}, full},
           {"member 0", full, {0, 0}, {}, full},
       }) {
    RootRunner.partyNames.clear();
    SetGraphics(c.before);
    Party(c.arguments, c.strings);
    EXPECT_EQ(Graphics(), c.after) << c.name;
  }
  const std::vector<ErrorScreenLines> errors = TakeErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].line2, "この指定は「6」人目以下でなければなりません");
  EXPECT_EQ(errors[1].line2, "この指定は「1」人目以上でなければなりません");
  EXPECT_EQ(map_.followerImages.size(), 11u) << "every command renews the followers' images, failing ones too";
}

TEST_F(PartyTest, SaveRestoreFollowingOpacityAndNamesFromVariables) {
  SetGraphics({"1", "2", "3", "", "", ""});
  Party({0x74});
  SetGraphics(std::vector<std::string>(6, "z"));
  Party({0x84});
  EXPECT_EQ(Graphics(), (std::vector<std::string>{"1", "2", "3", "", "", ""}));
  Party({0x24});
  Party({0x34});
  EXPECT_EQ(map_.followerResets, 1);
  EXPECT_EQ(map_.followersStopped, 1);
  Party({0x44});
  EXPECT_EQ(map_.followersStopped, 0);
  Party({0x54});
  EXPECT_EQ(map_.partyOpacity, 0);
  Party({0x64});
  EXPECT_EQ(map_.partyOpacity, 255);
  Party({0xA4});
  EXPECT_EQ(RootRunner.partyFlag, 0);
  Party({0x94});
  EXPECT_EQ(RootRunner.partyFlag, 1);

  // The name from a string variable, or from the variable that names one.
  Variables.SetStringVariable(3000004, "S");
  V(6) = 3000004;
  V(1) = 2;
  Party({0x102, 2000001, 3000004});
  EXPECT_EQ(Graphics()[1], "S");
  Party({0x102, 1, 2000006});
  EXPECT_EQ(Graphics()[0], "S");
  RootRunner.followerSetting = 0x1234;
  Party({0x14});
  EXPECT_EQ(map_.followerImages.back(), 0x34);
}

}  // namespace
