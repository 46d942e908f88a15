#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/InterpreterHooks.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/FakeMapHooks.h"

namespace {

// Each event appends its mark to V(0) as a decimal digit: V(0) := V(0) * 10 + mark.
EventCommandList Marks(int32_t mark) {
  return CommandListBuilder()
      .Variable(2000000, 2000000, 10, 0, 2)
      .Variable(2000000, 2000000, mark, 0, 0)
      .Build();
}

class RootPickingTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    map_.mapId = 1;
  }
  void TearDown() override {
    ClearCommonEventRunners();
    InterpreterTest::TearDown();
  }
  void Root() {
    interpreter = EventInterpreter();
    interpreter.Init(0, true);
  }
  FakeMapHooks map_;
};

TEST_F(RootPickingTest, ReservedThenMapEventsInOrderThenAutoStart) {
  CommonEvents.events[2].commands = Marks(2);
  CommonEvents.events[4].commands = Marks(4);
  CommonEvents.events[4].commands.Insert(0, CommandListBuilder().Variable(2000001, 0, 0, 0, 0).Build()[0]);
  CommonEvents.events[4].trigger = 0x01;  // automatic, V(1) > 0
  CommonEvents.events[4].conditionVariable = 2000001;
  map_.Event(7).pages = {Marks(7)};
  map_.Event(3).pages = {Marks(3)};
  map_.Event(7).startRequested = map_.Event(3).startRequested = true;
  map_.events[3] = map_.events[7] = CharacterPosition{};
  map_.pageRefreshPending = true;
  SystemStateHub.reservedCommonEvent = 2;
  Root();
  V(1) = 1;
  interpreter.RunFrame();
  // All four in one frame: the reserved event, the earlier map event, the
  // later one, then the automatic common event whose condition holds.
  EXPECT_EQ(V(0), 2374);
  EXPECT_EQ(map_.pageRefreshes, 1);
  EXPECT_EQ(SystemStateHub.reservedCommonEvent, -1);
  EXPECT_EQ(map_.talkFacingBegun, (std::vector<int32_t>{3, 7}));
  EXPECT_EQ(map_.talkFacingEnded, (std::vector<int32_t>{3, 7}));
  EXPECT_FALSE(map_.Event(3).startRequested);
  EXPECT_FALSE(interpreter.IsRunning());
  EXPECT_EQ(TakeErrors().size(), 0u);
}

TEST_F(RootPickingTest, AnAutorunEventKeepsItsRequestAndRunsAgainInTheSameFrame) {
  map_.Event(5).pages = {CommandListBuilder().Variable(2000001, 2000001, 1, 0, 0).Build()};
  map_.Event(5).trigger = 1;
  map_.Event(5).startRequested = true;
  Root();
  // The page stops holding after three runs.
  static FakeMapHooks* map = nullptr;
  static void (*pick)(EventInterpreter&) = nullptr;
  map = &map_;
  InterpreterHooks hooks = CurrentInterpreterHooks();
  pick = hooks.pickNextEvent;
  hooks.pickNextEvent = [](EventInterpreter& root) {
    if (Variables.GetVariable(2000001) >= 3) map->Event(5).startRequested = false;
    pick(root);
  };
  SetInterpreterHooks(&hooks);
  interpreter.RunFrame();
  EXPECT_EQ(V(1), 3);
  EXPECT_TRUE(map_.talkFacingBegun.empty()) << "an autorun event does not turn";
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(RootPickingTest, AnAutoStartEventWaitsForTheMapEventPickedBeforeIt) {
  CommonEvents.events[1].commands = Marks(1);
  CommonEvents.events[1].trigger = 0x01;  // V(1) > 0
  CommonEvents.events[1].conditionVariable = 2000001;
  map_.Event(2).pages = {CommandListBuilder().Add({180, 3}).Variable(2000001, 1, 0, 0, 0).Build()};
  map_.Event(2).startRequested = true;
  Root();
  interpreter.RunFrame();
  V(1) = 1;  // holds now, while the map event waits
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 0);
  EXPECT_EQ(interpreter.mapEventId, 2);
}

TEST_F(RootPickingTest, TheGlobalRootPicksThroughTheInstalledHook) {
  CommonEvents.events[5].trigger = 0x21;  // V(0) = 0
  CommonEvents.events[5].commands = Marks(5);
  ResetRootInterpreter();
  EXPECT_TRUE(RootInterpreter.rootFlag);
  EXPECT_EQ(RootInterpreter.callDepth, 0);
  EXPECT_EQ(RootInterpreter.autoStartCommonEvents, (std::vector<int32_t>{5}));
  RootInterpreter.RunFrame();
  EXPECT_EQ(V(0), 5);
  RootInterpreter = EventInterpreter();
}

TEST_F(RootPickingTest, AReservedNumberPastTheListIsDropped) {
  CommonEvents.events[1].commands = Marks(1);
  CommonEvents.events[1].trigger = 0x21;  // automatic, V(0) = 0
  SystemStateHub.reservedCommonEvent = 10;
  Root();
  interpreter.RunFrame();
  EXPECT_EQ(SystemStateHub.reservedCommonEvent, -1);
  EXPECT_EQ(V(0), 1) << "the automatic event ran instead, once: its condition no longer holds";
}

TEST_F(RootPickingTest, TheAutoStartListIsLookedUpByNumberWhenPicked) {
  CommonEvents.events[6].trigger = 0x21;
  CommonEvents.events[6].commands = Marks(6);
  Root();
  EXPECT_EQ(interpreter.autoStartCommonEvents, (std::vector<int32_t>{6}));
  // The list is replaced after the runner was built (as a load does): the
  // pick runs what the list holds now.
  CommonEventList reloaded;
  reloaded.events[6].trigger = 0x21;
  reloaded.events[6].commands = Marks(8);
  CommonEvents = reloaded;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 8);
  // An entry that is no longer automatic is not picked.
  V(0) = 0;
  CommonEvents.events[6].trigger = 0x20;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 0);
}

using CommonEventRunnerTest = InterpreterTest;

TEST_F(CommonEventRunnerTest, StartConditionOperators) {
  struct Case {
    uint8_t trigger;
    int32_t value;
    bool holds;
  };
  V(0) = 5;
  for (const Case& c : std::vector<Case>{{0x02, 4, true},  {0x02, 5, false}, {0x12, 5, true},  {0x22, 5, true},
                                         {0x22, 4, false}, {0x32, 5, true},  {0x42, 5, false}, {0x42, 6, true},
                                         {0x52, 5, false}, {0x52, 1, true},  {0x62, 5, true},  {0x62, 6, false},
                                         {0x72, 5, false}, {0xF2, 0, false}}) {
    CommonEvent event;
    event.trigger = c.trigger;
    event.conditionVariable = 2000000;
    event.conditionValue = c.value;
    EXPECT_EQ(CheckCommonEventStart(event), c.holds) << int(c.trigger) << " " << c.value;
  }
}

TEST_F(CommonEventRunnerTest, ParallelAlwaysStartsAtTheFirstFrameAndRestartsFromLineZero) {
  CommonEvents.events[3].trigger = 0x03;
  CommonEvents.events[3].commands = CommandListBuilder().Variable(2000000, 2000000, 1, 0, 0).Build();
  CommonEventRunner runner(3);
  ASSERT_EQ(runner.interpreters.size(), 1u);
  EXPECT_FALSE(runner.interpreters[0].IsRunning());
  runner.RunFrame();
  EXPECT_EQ(V(0), 1);
  EXPECT_FALSE(runner.interpreters[0].IsRunning());
  EXPECT_EQ(runner.interpreters[0].mapEventId, 0);
  runner.RunFrame();
  EXPECT_EQ(V(0), 2);
}

TEST_F(CommonEventRunnerTest, AConditionalRunnerStopsAndStartsOverFromLineZero) {
  CommonEvents.events[2].trigger = 0x22;  // while V(1) = 1
  CommonEvents.events[2].conditionVariable = 2000001;
  CommonEvents.events[2].conditionValue = 1;
  CommonEvents.events[2].commands =
      CommandListBuilder().Variable(2000000, 2000000, 1, 0, 0).Add({180, 5}).Variable(2000002, 1, 0, 0, 0).Build();
  RefreshCommonEventRunner(2);
  CommonEventRunner* runner = FindCommonEventRunner(2);
  ASSERT_NE(runner, nullptr);
  EXPECT_TRUE(runner->interpreters.empty());
  RunCommonEventRunner(2);
  EXPECT_EQ(V(0), 0);

  V(1) = 1;
  RefreshCommonEventRunner(2);
  RunCommonEventRunner(2);
  EXPECT_EQ(V(0), 1);
  const int32_t line = runner->interpreters[0].line;
  RefreshCommonEventRunner(2);  // still holds: untouched
  EXPECT_EQ(runner->interpreters[0].line, line);
  EXPECT_TRUE(runner->interpreters[0].IsRunning());

  V(1) = 0;
  RefreshCommonEventRunner(2);
  EXPECT_TRUE(runner->interpreters.empty()) << "stopped in the middle";
  V(1) = 1;
  RefreshCommonEventRunner(2);
  RunCommonEventRunner(2);
  EXPECT_EQ(V(0), 2) << "from line 0 again";
  EXPECT_EQ(V(2), 0);

  // Kinds 0 and 1, and an operator that never holds, get no interpreter.
  for (uint8_t trigger : {uint8_t{0x20}, uint8_t{0x21}, uint8_t{0x72}}) {
    CommonEvents.events[2].trigger = trigger;
    RefreshCommonEventRunner(2);
    EXPECT_TRUE(runner->interpreters.empty()) << int(trigger);
  }
  ClearCommonEventRunners();
  EXPECT_EQ(FindCommonEventRunner(2), nullptr);
}

TEST_F(CommonEventRunnerTest, AStoppedRunnerLetsGoOfItsMessageWaiter) {
  CommonEvents.events[2].trigger = 0x22;  // while V(1) = 1
  CommonEvents.events[2].conditionVariable = 2000001;
  CommonEvents.events[2].conditionValue = 1;
  CommonEvents.events[2].commands = CommandListBuilder().Add({101}, {"m"}).Build();
  V(1) = 1;
  RefreshCommonEventRunner(2);
  RunCommonEventRunner(2);
  ASSERT_NE(SystemStateHub.messageWaiter, 0u);
  EXPECT_EQ(SystemStateHub.messageWaiter, static_cast<uint64_t>(FindCommonEventRunner(2)->interpreters[0].serial));
  V(1) = 0;
  RefreshCommonEventRunner(2);
  EXPECT_EQ(SystemStateHub.messageWaiter, 0u);
  EXPECT_EQ(SystemStateHub.messageWaiterMode, -1);
  ClearCommonEventRunners();
}

}  // namespace
