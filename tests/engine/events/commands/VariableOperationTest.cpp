#include <climits>
#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

using VariableOperationTest = InterpreterTest;

struct ArithmeticCase {
  int32_t cur, a, b, assign, calc, expected;
  bool real = false;
};

// V0 = V0 (assign) (V1 (calc) V2), plain form, every operand a variable.
TEST_F(VariableOperationTest, IntegerAndRealArithmeticHasADefinedResultForEveryPair) {
  const ArithmeticCase cases[] = {
      {0, 2000000000, 1, 0, 0, 2000000000},
      {0, -2000000000, 5, 0, 1, -2000000000},
      {0, 65536, 65536, 0, 2, 2000000000},
      {0, INT_MIN, -1, 0, 3, INT_MIN},  // wraps
      {0, INT_MIN, -1, 0, 4, 0},
      {0, 7, 0, 0, 3, 7},  // A / 0 gives A
      {0, 7, 0, 0, 4, 0},
      {0, -7, 2, 0, 4, -1},
      {0, 12, 10, 0, 5, 8},
      {0, 3, 4, 0, 9, 0},  // calculations without a meaning give 0
      {9, 0, 0, 4, 0, 9},  // X /= 0 leaves X
      {9, 0, 0, 5, 0, 0},  // X %= 0 gives 0
      {9, 5, 0, 5, 1, 4},
      {INT_MIN, -1, 0, 4, 0, INT_MIN},
      {INT_MIN, -1, 0, 5, 0, 0},
      {2000000000, 1, 0, 1, 0, 2000000000},
      {-2000000000, 1, 0, 2, 0, -2000000000},
      {100000, 100000, 0, 3, 0, 2000000000},
      {5, 8, 0, 6, 0, 8},
      {5, 8, 0, 7, 0, 5},
      {0, INT_MIN, -1, 8, 5, INT_MIN},  // abs wraps
      {0, -4, 0, 8, 0, 4},
      {3, 1, 0, 9, 0, 3},  // nothing stored
      {10, 1, 4, 3, 3, 2, true},
      {10, 1, 4, 5, 3, 0, true},
      {0, 7, 2, 0, 3, 3, true},
      {0, 2000000000, 2000000000, 0, 0, -294967296, true},  // the low 32 bits of 4e9
      {0, 65536, 65536, 0, 2, 2000000000, true},
      {2000000000, 3, 1, 3, 0, 2000000000, true},
      {-5, 3, 0, 8, 1, 3, true},
      {7, 1, 0, 5, 0, 0, true},
      {7, 0, 0, 5, 0, 0, true},  // a divisor whose integer part is 0 counts as 1
  };
  for (const ArithmeticCase& c : cases) {
    V(0) = c.cur;
    V(1) = c.a;
    V(2) = c.b;
    RunPlain(CommandListBuilder().Variable(2000000, 2000001, 2000002, c.assign, c.calc, c.real ? 2 : 0).Build());
    EXPECT_EQ(V(0), c.expected) << c.cur << " " << c.a << " " << c.b << " assign " << c.assign << " calc " << c.calc
                                << (c.real ? " real" : "");
  }
}

TEST_F(VariableOperationTest, NumbersVariablesAndFlagBits) {
  V(7) = 70;
  RunPlain(CommandListBuilder().Variable(2000000, 7, 0, 0, 0).Variable(2000001, 2000007, 0, 0, 0)
               .Variable(2000002, 2000007, 0, 0, 0, 0x4).Variable(2000003, 2000000000, 1, 0, 0, 0x5).Build());
  EXPECT_EQ(V(0), 7);
  EXPECT_EQ(V(1), 70);
  EXPECT_EQ(V(2), 2000007);
  EXPECT_EQ(V(3), 999999);
}

TEST_F(VariableOperationTest, RangesIndirectionAndRunsThatLeaveTheIds) {
  RunPlain(CommandListBuilder().Variable(2000010, 4, 1, 0, 0, 0x10000, 2).Variable(2000020, 4, 0, 0, 0, 0x10000, -5).Build());
  EXPECT_EQ(V(10), 5);
  EXPECT_EQ(V(11), 5);
  EXPECT_EQ(V(12), 5);
  EXPECT_EQ(V(13), 0);
  EXPECT_EQ(V(20), 4);
  EXPECT_EQ(V(21), 0);

  V(30) = 15;
  RunPlain(CommandListBuilder().Variable(2000030, 6, 0, 0, 0, 0x10).Build());
  EXPECT_EQ(V(15), 6) << "an indirect target names normal variable 15";

  // argument + i passes INT32_MAX: the run stops at the last ID.
  RunPlain(CommandListBuilder().Variable(INT32_MAX - 1, 1, 0, 0, 0, 0x10000, 1000).Build());
  EXPECT_FALSE(interpreter.IsRunning());
  TakeErrors();

  // A count beyond 100000 further targets takes 100000.
  Variables.numberedSets[1].assign(100000, 0);
  Variables.numberedSets[2].assign(2, 0);
  RunPlain(CommandListBuilder().Variable(2100000, 1, 0, 0, 0, 0x10000, INT32_MAX).Build());
  EXPECT_EQ(Variables.numberedSets[1][99999], 1);
  EXPECT_EQ(Variables.numberedSets[2][0], 1);
  EXPECT_EQ(Variables.numberedSets[2][1], 0);
}

TEST_F(VariableOperationTest, RandomStaysInItsRangeEvenAcrossAllIntegers) {
  for (int i = 0; i < 50; ++i) {
    RunPlain(CommandListBuilder().Variable(2000000, 5, 3, 0, 6).Variable(2000001, INT32_MIN, INT32_MAX, 0, 6, 0xC).Build());
    EXPECT_GE(V(0), 3);
    EXPECT_LE(V(0), 5);
  }
}

TEST_F(VariableOperationTest, StringTargets) {
  Variables.SetStringVariable(3000000, "ab");
  Variables.SetStringVariable(3000001, "cd");
  RunPlain(CommandListBuilder().Variable(3000000, 0, 3000001, 1, 0).Build());
  EXPECT_EQ(Variables.GetStringVariable(3000000), "abcd");
  RunPlain(CommandListBuilder().Variable(3000000, 0, 3000001, 0, 1).Build());
  EXPECT_EQ(Variables.GetStringVariable(3000000), "") << "calculation 1 ignores the right text";
  EXPECT_TRUE(TakeErrors().empty());
  RunPlain(CommandListBuilder().Variable(3000000, 5, 3000001, 0, 0).Build());
  const auto errors = TakeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].line1, "エラー：[変数操作] 格納先の内容が文字列なのに");
}

TEST_F(VariableOperationTest, PreparedFormsWrapWhereThePlainFormSaturates) {
  V(1) = 65536;
  V(2) = 65536;
  const auto list = CommandListBuilder().Variable(2000000, 2000001, 2000002, 0, 2).Build();
  RunPrepared(list);
  EXPECT_EQ(CommonEvents.events[0].commands[0].arguments[0], 210002);
  EXPECT_EQ(V(0), 0);
  RunPlain(list);
  EXPECT_EQ(V(0), 2000000000);

  V(0) = 5;
  V(1) = 7;
  V(2) = 2;
  RunPrepared(CommandListBuilder().Variable(2000000, 2000001, 2000002, 3, 1).Build());
  EXPECT_EQ(CommonEvents.events[0].commands[0].arguments[0], 210031);
  EXPECT_EQ(V(0), 25);
}

TEST_F(VariableOperationTest, FileBorneFastCodesRunOnlyWhenPrepared) {
  V(0) = 3;
  RunPlain(CommandListBuilder().Add({210010, 2000000, 1, 1, 0}).Add({498001}).Add({498000})
               .Variable(2000001, 9, 0, 0, 0).Build());
  EXPECT_EQ(V(0), 3);
  EXPECT_EQ(V(1), 9);
  EXPECT_FALSE(interpreter.IsRunning());
}

TEST_F(VariableOperationTest, SelfVariablesRebaseToThisEvent) {
  // A common event without a map event: this map event's self variables
  // become plain numbers 999990 + slot.
  RunPlain(CommandListBuilder().Variable(2000000, 1100003, 0, 0, 0).Variable(1600004, 8, 0, 0, 0).Build());
  EXPECT_EQ(V(0), 999993);
  EXPECT_EQ(Self(4), 8);
}

}  // namespace
