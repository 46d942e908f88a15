#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/EngineRandom.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/SpanValues.h"
#include "tests/support/CommandListBuilder.h"

namespace {

using PreparationTest = InterpreterTest;

const EventCommandList& Prepared() { return CommonEvents.events[0].commands; }

TEST_F(PreparationTest, WhatEachCommandBecomes) {
  CommonEvents.events[0].commands = CommandListBuilder()
                                        .Variable(2000000, 2000001, 5, 1, 2)      // 0: fast code
                                        .Variable(2000000, 2000001, 0, 6, 0)      // 1: kind 2
                                        .Variable(1100000000, 1, 0, 0, 0)         // 2: marker
                                        .Variable(2000000, 1, 0, 0, 0, 1)         // 3: clamp flag
                                        .Variable(1000000000, 1, 0, 0, 0)         // 4: a database cell
                                        .Variable(2000000, 1300000000, 0, 0, 0)   // 5: a database operand
                                        .Variable(1600003, 1600001, 3, 4, 3)      // 6: own self variables
                                        .Build();
  PrepareCommonEvents();
  const auto& list = Prepared();
  EXPECT_EQ(list[0].arguments[0], 210012);
  EXPECT_EQ(Values(list[0].flowData), (std::vector<int32_t>{1, 1, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(list[1].arguments[0], 121);
  EXPECT_EQ(list[1].flowData[0], 2);
  for (size_t i : {2u, 3u, 4u, 5u}) {
    EXPECT_EQ(list[i].arguments[0], 121) << i;
    EXPECT_TRUE(list[i].flowData.empty()) << i;
  }
  EXPECT_EQ(list[6].operands[0].cell, (IntegerVariableCell{IntegerVariableCell::kCommonSelf, 0, 3}));
}

TEST_F(PreparationTest, BranchesPrepareOnlyWhenEveryTargetExists) {
  // The fourth and fifth cases of a branch of three conditions; a branch
  // without its end; a branch with fewer cases than conditions.
  CommonEvents.events[0].commands = CommandListBuilder()
                                        .Branch({{2000001, 1, 2, true}, {2000001, 2, 2, true}, {2000001, 3, 2, true}})
                                        .Case(2).Case(3).Case(4).Case(5)
                                        .EndBranch()
                                        .Add({111, 2, 2000001, 1, 0x12, 2000001, 2, 0x12})
                                        .Add({401, 1})
                                        .Add({499})
                                        .Add({111, 1, 2000001, 1, 0x12})
                                        .Add({401, 1})
                                        .Build();
  PrepareCommonEvents();
  const auto& list = Prepared();
  ASSERT_EQ(list[0].flowData.size(), 9u);
  EXPECT_EQ(list[0].flowData[5], 1);
  EXPECT_EQ(list[0].flowData[7], 3);
  EXPECT_EQ(list[0].flowData[8], 6) << "no else case: the branch end";
  EXPECT_EQ(Values(list[5].flowData), (std::vector<int32_t>{2, 6})) << "the fifth case";
  EXPECT_TRUE(list[7].flowData.empty()) << "two conditions, one case";
  EXPECT_TRUE(list[10].flowData.empty()) << "no branch end";

  V(1) = 3;
  interpreter.StartCommonEvent(0, -1);
  interpreter.RunFrame();
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(PreparationTest, RunningThePassAgainAndReplacingTheStore) {
  const auto list = CommandListBuilder()
                        .Variable(2000000, 2000001, 3, 1, 0)
                        .Branch({{2000001, 0, 2, true}})
                        .Jump("end")
                        .EndBranch()
                        .Database(0, 1, 0, 0, 2000000)
                        .Label("end")
                        .Build();
  CommonEvents.events[0].commands = list;
  PrepareCommonEvents();
  const EventCommandList once = Prepared();
  PrepareCommonEvents();
  EXPECT_EQ(Prepared(), once) << "a second pass gives the same result";

  // A new store and database: the prepared cells resolve into them.
  Variables = VariableStore();
  VariableDatabase = MakeTestDatabase(3, 4);
  V(1) = 4;
  interpreter.StartCommonEvent(0, -1);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 7);
  EXPECT_EQ(VariableDatabase.GetInt(0, 1, 0), 7);

  // A store whose sets shrank: the cell is gone and the plain form runs;
  // the branch still jumps over its body.
  Variables.numberedSets[0].resize(1);
  InvalidateVariableCells();
  interpreter.StartCommonEvent(0, -1);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 7 + 3) << "V1 reads 0 in the plain form";
  EXPECT_EQ(VariableDatabase.GetInt(0, 1, 0), 7) << "the jump over the database write";
  TakeErrors();
}

TEST_F(PreparationTest, ASecondPassAfterALoadLeavesNothingStale) {
  CommonEvents.events[0].commands = CommandListBuilder()
                                        .Variable(2000000, 2000001, 1, 1, 0)
                                        .Branch({{2000001, 0, 2, true}})
                                        .Variable(2000002, 1, 0, 0, 0)
                                        .EndBranch()
                                        .Build();
  PrepareCommonEvents();
  ASSERT_EQ(Prepared()[0].arguments[0], 210010);
  ASSERT_EQ(Values(Prepared()[2].flowData), (std::vector<int32_t>{2, 4}));
  // A loaded game without normal variables: nothing can be prepared.
  Variables.numberedSets[0].clear();
  InvalidateVariableCells();
  PrepareCommonEvents();
  EXPECT_EQ(Prepared()[0].arguments[0], 121);
  EXPECT_TRUE(Prepared()[0].flowData.empty());
  EXPECT_TRUE(Prepared()[1].flowData.empty());
  EXPECT_EQ(Values(Prepared()[2].flowData), (std::vector<int32_t>{1, 4})) << "the plain case skip";
}

TEST_F(PreparationTest, CopiesOfPreparedListsResolveTheirOwnCells) {
  CommonEvents.events[0].commands = CommandListBuilder().Variable(2000000, 5, 0, 1, 0).Build();
  PrepareCommonEvents();
  interpreter.StartCommonEvent(0, -1);
  interpreter.RunFrame();
  EventCommandList copy = Prepared();
  EXPECT_EQ(copy[0].operands[0].cached, nullptr);
  interpreter.StartOwnEvent(copy, -1, 0);
  interpreter.RunFrame();
  EXPECT_EQ(V(0), 10);
}

TEST_F(PreparationTest, LabelsAndLoopImages) {
  CommonEvents.events[0].commands = CommandListBuilder()
                                        .Add({498})  // a stray loop end
                                        .Jump("x")
                                        .Loop()
                                        .LoopCount(3)
                                        .Label("x")
                                        .EndLoop()
                                        .EndLoop()
                                        .Jump("a\\v[1]")
                                        .Jump("missing")
                                        .Build();
  PrepareCommonEvents();
  const auto& list = Prepared();
  EXPECT_EQ(Values(list[1].flowData), (std::vector<int32_t>{1, 4, 2, 0, 2000000000, 1, 0}));
  EXPECT_TRUE(list[7].flowData.empty());
  EXPECT_TRUE(list[8].flowData.empty());
}

// Lists in the editor's shape give the same variables prepared and plain.
TEST_F(PreparationTest, PreparedAndPlainFormsAgree) {
  for (uint64_t seed = 1; seed <= 300; ++seed) {
    ChoiceSource choices(seed);
    const EventCommandList list = GenerateCommandList(choices, 60);

    Variables = VariableStore();
    VariableDatabase = MakeTestDatabase(3, 4);
    EngineRandom(kRandomSet, static_cast<uint32_t>(seed));
    RunPlain(list);
    interpreter.RunFrame();
    const VariableStore plainStore = Variables;
    const Database plainDatabase = VariableDatabase;
    const auto plainErrors = TakeErrors();

    Variables = VariableStore();
    VariableDatabase = MakeTestDatabase(3, 4);
    EngineRandom(kRandomSet, static_cast<uint32_t>(seed));
    RunPrepared(list);
    interpreter.RunFrame();

    ASSERT_EQ(Variables.numberedSets, plainStore.numberedSets) << "seed " << seed;
    ASSERT_EQ(Variables.commonSelfIntegers, plainStore.commonSelfIntegers) << "seed " << seed;
    ASSERT_TRUE(VariableDatabase == plainDatabase) << "seed " << seed;
    ASSERT_EQ(TakeErrors().size(), plainErrors.size()) << "seed " << seed;
  }
}

}  // namespace
