#include <algorithm>
#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Database.h"
#include "engine/events/InterpreterHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/FakeMapHooks.h"

namespace {

using RunLoopTest = InterpreterTest;

// A text field of the fake runtime.
struct FakeTextField {
  int state = 0;
  bool textFails = false;
  std::string text;
  int32_t capacitySeen = 0;
  int deletes = 0;
};
FakeTextField field;

const InterpreterHooks kFakeText = {
    [](int) { return field.state; },
    [](int, char* buffer, int32_t capacity) {
      field.capacitySeen = capacity;
      if (field.textFails) return false;
      const size_t n = std::min(field.text.size(), static_cast<size_t>(capacity) - 1);
      field.text.copy(buffer, n);
      buffer[n] = '\0';
      return true;
    },
    [](int) { ++field.deletes; },
    nullptr,
    nullptr,
};

TEST_F(RunLoopTest, AnEndOnlyEventEndsAndAnIdleRootPicksTheNextInTheSameFrame) {
  static int picks = 0;
  picks = 0;
  static const InterpreterHooks kPick = {nullptr, nullptr, nullptr, [](EventInterpreter& root) {
                                           if (++picks == 1) root.StartOwnEvent(CommandListBuilder().Variable(2000000, 3, 0, 0, 0).Build(), -1, -1);
                                         },
                                         nullptr};
  SetInterpreterHooks(&kPick);
  interpreter.Init(0, true);
  interpreter.StartOwnEvent(CommandListBuilder().Build(), -1, -1);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 3);
  EXPECT_EQ(picks, 2);
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(RunLoopTest, ALabelAloneCostsOneCountAndTheBudgetShowsItsErrorOnce) {
  interpreter.StartOwnEvent(CommandListBuilder().Label("a").Build(), -1, -1);
  interpreter.RunFrame();
  EXPECT_FALSE(interpreter.IsRunning());
  EXPECT_EQ(interpreter.commandsThisFrame, 3) << "the label's count, the end's pass and the idle pass";

  interpreter.StartOwnEvent(CommandListBuilder().Loop().Variable(2000000, 1, 0, 1, 0).EndLoop().Build(), 4, -1);
  interpreter.RunFrame();
  const auto errors = TakeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].line1.rfind("1フレームあたりの処理が500000個を越えました！ イベント4 (コモン-1) ", 0), 0u);
  EXPECT_EQ(interpreter.waitFrames, 4) << "the first frame of the pause is the frame of the error";
  const int32_t after = V(0);
  for (int i = 0; i < 4; ++i) interpreter.RunFrame();
  EXPECT_EQ(V(0), after) << "paused five frames";
  interpreter.RunFrame();
  EXPECT_GT(V(0), after);
}

TEST_F(RunLoopTest, GameStateStopFlagAndWaits) {
  FakeMapHooks map;
  const auto list = CommandListBuilder().Variable(2000000, 1, 0, 1, 0).Build();
  struct Case {
    const char* name;
    void (*set)(EventInterpreter&, FakeMapHooks&);
  };
  const Case cases[] = {
      {"game state 0", [](EventInterpreter&, FakeMapHooks&) { SystemStateHub.gameState = 0; }},
      {"state loaded", [](EventInterpreter&, FakeMapHooks&) { SystemStateHub.stateLoaded = 1; }},
      {"message", [](EventInterpreter& i, FakeMapHooks&) { i.waitingForMessage = true; }},
      {"transition", [](EventInterpreter&, FakeMapHooks&) { SystemStateHub.transitionActive = SystemStateHub.transitionWait = 1; }},
      {"move routes", [](EventInterpreter& i, FakeMapHooks& m) { i.waitingForMoveRoutes = m.moveRoutesRunning = true; }},
      {"scroll", [](EventInterpreter&, FakeMapHooks& m) { SystemStateHub.waitForScroll = m.scrolling = true; }},
      {"key input", [](EventInterpreter& i, FakeMapHooks&) { i.waitingForKeyInput = true; }},
      {"wait", [](EventInterpreter& i, FakeMapHooks&) { i.waitFrames = 1; }},
  };
  for (const Case& c : cases) {
    SystemStateHub = SystemState();
    SystemStateHub.gameState = 1;
    map.moveRoutesRunning = map.scrolling = false;
    V(0) = 0;
    interpreter.StartOwnEvent(list, -1, -1);
    c.set(interpreter, map);
    interpreter.RunFrame();
    EXPECT_EQ(V(0), 0) << c.name;
  }
  // A move-route or scroll wait ends in the frame its condition ends.
  map.moveRoutesRunning = false;
  interpreter.StartOwnEvent(list, -1, -1);
  interpreter.waitingForMoveRoutes = true;
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 1);
  EXPECT_FALSE(interpreter.waitingForMoveRoutes);
}

TEST_F(RunLoopTest, AParentWaitsForItsChildAndGoesOnInTheFrameItEnds) {
  CommonEvents.events[1].commands = CommandListBuilder().Variable(2000001, 5, 0, 0, 0).Build();
  interpreter.StartOwnEvent(CommandListBuilder().Variable(2000000, 1, 0, 0, 0).Build(), -1, -1);
  ASSERT_TRUE(interpreter.StartChild(1));
  interpreter.RunFrame();
  EXPECT_EQ(V(1), 5);
  EXPECT_EQ(V(0), 1);
  EXPECT_TRUE(interpreter.children.empty());
}

TEST_F(RunLoopTest, NestingIsBoundedForEveryChildWithoutEndingTheProcess) {
  EventInterpreter* at = &interpreter;
  int32_t depth = 0;
  while (at->StartChild(0)) {
    at = &at->children.front();
    ++depth;
  }
  EXPECT_EQ(depth, EventInterpreter::kMaxCallDepth);
  EXPECT_EQ(TakeErrors().size(), 1u);
  EventInterpreter deep;
  EXPECT_FALSE(deep.Init(EventInterpreter::kMaxCallDepth + 1, false));
  EXPECT_EQ(TakeErrors().size(), 1u);
}

TEST_F(RunLoopTest, TextEntryFinishedCancelledOrFailed) {
  SetInterpreterHooks(&kFakeText);
  Variables.SetStringVariable(3000000, "");
  struct Case {
    int state;
    bool fails;
    std::string typed, stored;
    int32_t result;
  };
  const std::string longText(300, 'x');
  const Case cases[] = {
      {1, false, "a\\b", "saved:a\\\\b", 0},
      {1, false, "\x95\\", "saved:\x95\\", 0},  // a trail byte is no backslash of its own
      {1, false, longText, "saved:" + longText, 0},
      {2, false, "typed", "saved:", -1},
      {1, true, "typed", "saved:", -1},
  };
  for (const Case& c : cases) {
    field = FakeTextField();
    field.state = c.state;
    field.textFails = c.fails;
    field.text = c.typed;
    interpreter.StartOwnEvent(CommandListBuilder().Build(), -1, -1);
    interpreter.textInput.handle = 7;
    interpreter.textInputMaxLength = 300;
    interpreter.textInputTarget = 3000000;
    interpreter.textInputText = "saved:";
    SystemStateHub.textEntryActive = 1;
    interpreter.RunFrame();
    EXPECT_EQ(Variables.GetStringVariable(3000000), c.stored);
    EXPECT_EQ(RootRunner.textEntryResult, c.result);
    EXPECT_EQ(interpreter.textInput.handle, 0);
    EXPECT_EQ(field.deletes, 1);
    EXPECT_EQ(SystemStateHub.textEntryActive, 0);
    if (!c.fails && c.state == 1) {
      EXPECT_EQ(field.capacitySeen, 301);
    }
  }
}

TEST_F(RunLoopTest, ARunnerRemovedWithItsTextEntryOpenClosesIt) {
  SetInterpreterHooks(&kFakeText);
  field = FakeTextField();
  interpreter.StartOwnEvent(CommandListBuilder().Build(), -1, -1);
  ASSERT_TRUE(interpreter.StartChild(0));
  interpreter.children.front().textInput.handle = 9;
  SystemStateHub.textEntryActive = 1;
  {
    EventInterpreter copy = interpreter;  // a copy does not take the field over
    EXPECT_EQ(copy.children.front().textInput.handle, 0);
  }
  EXPECT_EQ(field.deletes, 0);
  interpreter.Reset();
  EXPECT_EQ(field.deletes, 1);
  EXPECT_EQ(SystemStateHub.textEntryActive, 0);
}

TEST_F(RunLoopTest, DatabaseRangeErrorAfterTheCommand) {
  interpreter.StartOwnEvent(CommandListBuilder().Variable(2000000, 1000000000 + 9 * 100, 0, 0, 0).Build(), 3, -1);
  interpreter.RunFrame();
  bool found = false;
  // Reported when the dispatch returns: after the end command of line 1.
  for (const auto& e : TakeErrors()) found |= e.line1 == "Ev3 Common-1 Line1 DBの存在しない部分を読みに行こうとしました";
  EXPECT_TRUE(found);
  EXPECT_EQ(DatabaseRangeErrorFlag, 0);
}

TEST_F(RunLoopTest, EndingTheRootsEventEndsTalkFacingUnlessASaveWasJustLoaded) {
  FakeMapHooks map;
  map.events[4] = {};
  interpreter.Init(0, true);
  interpreter.StartOwnEvent(CommandListBuilder().Build(), 4, -1);
  interpreter.RunFrame();
  EXPECT_EQ(map.talkFacingEnded, std::vector<int32_t>{4});
  SystemStateHub.sceneReload = 1;
  interpreter.StartOwnEvent(CommandListBuilder().Build(), 4, -1);
  interpreter.RunFrame();
  EXPECT_EQ(map.talkFacingEnded.size(), 1u);
}

TEST_F(RunLoopTest, ResolveCharacter) {
  FakeMapHooks map;
  map.events[2] = {};
  map.party.resize(3);  // hero and two followers
  interpreter.StartOwnEvent(CommandListBuilder().Build(), 2, -1);
  V(9) = -3;
  struct Case {
    int32_t argument;
    CharacterReference expected;
  };
  const Case cases[] = {
      {-1, {CharacterReference::kMapEvent, 2}}, {-2, {CharacterReference::kHero, 0}},
      {2000009, {CharacterReference::kFollower, 1}}, {-4, {CharacterReference::kFollower, 2}},
      {-5, {}}, {2, {CharacterReference::kMapEvent, 2}}, {3, {}}, {INT32_MIN, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(interpreter.ResolveCharacter(c.argument), c.expected) << c.argument;
}

}  // namespace
