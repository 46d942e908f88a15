#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/file/ByteCursor.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/StartupSettings.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/CommonEventFileWriter.h"
#include "tests/support/FakeMapHooks.h"
#include "tests/support/TestDirectory.h"

namespace {

class EventCallTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    // Common event k sets V(0) := k.
    for (int32_t k = 0; k < CommonEvents.Count(); ++k) {
      CommonEvents.events[static_cast<size_t>(k)].commands = CommandListBuilder().Variable(2000000, k, 0, 0, 0).Build();
    }
  }
  void TearDown() override {
    TestPlayFlag = 0;
    InterpreterTest::TearDown();
  }

  // Runs one command as common event `caller` (its own list).
  void RunAs(int32_t caller, std::vector<int32_t> arguments, std::vector<std::string> strings = {}) {
    interpreter = EventInterpreter();
    interpreter.StartOwnEvent(CommandListBuilder().Add(std::move(arguments), std::move(strings)).Build(), -1, caller);
    interpreter.RunFrame();
  }

  static int32_t CommonSelf(int32_t n, int32_t slot) {
    return Variables.commonSelfIntegers[static_cast<size_t>(n)][static_cast<size_t>(slot)];
  }
};

TEST_F(EventCallTest, ArgumentsReachTheCalleesSelfVariablesBeforeItsFirstCommand) {
  CommonEvents.events[3].commands =
      CommandListBuilder().Variable(2000000, 1600000, 0, 0, 0).Variable(2000001, 1600001, 0, 0, 0).Build();
  V(4) = 77;
  Variables.SetStringVariable(3000002, "abc");
  RunAs(0, {210, 500003, 0x12, 5, 2000004, 3000002});
  EXPECT_EQ(V(0), 5);
  EXPECT_EQ(V(1), 77);
  EXPECT_EQ(Variables.commonSelfStrings[3][0], "abc");
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(EventCallTest, EveryArgumentIsReadBeforeTheFirstIsStored) {
  Variables.commonSelfIntegers[3][0] = 10;
  Variables.commonSelfIntegers[3][1] = 20;
  // Common event 3 calls itself with its self variables swapped.
  RunAs(3, {210, 600100, 2, 1600001, 1600000});
  EXPECT_EQ(CommonSelf(3, 0), 20);
  EXPECT_EQ(CommonSelf(3, 1), 10);
}

TEST_F(EventCallTest, MissingArgumentsReadZeroAndEmpty) {
  Variables.commonSelfIntegers[2] = std::vector<int32_t>(100, 5);
  Variables.commonSelfStrings[2][0] = "old";
  RunAs(0, {210, 500002, 0x13, 9});
  EXPECT_EQ(CommonSelf(2, 0), 9);
  EXPECT_EQ(CommonSelf(2, 1), 0);
  EXPECT_EQ(CommonSelf(2, 2), 0);
  EXPECT_EQ(Variables.commonSelfStrings[2][0], "");
  EXPECT_EQ(V(0), 2);
}

TEST_F(EventCallTest, RelativeNumbersAreClampedToTheList) {
  struct Case {
    int32_t caller;
    int32_t reference;
    int32_t called;
  };
  V(5) = INT32_MAX;  // read through the variable: far past the list
  for (const Case& c : std::vector<Case>{{7, 600100, 7},
                                         {7, 600099, 6},
                                         {7, 600101, 8},
                                         {7, 600000, 0},
                                         {-1, 600100, 0},
                                         {7, 2000005, 9},
                                         {0, 500009, 9}}) {
    V(0) = -1;
    RunAs(c.caller, {210, c.reference, 0});
    EXPECT_EQ(V(0), c.called) << c.caller << " " << c.reference;
  }
}

TEST_F(EventCallTest, MapEventPagesAndMissingTargets) {
  FakeMapHooks map;
  map.Event(5).pages = {CommandListBuilder().Variable(2000000, 100, 0, 0, 0).Build(),
                        CommandListBuilder().Variable(2000000, 200, 0, 0, 0).Build()};
  map.Event(5).activePage = 1;
  TestPlayFlag = 1;
  struct Case {
    int32_t self;
    int32_t reference;
    int32_t page;
    int32_t value;  // of V(0); -1 nothing ran
  };
  for (const Case& c : std::vector<Case>{{-1, 5, -1, 200}, {-1, 5, 0, 100}, {5, -1, -1, 200}, {-1, 5, 2, -1}, {-1, 6, -1, -1}}) {
    V(0) = -1;
    interpreter = EventInterpreter();
    interpreter.StartOwnEvent(CommandListBuilder().Add({210, c.reference, c.page}).Build(), c.self, -1);
    interpreter.RunFrame();
    EXPECT_EQ(V(0), c.value) << c.reference << " page " << c.page;
  }
  const std::vector<ErrorScreenLines> errors = TakeErrors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].line1, "【テストプレイ専用エラー】");
  EXPECT_EQ(errors[0].line2, "存在しないマップEv5,ページ3を呼び出そうとしました");
  RunAs(0, {210, 500010, 0});
  ASSERT_EQ(TakeErrors().size(), 1u);
  TestPlayFlag = 0;
  RunAs(0, {210, 500010, 0});
  EXPECT_TRUE(TakeErrors().empty()) << "only in test play";
}

TEST_F(EventCallTest, ReserveCommonAndMapEvents) {
  FakeMapHooks map;
  map.Event(2).pages = {CommandListBuilder().Variable(2000000, 1, 0, 0, 0).Build()};
  map.Event(3).pages = {CommandListBuilder().Build()};  // nothing to run
  RunAs(4, {211, 600101, 0});
  EXPECT_EQ(SystemStateHub.reservedCommonEvent, 5);
  RunAs(4, {211, 2, 0});
  RunAs(4, {211, 3, 0});
  RunAs(4, {211, 2, 1});
  RunAs(4, {211, -1, 0});
  EXPECT_TRUE(map.Event(2).startRequested);
  EXPECT_FALSE(map.Event(3).startRequested);
  EXPECT_EQ(V(0), 0) << "nothing ran at once";
}

class CallByNameTest : public EventCallTest {
 protected:
  static std::vector<CommonEvent> Events(int32_t value) {
    std::vector<CommonEvent> events(2);
    events[0].name = "X";
    events[0].commands = CommandListBuilder().Variable(2000000, 2000000, value, 0, 0).Build();  // V(0) += value
    events[1].name = "Y";
    events[1].commands = CommandListBuilder().Variable(2000001, 7, 0, 0, 0).Build();
    return events;
  }
  TestDirectory dir_;
};

TEST_F(CallByNameTest, ACommonFileIsReadOnceAndForgottenWhenTheListIsReadAnew) {
  const std::string path = dir_.Write("Extra.common", WriteCommonEventFile(Events(1)));
  V(0) = 0;
  RunAs(0, {300, 0, 0}, {path});
  EXPECT_EQ(V(0), 1);
  ASSERT_EQ(CommonEvents.Count(), 12);
  EXPECT_EQ(Variables.commonSelfIntegers.size(), 12u);
  EXPECT_EQ(Variables.commonSelfStrings[11].size(), 5u);
  dir_.Write("Extra.common", WriteCommonEventFile(Events(100)));
  RunAs(0, {300, 0, 0}, {path});
  EXPECT_EQ(V(0), 2) << "the registered number, not a second read";
  EXPECT_EQ(CommonEvents.Count(), 12);
  RunAs(0, {300, 0, 0}, {"Y"});
  EXPECT_EQ(V(1), 7) << "names of the file's events are known";

  // The title reads the list anew: the file counts as unread.
  const std::string dat = WriteCommonEventDat(std::vector<CommonEvent>(10));
  ByteCursor file(std::vector<uint8_t>(dat.begin(), dat.end()));
  ASSERT_TRUE(CommonEvents.ReadCommonEventsFile(file, "CommonEvent.dat"));
  EXPECT_TRUE(CommonEvents.commonFileRegistry.empty());
  RunAs(0, {300, 0, 0}, {path});
  EXPECT_EQ(V(0), 102);
}

TEST_F(CallByNameTest, NamesUnknownOrUnreadableDoNothingAndExpandedNamesAreLookedUp) {
  CommonEvents.events[4].name = "Four";
  CommonEvents.RebuildNameMap();
  V(0) = -1;
  RunAs(0, {300, 0, 0}, {"None"});
  RunAs(0, {300, 0, 0}, {dir_.File("missing.common")});
  EXPECT_EQ(V(0), -1);
  EXPECT_EQ(CommonEvents.Count(), 10);
  Variables.SetStringVariable(3000001, "Four");
  RunAs(0, {300, 0, 0x100}, {"\\s[1]"});
  EXPECT_EQ(V(0), 4);
}

TEST_F(EventCallTest, NestingIsBoundedForCommonAndMapEventCalls) {
  // Each calls itself: the chain stops at the bound with one error screen,
  // and every level then finishes in the same frame.
  CommonEvents.events[0].commands = CommandListBuilder().Add({210, 500000, 0}).Variable(2000001, 2000001, 1, 0, 0).Build();
  RunAs(0, {210, 500000, 0});
  EXPECT_EQ(TakeErrors().size(), 1u);
  EXPECT_EQ(V(1), EventInterpreter::kMaxCallDepth);
  EXPECT_FALSE(interpreter.IsRunning());

  FakeMapHooks map;
  map.Event(1).pages = {CommandListBuilder().Add({210, -1, -1}).Variable(2000002, 2000002, 1, 0, 0).Build()};
  interpreter = EventInterpreter();
  interpreter.StartOwnEvent(map.Event(1).pages[0], 1, -1);
  interpreter.RunFrame();
  EXPECT_EQ(TakeErrors().size(), 1u);
  EXPECT_EQ(V(2), EventInterpreter::kMaxCallDepth + 1);
  EXPECT_FALSE(interpreter.IsRunning());
}

}  // namespace
