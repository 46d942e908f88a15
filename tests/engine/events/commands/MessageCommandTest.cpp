#include <string>

#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

using MessageCommandTest = InterpreterTest;

// The test is the message window: it takes the text and closes.
std::string CloseMessageWindow() {
  std::string shown;
  shown.swap(SystemStateHub.pendingMessageText);
  SystemStateHub.ReleaseMessageWaiter();
  return shown;
}

// ... and the choice window.
std::string Choose(int32_t value) {
  std::string shown;
  shown.swap(SystemStateHub.pendingChoiceText);
  SystemStateHub.DeliverChoiceResult(value);
  return shown;
}

// A message, then choices A and B whose cases set V(0), then V(1) := 9.
EventCommandList MessageWithChoices(std::vector<std::string> choices, int32_t word = 2) {
  return CommandListBuilder()
      .Add({101}, {"Q"})
      .Add({102, word}, std::move(choices))
      .Add({401, 1})
      .Indent()
      .Variable(2000000, 1, 0, 0, 0)
      .Case(2)
      .Variable(2000000, 2, 0, 0, 0)
      .Case(3)
      .Variable(2000000, 3, 0, 0, 0)
      .EndBranch()
      .Variable(2000001, 9, 0, 0, 0)
      .Build();
}

TEST_F(MessageCommandTest, AMessageWaitsForTheWindowAndGoesOnAtTheNextTurn) {
  RootRunner.messagePrefix = "<";
  RootRunner.messageSuffix = ">";
  RunPlain(CommandListBuilder().Add({101}, {"Hi"}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_TRUE(interpreter.waitingForMessage);
  EXPECT_EQ(SystemStateHub.messageWaiter, static_cast<uint64_t>(interpreter.serial));
  EXPECT_EQ(SystemStateHub.lastMessageText, "<Hi>");
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 0) << "still waiting";
  EXPECT_EQ(CloseMessageWindow(), "<Hi>");
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 1);
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(MessageCommandTest, AnEmptyMessageShowsOneSpaceAndWaits) {
  RunPlain(CommandListBuilder().Add({101}, {""}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(SystemStateHub.pendingMessageText, " ");
  EXPECT_EQ(SystemStateHub.lastMessageText, "");
  EXPECT_EQ(V(0), 0);
}

TEST_F(MessageCommandTest, AMessageWithChoicesOpensBothAndResumesAfterTheChosenCase) {
  RunPlain(MessageWithChoices({"A", "B"}, 2 | (3 << 4)));
  EXPECT_EQ(SystemStateHub.pendingMessageText, "Q");
  EXPECT_EQ(SystemStateHub.choiceWithMessage, 1);
  EXPECT_EQ(SystemStateHub.choiceCount, 2);
  EXPECT_EQ(SystemStateHub.cancelChoice, 1);
  EXPECT_EQ(SystemStateHub.lastChoiceTexts[1], "B");
  EXPECT_EQ(Choose(2), "A\nB\n");
  CloseMessageWindow();
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 2);
  EXPECT_EQ(V(1), 9);
}

TEST_F(MessageCommandTest, ChoicesOfAPreparedCommonEvent) {
  for (int32_t chosen : {1, 3}) {
    SystemStateHub = SystemState();
    V(1) = 0;
    RunPrepared(MessageWithChoices({"A", "B", "C"}, 3));
    Choose(chosen);
    CloseMessageWindow();
    interpreter.RunFrame();
    EXPECT_EQ(V(0), chosen);
    EXPECT_EQ(V(1), 9);
  }
}

TEST_F(MessageCommandTest, ChoicesThatAllExpandEmpty) {
  // On their own: no window, the cancel case at once, in the same frame.
  RunPlain(CommandListBuilder()
               .Add({102, 2 | (3 << 4)}, {"", ""})
               .Add({401, 3})
               .Indent()
               .Variable(2000000, 3, 0, 0, 0)
               .EndBranch()
               .Build());
  EXPECT_EQ(V(0), 3);
  EXPECT_TRUE(SystemStateHub.pendingChoiceText.empty());
  EXPECT_EQ(SystemStateHub.closeChoiceRequest, 1);
  EXPECT_FALSE(interpreter.IsRunning());

  // After a message: the case is taken, but the event waits for the message.
  SystemStateHub = SystemState();
  V(0) = 0;
  RunPlain(MessageWithChoices({"", ""}, 2 | (3 << 4)));
  EXPECT_TRUE(interpreter.waitingForMessage);
  EXPECT_EQ(SystemStateHub.choiceWithMessage, 0);
  EXPECT_EQ(V(1), 0);
  interpreter.RunFrame();
  EXPECT_EQ(V(1), 0) << "the message is still shown";
  CloseMessageWindow();
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 3);
  EXPECT_EQ(V(1), 9);
}

TEST_F(MessageCommandTest, ASecondMessageWaitsUntilTheFirstHasClosed) {
  EventInterpreter second;
  RunPlain(CommandListBuilder().Add({101}, {"one"}).Build());
  second.StartOwnEvent(CommandListBuilder().Add({101}, {"two"}).Variable(2000000, 1, 0, 0, 0).Build(), -1, 0);
  second.RunFrame();
  EXPECT_EQ(SystemStateHub.pendingMessageText, "one");
  EXPECT_FALSE(second.waitingForMessage);
  EXPECT_EQ(CloseMessageWindow(), "one");
  interpreter.RunFrame();
  second.RunFrame();
  EXPECT_EQ(SystemStateHub.pendingMessageText, "two");
  EXPECT_EQ(SystemStateHub.messageWaiter, static_cast<uint64_t>(second.serial));
  CloseMessageWindow();
  second.RunFrame();
  EXPECT_EQ(V(0), 1);
}

TEST_F(MessageCommandTest, ChoicesAloneAskTheOpenWindowToCloseAndTheLevelIsTheIndent) {
  const EventCommandList list = {CommandRecord({102, 1}, 255, {"A"}), CommandRecord({EventCommand::kEndCode})};
  RunPlain(list);
  EXPECT_EQ(SystemStateHub.choiceWaiterLevel, 255);
  Choose(7);
  interpreter.RunFrame();
  EXPECT_EQ(interpreter.branchResults[255], 7);
}

TEST_F(MessageCommandTest, AHandBackLeftFromAnEarlierWaitDoesNotEndTheNextOne) {
  RunPlain(CommandListBuilder().Add({101}, {"a"}).Add({180, 1}).Add({101}, {"b"}).Variable(2000000, 1, 0, 0, 0).Build());
  CloseMessageWindow();
  interpreter.RunFrame();  // goes on into the wait
  SystemStateHub.ReleaseMessageWaiter();  // a window that hands back twice
  interpreter.RunFrame();
  EXPECT_EQ(SystemStateHub.pendingMessageText, "b");
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 0);
  CloseMessageWindow();
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 1);
}

TEST_F(MessageCommandTest, CloseCommands) {
  RunPlain(CommandListBuilder().Add({104}).Add({105}).Build());
  EXPECT_EQ(SystemStateHub.closeChoiceRequest, 1);
  EXPECT_EQ(SystemStateHub.autoCloseMessage, 1);
}

TEST_F(MessageCommandTest, AnInterpreterThatGoesAwayLetsGoOfItsWaiters) {
  {
    EventInterpreter gone;
    gone.StartOwnEvent(MessageWithChoices({"A"}), -1, 0);
    gone.RunFrame();
    EXPECT_EQ(SystemStateHub.messageWaiter, static_cast<uint64_t>(gone.serial));
    EXPECT_EQ(SystemStateHub.choiceWaiter, static_cast<uint64_t>(gone.serial));
  }
  EXPECT_EQ(SystemStateHub.messageWaiterMode, -1);
  EXPECT_EQ(SystemStateHub.messageWaiter, 0u);
  EXPECT_EQ(SystemStateHub.choiceWaiter, 0u);
  EXPECT_EQ(SystemStateHub.choiceWaiterLevel, -1);
  // A late hand-back reaches nobody.
  SystemStateHub.DeliverChoiceResult(1);
  EXPECT_EQ(SystemStateHub.choiceResultWaiter, 0u);

  SystemStateHub.pendingMessageText.clear();
  SystemStateHub.pendingChoiceText.clear();

  // A moved interpreter keeps waiting under its number; an assigned one
  // keeps its own.
  RunPlain(CommandListBuilder().Add({101}, {"m"}).Variable(2000000, 4, 0, 0, 0).Build());
  EventInterpreter moved = std::move(interpreter);
  EXPECT_EQ(SystemStateHub.messageWaiter, static_cast<uint64_t>(moved.serial));
  EventInterpreter copy;
  const uint64_t own = copy.serial;
  copy = moved;
  EXPECT_EQ(static_cast<uint64_t>(copy.serial), own);
  EXPECT_NE(own, static_cast<uint64_t>(moved.serial));
  CloseMessageWindow();
  moved.RunFrame();
  EXPECT_EQ(V(0), 4);
}

}  // namespace
