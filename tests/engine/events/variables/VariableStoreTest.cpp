#include <gtest/gtest.h>

#include <climits>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/variables/VariableId.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/EngineRandom.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/VariableRead.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"
#include "tests/support/FakeMapHooks.h"

namespace {

class VariableStoreTest : public VariablesTest {
 protected:
  void SetUp() override {
    VariablesTest::SetUp();
    map.mapId = 3;
    map.events[0] = {10, 21, 5};
    map.events[7999] = {-3, 4, 0};
    map.party = {{40, 41, 8}, {50, 51, 0}};  // the hero and one follower
  }
  FakeMapHooks map;
};

TEST_F(VariableStoreTest, ResetSizesTheListsFromTheGame) {
  ASSERT_EQ(Variables.numberedSets.size(), 10u);
  EXPECT_EQ(Variables.numberedSets[0].size(), 100u);
  EXPECT_EQ(Variables.numberedSets[9].size(), 10u);
  EXPECT_EQ(Variables.commonSelfIntegers.size(), 10u);
  EXPECT_EQ(Variables.commonSelfIntegers[9].size(), 100u);
  EXPECT_EQ(Variables.commonSelfStrings[0].size(), 5u);
  EXPECT_TRUE(Variables.mapSelfVariables.empty());

  // Fewer than 20 types: ten empty sets, reads give 0 until written.
  SystemDatabase = MakeTestDatabase(19, 1);
  CommonEvents.Resize(0);
  VariableStore small;
  EXPECT_EQ(small.numberedSets, std::vector<std::vector<int32_t>>(10));
  EXPECT_TRUE(small.commonSelfIntegers.empty());
  EXPECT_EQ(small.GetVariable(2000005), 0);
  small.SetVariable(15000001, 5);  // no common event: dropped
  EXPECT_EQ(small.GetVariable(15000001), 0);

  // A missing type among 14-23 gives an empty set.
  SystemDatabase = MakeTestDatabase(20, 3);
  VariableStore partial;
  EXPECT_EQ(partial.numberedSets[5].size(), 3u);
  EXPECT_TRUE(partial.numberedSets[6].empty());
}

TEST_F(VariableStoreTest, ReadsAtTheEndsOfEveryRange) {
  const std::string location = ErrorLocationText();
  Variables.SetVariable(1000000, 11);  // map 3, event 0, slot 0
  Variables.SetVariable(1499999, 12);  // event 9999, slot 9
  Variables.SetVariable(2000000, 13);
  Variables.SetVariable(15000000, 14);
  RootRunner.systemValues0To4[0] = 15;
  struct Case {
    int32_t id;
    int32_t value;
    std::string error;  // line 1 of the error screen, "" none
  };
  const std::string oldCommon = "読込先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数]です、読み込めません";
  const Case cases[] = {
      {INT_MIN, INT_MIN, ""},
      {-5, -5, ""},
      {999999, 999999, ""},
      {1000000, 11, ""},
      {1499999, 12, ""},
      {1500000, 0, oldCommon},
      {1599999, 0, oldCommon},
      {1600000, 0, ""},
      {1999999, 0, ""},
      {2000000, 13, ""},
      {2999999, 0, ""},
      {3000000, -1, "「変数」呼び出し時の呼び出しIDが不適切です => ID 3000000"},
      {3999999, -1, "「変数」呼び出し時の呼び出しIDが不適切です => ID 3999999"},
      {4000000, 0, ""},
      {7999999, 0, ""},
      {8000000, 0, ""},
      {9000000, 15, ""},
      {9099999, -1, ""},
      {9100000, 5, ""},     // event 0: precise x 10 is tile 5
      {9179999, 0, ""},     // event 7999, field 9
      {9180000, 20, ""},    // the hero's x in tiles
      {9189999, -1, ""},    // member 999 of one follower
      {9190000, 0, ""},
      {9899999, 0, ""},
      {9900000, 0, ""},
      {9999999, 0, ""},
      {10000000, 0, ""},
      {14999999, 0, ""},
      {15000000, 14, ""},
      {15999999, 0, ""},    // common event 9999
      {16000000, 0, ""},
      {999999999, 0, ""},
      {1000000000, 0, ""},  // user database type 0, record 0, item 0
      {1000000300, 30, ""},
      {1100000201, 0, ""},  // a string item read as an integer
      {1101000300, 31, ""},  // variable database type 1, record 3
      {1200000000, 0, ""},
      {1299999999, 0, ""},
      {1300000000, 0, ""},  // system database type 0
      {1400000000, 0, ""},
      {INT_MAX, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Variables.GetVariable(c.id), c.value) << c.id;
    const auto shown = TakeErrors();
    if (c.error.empty()) {
      EXPECT_TRUE(shown.empty()) << c.id;
    } else {
      EXPECT_EQ(shown, (std::vector<ErrorScreenLines>{{c.error, location, ""}})) << c.id;
    }
  }
}

TEST_F(VariableStoreTest, WritesAtTheEndsOfEveryRange) {
  const std::string location = ErrorLocationText();
  struct Case {
    int32_t id;
    int32_t value;
    ErrorScreenLines error;  // empty line 1: none
  };
  const std::string highError = "  変数処理:エラー、代入できません";
  const Case cases[] = {
      {INT_MIN, 1, {"格納先IDが1000000未満です => -2147483648", location, ""}},
      {999999, 1, {"格納先IDが1000000未満です => 999999", location, ""}},
      {1500000, 1, {"格納先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数指定]です、格納できません", location, ""}},
      {1599999, 1, {"格納先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数指定]です、格納できません", location, ""}},
      {1600000, 1, {}},
      {3000000, 1, {}},
      {8999999, 1, {}},
      {9900000, 1, {}},
      {15000005, 1, {"整数をコモンセルフの文字列域に代入しようとしました", "", ""}},
      {1050000000, 1, {}},
      {1100000201, 1, {"可変DBの「変数」を格納すべき場所に「文字列変数」を代入しようとしました", location, "格納先 1100000201"}},
      {1200000000, 7, {"格納先 1200000000 代入値 7" + highError, location, ""}},
      {1300000000, INT_MIN, {"格納先 1300000000 代入値 -2147483648" + highError, location, ""}},
      {INT_MAX, INT_MAX, {"格納先 2147483647 代入値 2147483647" + highError, location, ""}},
  };
  for (const Case& c : cases) {
    Variables.SetVariable(c.id, c.value);
    const auto shown = TakeErrors();
    if (c.error.line1.empty()) {
      EXPECT_TRUE(shown.empty()) << c.id;
    } else {
      EXPECT_EQ(shown, std::vector<ErrorScreenLines>{c.error}) << c.id;
    }
  }
  EXPECT_EQ(UserDatabase.GetInt(0, 0, 0), 0) << "the user database is not written";

  const int32_t stored[] = {1000000, 1499999, 2000000, 2999999, 9000000, 15000000, 1100000300};
  for (int32_t id : stored) {
    for (int32_t value : {INT_MIN, INT_MAX}) {
      Variables.SetVariable(id, value);
      EXPECT_EQ(Variables.GetVariable(id), value) << id;
    }
  }
  // Common event 9999 does not exist: the write is dropped.
  EXPECT_EQ(Variables.GetVariable(15999999), 0);
  EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(VariableStoreTest, WritesGrowTheLists) {
  Variables.SetVariable(2000150, 9);
  EXPECT_EQ(Variables.numberedSets[0].size(), 151u);
  EXPECT_EQ(Variables.GetVariable(2000200), 0);
  Variables.SetVariable(2999999, 1);
  EXPECT_EQ(Variables.numberedSets[9].size(), 100000u);

  Variables.SetVariable(1012345, 4);  // map 3, event 1234, slot 5
  ASSERT_EQ(Variables.mapSelfVariables.size(), 4u);
  ASSERT_EQ(Variables.mapSelfVariables[3].size(), 1235u);
  EXPECT_EQ(Variables.mapSelfVariables[3][1234], (std::vector<int32_t>{0, 0, 0, 0, 0, 4}));

  Variables.SetStringVariable(3000009, "x");
  EXPECT_EQ(Variables.stringVariables.size(), 10u);
  EXPECT_EQ(Variables.GetStringVariable(3000009), "x");
  EXPECT_EQ(Variables.GetStringVariable(3000010), "");

  Variables.SetStringVariable(15001207, "self");  // common event 12 beyond the list
  ASSERT_EQ(Variables.commonSelfStrings.size(), 13u);
  EXPECT_EQ(Variables.commonSelfStrings[12].size(), 3u);
  EXPECT_EQ(Variables.GetStringVariable(15001207), "self");

  // Variable-database reads grow the type to the record asked for.
  EXPECT_EQ(Variables.GetVariable(1100000900), 0);
  EXPECT_EQ(VariableDatabase.GetDataCount(0), 10);
}

TEST_F(VariableStoreTest, StringAccessByRange) {
  const std::string location = ErrorLocationText();
  Variables.SetStringVariable(15000007, "third");
  EXPECT_EQ(Variables.commonSelfStrings[0][2], "third");
  EXPECT_EQ(Variables.GetStringVariable(15000007), "third");
  EXPECT_EQ(Variables.GetStringVariable(5), "<<ERROR>>");
  EXPECT_EQ(Variables.GetStringVariable(-5), "<<ERROR>>");
  EXPECT_EQ(Variables.GetStringVariable(2000000), "<<ERROR>>");
  EXPECT_EQ(Variables.GetStringVariable(15000001), "<<ERROR>>");
  EXPECT_EQ(Variables.GetStringVariable(1000000201), "t0r2");
  EXPECT_TRUE(TakeErrors().empty());

  Variables.SetStringVariable(15000001, "x");
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"文字列をコモンセルフの整数域に代入しようとしました", location, "格納先 15000001"}}));
  Variables.SetStringVariable(1599999, "x");
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"格納先IDが1500000～1600000[旧ｺﾓﾝｲﾍﾞﾝﾄｾﾙﾌ変数指定]です､格納できません", location, ""}}));
  Variables.SetStringVariable(1100000200, "x");
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"DBの「文字列」を格納すべき場所に「変数」を代入しようとしました", location, "格納先 1100000200"}}));
  Database other = MakeTestDatabase(3, 1);
  Variables.SetStringVariable(1100000200, "x", &other);
  EXPECT_EQ(TakeErrors()[0].line1, "可変DBの「文字列」を格納すべき場所に「変数」を代入しようとしました");
  EXPECT_EQ(other.GetDataCount(0), 3) << "the other database grows too";
  Variables.SetStringVariable(1100000201, "cell", &other);
  EXPECT_EQ(Variables.GetStringVariable(1100000201, &other), "cell");
  EXPECT_EQ(Variables.GetStringVariable(1100000201), "t0r2");

  Variables.SetStringVariable(1050000000, "abc");
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"格納先 1050000000 代入値「abc」  文字列操作：「文字列」を格納すべき場所に「変数」を代入しようとしました",
                               location, ""}}));
}

TEST_F(VariableStoreTest, LongStringInTheWriteErrorIsCutAtACharacter) {
  std::string value = "a";
  for (int i = 0; i < 200; ++i) value += "字";
  Variables.SetStringVariable(1300000000, value);
  const auto shown = TakeErrors();
  ASSERT_EQ(shown.size(), 1u);
  const std::string& line = shown[0].line1;
  EXPECT_LE(line.size(), 255u);
  EXPECT_GE(line.size(), 253u);
  const std::string head = "格納先 1300000000 代入値「a";
  ASSERT_EQ(line.compare(0, head.size(), head), 0);
  const std::string tail = "」  文字列操作：「文字列」を格納すべき場所に「変数」を代入しようとしました";
  ASSERT_GE(line.size(), tail.size());
  EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
  EXPECT_EQ((line.size() - head.size() - tail.size()) % 2, 0u) << "whole two-byte characters only";
}

TEST_F(VariableStoreTest, MapOverrideServesOneAccessOnly) {
  Variables.SetVariable(1000010, 33);  // current map 3, event 1
  Variables.mapOverride = 5;
  Variables.SetVariable(1000010, 55);
  EXPECT_EQ(Variables.mapOverride, -1);
  EXPECT_EQ(Variables.GetVariable(1000010), 33) << "the next access uses the current map";
  Variables.mapOverride = 5;
  EXPECT_EQ(Variables.GetVariable(1000010), 55);
  EXPECT_EQ(Variables.GetVariable(1000010), 33);

  // Every access consumes it: a string read or an unrelated range does not
  // leave it for a later page-condition check.
  for (auto access : {+[] { Variables.GetStringVariable(3000000); }, +[] { Variables.GetVariable(2000000); },
                      +[] { Variables.SetVariable(2000000, 1); }, +[] { Variables.GetVariable(5); },
                      +[] { Variables.SetStringVariable(3000000, ""); }}) {
    Variables.mapOverride = 5;
    access();
    EXPECT_EQ(Variables.mapOverride, -1);
    EXPECT_EQ(GetVariable(1000010), 33);
  }

  // The interpreter names its map itself; the override is dropped.
  Variables.mapOverride = 9;
  EXPECT_EQ(Variables.GetVariableOnMap(1000010, 5), 55);
  EXPECT_EQ(Variables.mapOverride, -1);
  Variables.SetVariableOnMap(1000011, 7, -1);
  EXPECT_EQ(Variables.GetVariable(1000011), 7) << "below 0: the current map";
}

TEST_F(VariableStoreTest, NoCurrentMapNeverIndexes) {
  map.mapId = -1;
  Variables.SetVariable(1000000, 5);
  EXPECT_TRUE(Variables.mapSelfVariables.empty()) << "dropped";
  EXPECT_EQ(Variables.GetVariable(1000000), 0);
  Variables.mapOverride = 2;
  Variables.SetVariable(1000000, 6);
  Variables.mapOverride = 2;
  EXPECT_EQ(Variables.GetVariable(1000000), 6);
  Variables.SetVariableOnMap(1000000, 6, VariableStore::kMapIdLimit);
  EXPECT_EQ(Variables.mapSelfVariables.size(), 3u) << "a map id beyond the limit is not grown to";
  EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(VariableStoreTest, CharacterPositions) {
  EXPECT_EQ(Variables.GetVariable(9100001), 10);   // tile y of precise 21 truncates
  EXPECT_EQ(Variables.GetVariable(9100002), 10);
  EXPECT_EQ(Variables.GetVariable(9100003), 21);
  EXPECT_EQ(Variables.GetVariable(9100004), 5);
  EXPECT_EQ(Variables.GetVariable(9179990), -1);   // precise -3 truncates toward zero
  EXPECT_EQ(Variables.GetVariable(9100010), 0);    // no event 1
  EXPECT_EQ(Variables.GetVariable(9180002), 40);
  EXPECT_EQ(Variables.GetVariable(9180012), 50);
  EXPECT_EQ(Variables.GetVariable(9180022), -1);

  Variables.SetVariable(9100000, 3);
  EXPECT_EQ(map.events[0].preciseX, 6);
  Variables.SetVariable(9100001, INT_MAX);
  EXPECT_EQ(map.events[0].preciseY, -2) << "value x 2 wraps";
  Variables.SetVariable(9100004, 12);
  EXPECT_EQ(map.events[0].height, 12);
  Variables.SetVariable(9180013, 9);
  EXPECT_EQ(map.party[1].preciseY, 9);
  Variables.SetVariable(9180020, 9);  // no second follower
  Variables.SetVariable(9100010, 9);  // no event 1
  EXPECT_EQ(map.events.count(1), 0u);
}

TEST_F(VariableStoreTest, RandomNumbersStayInRange) {
  EngineRandom(kRandomSet, 99);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(Variables.GetVariable(8000000), 0);
    const int32_t n = Variables.GetVariable(8000006);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 6);
  }
  const int32_t big = Variables.GetVariable(8999999);
  EXPECT_GE(big, 0);
  EXPECT_LE(big, 999999);
}

TEST_F(VariableStoreTest, CommonSelfListsShorterThanAHundred) {
  Variables.commonSelfIntegers[2].resize(3);
  Variables.SetVariable(15000250, 4);
  EXPECT_EQ(Variables.commonSelfIntegers[2].size(), 3u);
  EXPECT_EQ(Variables.GetVariable(15000250), 0);
  Variables.SetVariable(15000202, 4);
  EXPECT_EQ(Variables.GetVariable(15000202), 4);
  Variables.commonSelfStrings[2].clear();
  EXPECT_EQ(Variables.GetStringVariable(15000209), "");
}

TEST_F(VariableStoreTest, IdsBeyondThirtyTwoBitsNameNothing) {
  EXPECT_EQ(Variables.GetVariable(int64_t{INT32_MAX} + 2000000), 0);
  EXPECT_EQ(Variables.GetVariable(int64_t{INT32_MIN} - 1), 0);
  Variables.SetVariable(int64_t{1} << 40, 5);
  EXPECT_EQ(Variables.GetStringVariable(int64_t{1} << 40), "<<ERROR>>");
  Variables.SetStringVariable(-(int64_t{1} << 40), "x");
  EXPECT_TRUE(TakeErrors().empty());

  // Rebasing large event ids does not wrap into another range.
  EXPECT_EQ(RebaseRelativeVariableId(1100003, 5, -1), 1000053);
  EXPECT_EQ(RebaseRelativeVariableId(1600012, -1, 7), 15000712);
  EXPECT_EQ(RebaseRelativeVariableId(9190001, 8, -1), 9100081);
  EXPECT_EQ(RebaseRelativeVariableId(1100003, INT32_MAX, -1), 1000000 + int64_t{INT32_MAX} * 10 + 3);
  EXPECT_FALSE(IsVariableIdInRange(RebaseRelativeVariableId(1600000, -1, INT32_MAX)));
  EXPECT_EQ(RebaseRelativeVariableId(2000000, 5, 5), 2000000);
}

TEST_F(VariableStoreTest, IntegerTestAndCells) {
  struct Case {
    int32_t id;
    bool integer;
  };
  const Case cases[] = {{5, true},           {1600004, true},     {1600005, false},    {1600009, false},
                        {1600010, true},     {2000000, true},     {3000000, false},    {3999999, false},
                        {9900000, false},    {9999999, false},    {15000004, true},    {15000005, false},
                        {15000009, false},   {15000010, true},    {1000000000, true},  {1000000001, false},
                        {1100000001, false}, {1300000000, true},  {1300000002, false}, {1200000000, true}};
  for (const Case& c : cases) EXPECT_EQ(IsIntegerVariableId(c.id), c.integer) << c.id;

  using Cell = IntegerVariableCell;
  EXPECT_EQ(GetIntegerVariablePointer(2000099, -1), (Cell{Cell::kNumberedSet, 0, 99}));
  EXPECT_EQ(GetIntegerVariablePointer(2000100, -1), Cell{}) << "beyond the set";
  EXPECT_EQ(GetIntegerVariablePointer(1600003, 4), (Cell{Cell::kCommonSelf, 4, 3}));
  EXPECT_EQ(GetIntegerVariablePointer(1600007, 4), Cell{});
  EXPECT_EQ(GetIntegerVariablePointer(1600003, -1), Cell{});
  EXPECT_EQ(GetIntegerVariablePointer(1600003, 10), Cell{}) << "no common event 10";
  EXPECT_EQ(GetIntegerVariablePointer(15000403, 4), Cell{});
  EXPECT_EQ(GetIntegerVariablePointer(1000000300, -1), (Cell{Cell::kDatabase, kSelectUserDatabase, 0, 3, 0}));
  EXPECT_EQ(GetIntegerVariablePointer(1100000301, -1), Cell{}) << "a string item";
  EXPECT_EQ(GetIntegerVariablePointer(1100000900, -1), Cell{}) << "not grown";
  EXPECT_EQ(GetIntegerVariablePointer(1300000000, -1), (Cell{Cell::kDatabase, kSelectSystemDatabase, 0, 0, 0}));
  EXPECT_EQ(GetIntegerVariablePointer(5, -1), Cell{});

  const Cell cell = GetIntegerVariablePointer(2000099, -1);
  *ResolveIntegerVariableCell(cell) = 77;
  EXPECT_EQ(Variables.GetVariable(2000099), 77);
  Variables.SetVariable(2099999, 1);  // the set grows: the cell still resolves
  EXPECT_EQ(*ResolveIntegerVariableCell(cell), 77);
  Variables = VariableStore();
  EXPECT_EQ(*ResolveIntegerVariableCell(cell), 0);
  Variables.numberedSets.clear();
  EXPECT_EQ(ResolveIntegerVariableCell(cell), nullptr);
  *ResolveIntegerVariableCell(GetIntegerVariablePointer(1600003, 4)) = 5;
  EXPECT_EQ(Variables.GetVariable(15000403), 5);
}

TEST_F(VariableStoreTest, AssignmentKeepsTheTargetsBinding) {
  RootEventRunner snapshotRunner;
  snapshotRunner.systemValues0To4[0] = 42;
  VariableStore snapshot(&snapshotRunner);
  snapshot.SetVariable(2000001, 9);
  EXPECT_EQ(snapshot.GetVariable(9000000), 42);

  Variables = snapshot;
  EXPECT_EQ(Variables.rootRunner, &RootRunner);
  EXPECT_EQ(Variables.GetVariable(2000001), 9);
  EXPECT_EQ(Variables.GetVariable(9000000), 0);

  VariableStore copy(snapshot);
  EXPECT_EQ(copy.rootRunner, &snapshotRunner) << "a copy starts with the source's binding";
  VariableStore unbound(nullptr);
  EXPECT_EQ(unbound.GetVariable(9000000), 0);
  EXPECT_EQ(unbound.GetStringVariable(9900026), "");
}

TEST_F(VariableStoreTest, ReaderIsInstalledBehindTheHook) {
  Variables.SetVariable(2000003, 8);
  EXPECT_EQ(GetVariable(2000003), 8);
  EXPECT_EQ(GetVariable(-7), -7);
}

}  // namespace
