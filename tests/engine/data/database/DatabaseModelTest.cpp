#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/data/database/Database.h"
#include "engine/services/ErrorLocation.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/DatabaseBuilder.h"

namespace {

// Type 0: integer, string, integer and a code that holds no value, three
// records; type 1: one integer item and no records.
Database SampleDatabase() {
  Database db;
  db.typeData = {MakeTypeData({1000, 2000, 1001, 3000}, 3), MakeTypeData({1000}, 0)};
  for (int32_t r = 0; r < 3; ++r) {
    db.typeData[0].Integer(r, 0) = r * 10;
    db.typeData[0].Integer(r, 1) = r * 10 + 1;
    db.typeData[0].String(r, 0) = "name " + std::to_string(r);
  }
  db.typeDefinitions = {MakeDefinition("Hero", {"hp", "name", "mp", "x"}, {"a", "b", "c"}, {5, 0, 7, 9}),
                        MakeDefinition("Empty", {"v"}, {""}, {42})};
  return db;
}

class DatabaseModelTest : public DataTestHooks {
 protected:
  void SetUp() override {
    DataTestHooks::SetUp();
    DatabaseRangeErrorFlag = 0;
    PublishErrorLocation(12, -1, 7);
  }

  const std::string location = "処理地点:【マップEv 12 コモンEv -1 行7】  　※もし並列処理のｴﾗｰなら地点不明です";
};

TEST_F(DatabaseModelTest, CountsKindsAndNames) {
  const Database db = SampleDatabase();
  EXPECT_EQ(ErrorLocationText(), location);
  EXPECT_EQ(db.GetTypeCount(), 2);
  EXPECT_EQ(db.GetDataCount(0), 3);
  EXPECT_EQ(db.GetDataCount(1), -1) << "a type without records";
  EXPECT_EQ(db.GetDataCount(2), -1);
  EXPECT_EQ(db.GetItemCount(0), 4);
  EXPECT_EQ(db.GetItemCount(-1), -1);
  EXPECT_EQ(db.GetItemKind(0, 0), 1);
  EXPECT_EQ(db.GetItemKind(0, 1), 2);
  EXPECT_EQ(db.GetItemKind(0, 3), 3);
  EXPECT_EQ(db.GetItemKind(0, 4), -1);
  EXPECT_EQ(db.GetItemKind(2, 0), -1);
  Database longerNames = db;
  longerNames.typeDefinitions[1].itemNames = {"v", "w"};
  EXPECT_EQ(longerNames.GetItemKind(1, 1), -1) << "a named item without a code has no kind";
  EXPECT_EQ(db.GetTypeName(1), "Empty");
  EXPECT_EQ(db.GetTypeName(2), "×NoData");
  EXPECT_EQ(db.GetItemName(0, 2), "mp");
  EXPECT_EQ(db.GetItemName(0, 4), "×NoData");
  EXPECT_EQ(db.GetItemName(-1, 0), "×NoData");
  EXPECT_EQ(Database().GetTypeCount(), 0);
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(DatabaseModelTest, GetIntChecksInOrderWithTheTextsOfEachCase) {
  const Database db = SampleDatabase();
  const struct Case {
    int32_t type, data, item, result;
    std::vector<std::string> lines;
  } cases[] = {
      {0, 2, 2, 21, {}},
      {0, 1, 1, 0, {}},  // a string item
      {0, 1, 3, 0, {}},  // a code that holds no value
      {-1, 0, 0, -1, {}},
      {0, -1, 0, -1, {}},
      {0, 0, -1, -1, {}},
      {0, 0, 4, -1, {}},
      {2, 0, 0, 0, {"エラー：存在しないタイプ番号 2 を読みに行っています", location, ""}},
      {0, 3, 2, 7, {"エラー：タイプ 0 に存在しないデータ番号 3 を読みに行っています", "", ""}},
      {0, 3, 10, 0, {"エラー：タイプ 0 に存在しないデータ番号 3 を読みに行っています", "", ""}},
      {0, 3, -1, 0, {"エラー：タイプ 0 に存在しないデータ番号 3 を読みに行っています", "", ""}},
      {1, 0, 0, 42, {"エラー：タイプ 1 に存在しないデータ番号 0 を読みに行っています", "", ""}},
      {1, -1, 0, 42, {"エラー：タイプ 1 に存在しないデータ番号 -1 を読みに行っています", "", ""}},
  };
  for (const Case& c : cases) {
    errorScreenLines.clear();
    DatabaseRangeErrorFlag = 0;
    EXPECT_EQ(db.GetInt(c.type, c.data, c.item), c.result) << c.type << " " << c.data << " " << c.item;
    EXPECT_EQ(errorScreenLines, c.lines) << c.type << " " << c.data << " " << c.item;
    EXPECT_EQ(DatabaseRangeErrorFlag, c.lines.empty() ? 0 : 1);
  }
}

TEST_F(DatabaseModelTest, GetStringChecksInOrderWithTheTextsOfEachCase) {
  const Database db = SampleDatabase();
  const struct Case {
    int32_t type, data, item;
    std::string result;
    std::vector<std::string> lines;
  } cases[] = {
      {0, 2, 1, "name 2", {}},
      {0, 0, 0, "<<ERROR>>", {}},  // an integer item
      {-1, 0, 0, "<<ERROR>>", {}},
      {0, -1, 1, "<<ERROR>>", {}},
      {0, 0, -1, "<<ERROR>>", {}},
      {2, 0, 0, "<<ERROR>>", {"エラー：存在しないタイプ番号を読みに行っています", "", ""}},
      {0, 3, 1, "<<ERROR>>", {"エラー：存在しないデータ番号を読みに行っています", location, ""}},
      {0, 0, 4, "<<ERROR>>", {"エラー：存在しない内容番号を読みに行っています", "Type0 ﾃﾞｰﾀ番号0 内容4(Max4)", location}},
  };
  for (const Case& c : cases) {
    errorScreenLines.clear();
    DatabaseRangeErrorFlag = 0;
    std::string out = "unset";
    EXPECT_EQ(db.GetString(c.type, c.data, c.item, &out), c.result) << c.type << " " << c.data << " " << c.item;
    EXPECT_EQ(out, c.result);
    EXPECT_EQ(errorScreenLines, c.lines) << c.type << " " << c.data << " " << c.item;
    EXPECT_EQ(DatabaseRangeErrorFlag, c.lines.empty() ? 0 : 1);
  }
}

TEST_F(DatabaseModelTest, EachNameModeNamesTheRecords) {
  Database db;
  db.typeData = {MakeTypeData({2000}, 2, 2),     MakeTypeData({2000}, 2, 1),     MakeTypeData({2000}, 2, 0),
                 MakeTypeData({2000}, 2, 2),     MakeTypeData({2000}, 2, 2),     MakeTypeData({2000}, 2, 2),
                 MakeTypeData({2000}, 2, 10000), MakeTypeData({2000}, 2, 39999), MakeTypeData({2000}, 2, 7),
                 MakeTypeData({}, 2, 1)};
  db.typeData[1].String(0, 0) = "first string";
  db.typeDefinitions.assign(10, MakeDefinition("", {}, {"d0", "d1", "d2"}, {}));
  db.typeDefinitions[2].dataNames = {"two-0", "two-1"};

  EXPECT_EQ(db.GetDataName(0, 0), "×NoData") << "no earlier type";
  EXPECT_EQ(db.GetDataName(1, 0), "first string");
  EXPECT_EQ(db.GetDataName(1, 2), "") << "a named data number without a record";
  EXPECT_EQ(db.GetDataName(2, 1), "two-1");
  EXPECT_EQ(db.GetDataName(5, 0), "two-0") << "past types 4 and 3, also of mode 2";
  EXPECT_EQ(db.GetDataName(5, 2), "×NoData") << "type 2 names only two records";
  EXPECT_EQ(db.GetDataName(6, 0), "");
  EXPECT_EQ(db.GetDataName(7, 0), "");
  EXPECT_EQ(db.GetDataName(8, 0), "");
  EXPECT_EQ(db.GetDataName(9, 0), "") << "records without strings";
  EXPECT_EQ(db.GetDataName(2, 3), "×NoData");
  EXPECT_EQ(db.GetDataName(2, -1), "×NoData");
  EXPECT_EQ(db.GetDataName(10, 0), "×NoData");
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(DatabaseModelTest, SetDataCountFillsTheItemDefaultsAndKeepsTheDataNamesInStep) {
  Database db;
  db.typeData = {MakeTypeData({1000, 2000, 1001}, 1)};
  db.typeDefinitions = {MakeDefinition("", {"a", "b", "c"}, {"only"}, {5, 0, 7})};
  db.typeData[0].Integer(0, 0) = 99;
  db.SetDataCount(0, 3);
  ASSERT_EQ(db.GetDataCount(0), 3);
  EXPECT_EQ(db.GetInt(0, 0, 0), 99) << "an old record keeps its values";
  for (int32_t r = 1; r < 3; ++r) {
    EXPECT_EQ(db.GetInt(0, r, 0), 5);
    EXPECT_EQ(db.GetInt(0, r, 2), 7);
    EXPECT_EQ(db.GetString(0, r, 1), "");
  }
  EXPECT_EQ(db.typeDefinitions[0].dataNames, (std::vector<std::string>{"only", "", ""}));

  db.SetDataCount(0, 1);
  EXPECT_EQ(db.GetDataCount(0), 1);
  EXPECT_EQ(db.typeDefinitions[0].dataNames, std::vector<std::string>{"only"});

  // Defaults are walked up to the record's cell count only: after a code
  // that holds no value, the last integer item keeps 0.
  Database quirk;
  quirk.typeData = {MakeTypeData({3000, 1000}, 0)};
  quirk.typeDefinitions = {MakeDefinition("", {"x", "y"}, {}, {1, 2})};
  quirk.SetDataCount(0, 1);
  EXPECT_EQ(quirk.GetInt(0, 0, 1), 0);
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(DatabaseModelTest, SetDataCountOnATypeWithoutRecordsGivesOneNamePerRecord) {
  Database db = SampleDatabase();
  db.SetDataCount(1, 10);
  EXPECT_EQ(db.GetDataCount(1), 10);
  EXPECT_EQ(db.typeDefinitions[1].dataNames.size(), 10u);
  EXPECT_EQ(db.GetInt(1, 9, 0), 42);

  db.keepDataNames = 0;
  db.SetDataCount(0, 5);
  EXPECT_EQ(db.typeDefinitions[0].dataNames.size(), 3u);

  db.SetDataCount(2, 4);
  EXPECT_EQ(errorScreenLines,
            (std::vector<std::string>{"このDBにタイプ2は存在しません、対象DBを間違えていないかご確認下さい", location, ""}));
}

TEST_F(DatabaseModelTest, SetDataCountGrowsNoFurtherThanItsLimits) {
  std::vector<int32_t> seventeen;
  for (int32_t slot = 0; slot < 17; ++slot) seventeen.push_back(1000 + slot);
  Database db;
  db.typeData = {MakeTypeData({}, 1), MakeTypeData(seventeen, 1)};
  EXPECT_TRUE(db.SetDataCount(0, Database::kMaxDataCount));
  EXPECT_FALSE(db.SetDataCount(0, Database::kMaxDataCount + 1));
  EXPECT_FALSE(db.SetDataCount(0, INT32_MAX));
  EXPECT_EQ(db.GetDataCount(0), Database::kMaxDataCount);
  EXPECT_FALSE(db.SetDataCount(1, static_cast<int32_t>(Database::kMaxCells / 17 + 1))) << "too many cells";
  EXPECT_EQ(db.GetDataCount(1), 1);
  EXPECT_FALSE(db.SetDataCount(1, -1));
  EXPECT_TRUE(db.SetDataCount(0, 2)) << "shrinking is always allowed";
  EXPECT_EQ(db.GetDataCount(0), 2);
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(DatabaseModelTest, InitRecordResetsOneRecordToTheDefaults) {
  Database db = SampleDatabase();
  db.InitRecord(0, 1);
  EXPECT_EQ(db.GetInt(0, 1, 0), 5);
  EXPECT_EQ(db.GetInt(0, 1, 2), 7);
  EXPECT_EQ(db.GetString(0, 1, 1), "");
  EXPECT_EQ(db.GetInt(0, 2, 0), 20) << "other records stay";

  const Database before = db;
  db.InitRecord(0, 3);
  db.InitRecord(0, -1);
  db.InitRecord(-1, 0);
  EXPECT_EQ(db, before);
  EXPECT_TRUE(errorScreenLines.empty());
  db.InitRecord(2, 0);
  EXPECT_EQ(errorScreenLines, (std::vector<std::string>{"DB初期化:初期化しようとしたタイプ番号2がありません", "", ""}));
}

TEST_F(DatabaseModelTest, WritesGoOnlyIntoCellsOfTheirKind) {
  Database db = SampleDatabase();
  EXPECT_TRUE(db.SetInt(0, 2, 2, -8));
  EXPECT_EQ(db.GetInt(0, 2, 2), -8);
  EXPECT_TRUE(db.SetString(0, 0, 1, "新しい"));
  EXPECT_EQ(db.GetString(0, 0, 1), "新しい");

  const Database before = db;
  EXPECT_FALSE(db.SetInt(0, 0, 1, 1));
  EXPECT_FALSE(db.SetInt(0, 0, 3, 1));
  EXPECT_FALSE(db.SetInt(0, 3, 0, 1));
  EXPECT_FALSE(db.SetInt(1, 0, 0, 1));
  EXPECT_FALSE(db.SetInt(0, 0, -1, 1));
  EXPECT_FALSE(db.SetString(0, 0, 0, "x"));
  EXPECT_FALSE(db.SetString(0, -1, 1, "x"));
  EXPECT_FALSE(db.SetString(2, 0, 0, "x"));
  EXPECT_EQ(db, before);
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(DatabaseModelTest, AnIntegerCellIsFoundAgainAfterTheDatabaseChanges) {
  Database db = SampleDatabase();
  EXPECT_FALSE(db.IntCellPointer(0, 0, 1)) << "a string item";
  EXPECT_FALSE(db.IntCellPointer(0, 3, 0));
  EXPECT_FALSE(db.IntCellPointer(-1, 0, 0));
  const std::optional<DatabaseIntCell> cell = db.IntCellPointer(0, 2, 2);
  ASSERT_TRUE(cell);
  *db.ResolveIntCell(*cell) = 77;
  db.SetDataCount(0, 500);
  ASSERT_NE(db.ResolveIntCell(*cell), nullptr);
  EXPECT_EQ(*db.ResolveIntCell(*cell), 77);
  db = SampleDatabase();
  EXPECT_EQ(*db.ResolveIntCell(*cell), 21);
  db.SetDataCount(0, 2);
  EXPECT_EQ(db.ResolveIntCell(*cell), nullptr);
}

TEST_F(DatabaseModelTest, ItemCodesWithASlotOutsideTheirRowAreRefused) {
  DatabaseTypeData entries;
  EXPECT_FALSE(entries.SetItemCodes({1001}));
  EXPECT_FALSE(entries.SetItemCodes({2000, 1000, 2002}));
  EXPECT_EQ(entries, DatabaseTypeData{});
  EXPECT_TRUE(entries.SetItemCodes({2001, 1000, 2000}));
  EXPECT_EQ(entries.IntegerCount(), 1);
  EXPECT_EQ(entries.StringCount(), 2);
  EXPECT_EQ(entries.RecordCount(), 1);
  EXPECT_EQ(entries.String(0, 0), "");
}

}  // namespace
