#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

using DatabaseOperationTest = InterpreterTest;

constexpr int32_t Flags(int32_t op, int32_t database, int32_t direction, int32_t kind = 0) {
  return kind | (op << 4) | (database << 8) | (direction << 12);
}

TEST_F(DatabaseOperationTest, WritesAndReadsInBothForms) {
  for (bool prepared : {false, true}) {
    VariableDatabase = MakeTestDatabase(3, 4);
    VariableDatabase.typeData[1].Integer(2, 0) = 5;
    V(0) = 0;
    const auto list = CommandListBuilder()
                          .Database(1, 2, 0, Flags(1, 0, 0), 3)
                          .Database(1, 2, 0, Flags(0, 0, 1), 2000000)
                          .Build();
    prepared ? RunPrepared(list) : RunPlain(list);
    EXPECT_EQ(VariableDatabase.GetInt(1, 2, 0), 8);
    EXPECT_EQ(V(0), 8);
    if (prepared) {
      EXPECT_FALSE(CommonEvents.events[0].commands[0].flowData.empty());
    }
  }
}

TEST_F(DatabaseOperationTest, PlainWritesGoToTheVariableDatabaseThePreparedFormToTheSelectedOne) {
  const auto list = CommandListBuilder().Database(1, 2, 0, Flags(0, 1, 0), 77).Build();
  RunPlain(list);
  EXPECT_EQ(VariableDatabase.GetInt(1, 2, 0), 77);
  EXPECT_EQ(SystemDatabase.GetInt(1, 0, 0), 1);
  RunPrepared(CommandListBuilder().Database(1, 0, 0, Flags(0, 1, 0), 66).Build());
  EXPECT_EQ(SystemDatabase.GetInt(1, 0, 0), 66);
}

TEST_F(DatabaseOperationTest, RemainderByZeroDiffersDivisionByZeroDoesNot) {
  for (bool prepared : {false, true}) {
    VariableDatabase.typeData[0].Integer(0, 0) = 9;
    VariableDatabase.typeData[0].Integer(1, 0) = 9;
    const auto list = CommandListBuilder().Database(0, 0, 0, Flags(5, 0, 0), 0).Database(0, 1, 0, Flags(4, 0, 0), 0).Build();
    prepared ? RunPrepared(list) : RunPlain(list);
    EXPECT_EQ(VariableDatabase.GetInt(0, 0, 0), prepared ? 1 : 0);
    EXPECT_EQ(VariableDatabase.GetInt(0, 1, 0), 9);
  }
}

TEST_F(DatabaseOperationTest, ResetsCountsAndTexts) {
  VariableDatabase.typeData[2].Integer(1, 0) = 55;
  VariableDatabase.typeData[2].Integer(3, 0) = 55;
  RunPlain(CommandListBuilder().Database(2, -2, 0, Flags(0, 0, 0), 0).Build());
  EXPECT_EQ(VariableDatabase.GetInt(2, 1, 0), 0);
  EXPECT_EQ(VariableDatabase.GetInt(2, 3, 0), 0);

  RunPlain(CommandListBuilder()
               .Database(2, -1, 0, Flags(0, 0, 1), 2000000)
               .Database(7, -1, 0, Flags(0, 0, 1), 2000001)
               .Database(0, -1, -1, Flags(0, 0, 1), 2000002)
               .Build());
  EXPECT_EQ(V(0), 4);
  EXPECT_EQ(V(1), -1);
  EXPECT_EQ(V(2), 2);

  Variables.SetStringVariable(3000000, "<");
  RunPlain(CommandListBuilder().Database(0, 1, 1, Flags(1, 0, 1), 3000000).Build());
  EXPECT_EQ(Variables.GetStringVariable(3000000), "<t0r1");
}

TEST_F(DatabaseOperationTest, Errors) {
  struct Case {
    EventCommandList list;
    std::string line1;
  };
  DatabaseNameTables = {};
  const Case cases[] = {
      {CommandListBuilder().Database(0, 0, 0, 0x10000, 1, {"", "nothing", "", ""}).Build(), "【DB操作】 以下のタイプ名は存在しません"},
      {CommandListBuilder().Database(0, -5, 0, 0, 1).Build(), "DB操作：データ番号がマイナスです！"},
      {CommandListBuilder().Database(0, 0, 1, 0, 5).Build(), "DB書込 ERROR2：文字列を格納すべき場所に変数を代入しようとしました"},
      {CommandListBuilder().Database(0, 0, 0, 2, 5).Build(), "DB書込 ERROR5：変数を格納すべき場所に文字列を代入しようとしました"},
      {CommandListBuilder().Database(0, 0, 0, 0, 3000000).Build(), "DB書込 ERROR1：変数を格納すべき場所に文字列を代入しようとしました"},
  };
  for (const Case& c : cases) {
    const Database before = VariableDatabase;
    RunPlain(c.list);
    const auto errors = TakeErrors();
    ASSERT_EQ(errors.size(), 1u) << c.line1;
    EXPECT_EQ(errors[0].line1, c.line1);
    EXPECT_TRUE(VariableDatabase == before);
  }
}

TEST_F(DatabaseOperationTest, PreparedWritesBeyondWhatATypeCanHoldWriteNothing) {
  V(0) = Database::kMaxDataCount;
  V(1) = 2000000000;
  RunPrepared(CommandListBuilder().Database(0, 2000000, 0, Flags(0, 0, 0), 2000001).Build());
  EXPECT_EQ(VariableDatabase.GetDataCount(0), 4);
  V(0) = 10;
  RunPrepared(CommandListBuilder().Database(0, 2000000, 0, Flags(0, 0, 0), 2000001).Build());
  EXPECT_EQ(VariableDatabase.GetInt(0, 10, 0), 2000000000);
}

TEST_F(DatabaseOperationTest, NamesResolveWhenPreparedAndStringsAreCheckedFirst) {
  BuildDatabaseNameMaps();
  DatabaseNameTables[0].types["counts"] = 1;
  DatabaseNameTables[0].items[1]["number"] = 0;
  RunPrepared(CommandListBuilder().Database(0, 3, 0, 0x10000 | 0x40000, 41, {"", "counts", "", "number"}).Build());
  EXPECT_EQ(VariableDatabase.GetInt(1, 3, 0), 41);
  EXPECT_EQ(CommonEvents.events[0].commands[0].arguments[1], 1);
  // Fewer strings than the flags name: nothing is read beyond them.
  RunPrepared(CommandListBuilder().Database(0, 3, 0, 0x70000, 42, {"", "counts"}).Build());
  EXPECT_EQ(VariableDatabase.GetInt(1, 3, 0), 42) << "the plain form with the type name alone";
}

}  // namespace
