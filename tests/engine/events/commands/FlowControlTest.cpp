#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

using FlowControlTest = InterpreterTest;

TEST_F(FlowControlTest, NumberBranchTakesTheFirstConditionThatHolds) {
  struct Case {
    int32_t left, right, kind;
    bool holds;
  };
  const Case cases[] = {{7, 5, 6, true}, {7, 0, 6, true}, {5, 7, 6, false}, {3, 3, 1, true}, {3, 3, 0, false},
                        {3, 4, 4, true}, {3, 4, 5, true}, {3, 3, 5, false}, {3, 3, 7, false}, {3, 3, 15, false}};
  for (bool prepared : {false, true}) {
    for (const Case& c : cases) {
      V(1) = c.left;
      V(0) = 0;
      const auto list = CommandListBuilder()
                            .Branch({{2000001, c.right, c.kind, true}})
                            .Variable(2000000, 1, 0, 0, 0)
                            .ElseCase()
                            .Variable(2000000, 2, 0, 0, 0)
                            .EndBranch()
                            .Build();
      prepared ? RunPrepared(list) : RunPlain(list);
      EXPECT_EQ(V(0), c.holds ? 1 : 2) << c.left << " kind " << c.kind << " " << c.right << (prepared ? " prepared" : "");
    }
    // Three conditions, the second and third hold: case 2.
    V(1) = 5;
    V(0) = 0;
    const auto list = CommandListBuilder()
                          .Branch({{2000001, 9, 2, true}, {2000001, 5, 2, true}, {2000001, 1, 0, true}})
                          .Variable(2000000, 1, 0, 0, 0)
                          .Case(2)
                          .Variable(2000000, 2, 0, 0, 0)
                          .Case(3)
                          .Variable(2000000, 3, 0, 0, 0)
                          .EndBranch()
                          .Variable(2000002, 1, 0, 1, 0)
                          .Build();
    prepared ? RunPrepared(list) : RunPlain(list);
    EXPECT_EQ(V(0), 2);
  }
  EXPECT_EQ(V(2), 2) << "the line after the branch end ran in both forms";
}

TEST_F(FlowControlTest, BranchResultsCoverEveryIndentByte) {
  CommandListBuilder b;
  for (int i = 0; i < 200; ++i) b.Indent();
  V(1) = 1;
  const auto list = b.Branch({{2000001, 1, 2, true}}).Variable(2000000, 4, 0, 0, 0).EndBranch().Build();
  RunPlain(list);
  EXPECT_EQ(V(0), 4);
  EXPECT_EQ(interpreter.branchResults[200], EventInterpreter::kTakenCase);
}

TEST_F(FlowControlTest, StringBranch) {
  Variables.SetStringVariable(3000000, "abc");
  // Kind 2 (contains) with an empty literal holds for every text.
  const auto list = CommandListBuilder()
                        .Add({112, 2, 3000000 | (1 << 28), 3000000 | (2 << 28)}, {"abc", ""})
                        .Add({401, 1}).Indent().Variable(2000000, 1, 0, 0, 0).Outdent()
                        .Add({401, 2}).Indent().Variable(2000000, 2, 0, 0, 0).Outdent()
                        .Add({499})
                        .Build();
  RunPlain(list);
  EXPECT_EQ(V(0), 2);

  // "ア" is 0x83 0x41: its second byte is no "A".
  Variables.SetStringVariable(3000000, "アB");
  const auto halves = CommandListBuilder()
                          .Add({112, 2, 3000000 | (2 << 28), 3000000 | (2 << 28)}, {"A", "B"})
                          .Add({401, 1}).Indent().Variable(2000000, 1, 0, 0, 0).Outdent()
                          .Add({401, 2}).Indent().Variable(2000000, 2, 0, 0, 0).Outdent()
                          .Add({499})
                          .Build();
  V(0) = 0;
  RunPlain(halves);
  EXPECT_EQ(V(0), 2);
}

TEST_F(FlowControlTest, CountedLoopsAndBreaks) {
  struct Case {
    int32_t n, runs;
  };
  for (bool prepared : {false, true}) {
    for (const Case c : {Case{1, 1}, Case{3, 3}, Case{0, 0}, Case{-4, 0}, Case{INT32_MIN, 0}}) {
      V(0) = 0;
      const auto list = CommandListBuilder().LoopCount(c.n).Variable(2000000, 1, 0, 1, 0).EndLoop().Variable(2000001, 1, 0, 1, 0).Build();
      prepared ? RunPrepared(list) : RunPlain(list);
      EXPECT_EQ(V(0), c.runs) << c.n;
    }
    // Break leaves only the innermost loop: 3 outer passes of one inner pass.
    V(0) = 0;
    const auto nested = CommandListBuilder()
                            .LoopCount(3)
                            .Loop()
                            .Variable(2000000, 1, 0, 1, 0)
                            .Add({171})
                            .EndLoop()
                            .EndLoop()
                            .Build();
    prepared ? RunPrepared(nested) : RunPlain(nested);
    EXPECT_EQ(V(0), 3);
    EXPECT_TRUE(interpreter.loopStack.empty());
  }
}

TEST_F(FlowControlTest, LabelJumps) {
  for (bool prepared : {false, true}) {
    // Into a loop from outside: it repeats as if entered from its top; the
    // first of two labels of one name wins.
    V(0) = V(1) = 0;
    const auto list = CommandListBuilder()
                          .Jump("in")
                          .Loop()
                          .Variable(2000001, 100, 0, 1, 0)
                          .Label("in")
                          .Variable(2000000, 1, 0, 1, 0)
                          .Branch({{2000000, 3, 1, true}})
                          .Add({171})
                          .EndBranch()
                          .EndLoop()
                          .Label("in")
                          .Variable(2000001, 1000, 0, 1, 0)
                          .Build();
    prepared ? RunPrepared(list) : RunPlain(list);
    EXPECT_EQ(V(0), 3) << prepared;
    EXPECT_EQ(V(1), 1000 + 200);
    // A counted loop entered by a jump ends at its next loop end.
    V(0) = 0;
    const auto counted =
        CommandListBuilder().Jump("in").LoopCount(5).Label("in").Variable(2000000, 1, 0, 1, 0).EndLoop().Build();
    prepared ? RunPrepared(counted) : RunPlain(counted);
    EXPECT_EQ(V(0), 1);
  }
}

TEST_F(FlowControlTest, PlainLabelNamesWithEscapesAreExpanded) {
  V(5) = 2;
  const auto list = CommandListBuilder()
                        .Jump("L2")
                        .Variable(2000000, 9, 0, 0, 0)
                        .Label("L\\v[5]")
                        .Variable(2000001, 7, 0, 0, 0)
                        .Build();
  RunPrepared(list);
  EXPECT_EQ(V(0), 0);
  EXPECT_EQ(V(1), 7);
}

TEST_F(FlowControlTest, MalformedListsStayInside) {
  // A case skip at the end of a list without its branch end, a stray loop
  // end and loop again, a loop end whose loop command is missing.
  const auto list = CommandListBuilder()
                        .Add({498})
                        .Add({176})
                        .Indent().Add({498}).Outdent()
                        .Add({401, 5})
                        .Indent()
                        .Variable(2000000, 1, 0, 0, 0)
                        .Build();
  RunPlain(list);
  EXPECT_EQ(V(0), 0);
  EXPECT_FALSE(interpreter.IsRunning());
  RunPrepared(list);
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(FlowControlTest, LoopsEnteredWithoutEndKeepABoundedStack) {
  // The outer loop end finds the inner loop innermost and goes back to the
  // outer loop command: every pass opens two loops and closes none.
  const auto list = CommandListBuilder().Loop().Add({170}).EndLoop().Build();
  interpreter.StartOwnEvent(list, -1, 0);
  interpreter.RunFrame();
  interpreter.RunFrame();
  EXPECT_EQ(interpreter.loopStack.size(), EventInterpreter::kMaxOpenLoops);
  EXPECT_EQ(TakeErrors().size(), 1u) << "the frame budget";
}

}  // namespace
