#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/DatabaseFileWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

// Blocks with each head: -2 with a name mode, -1, the plain item count (tag
// 0 asks the writer for it) and -5; a string of 6000 bytes; a type whose
// records carry no values.
Database SampleDatabase() {
  Database db;
  db.typeData = {MakeSampleTypeData({1000, 2000, 1001}, 2, 1), MakeSampleTypeData({2000}, 1, 0, -1),
                 MakeSampleTypeData({1002, 1000, 1001}, 3, 0, 0), MakeSampleTypeData({}, 4, 2, -5)};
  db.typeData[0].String(1, 0).assign(6000, 'L');
  db.typeDefinitions = {MakeSampleDefinition("Actors", {"hp", "name", "mp"}, {"Hero", "Mage"}),
                        MakeSampleDefinition("Items", {"name"}, {"Potion"}),
                        MakeSampleDefinition("Stats", {"a", "b", "c"}, {"x", "y", "z"}),
                        MakeSampleDefinition("Names", {}, {"n0", "n1", "n2", "n3"})};
  return db;
}

// What loading the sample gives: a plain head keeps the tag and name mode of
// a new type.
Database Loaded(Database db) {
  db.typeData[2].formatTag = -2;
  return db;
}

// A version 0xC0 ".project" holds names and memo only; the per-item lists
// take one empty entry per item name.
Database LoadedNamesOnly(Database db) {
  db = Loaded(db);
  for (DatabaseTypeDefinition& definition : db.typeDefinitions) {
    const size_t items = definition.itemNames.size();
    definition.itemKindBytes = {};
    definition.itemTexts.assign(items, "");
    definition.itemOptionTexts.assign(items, {});
    definition.itemOptionValues.assign(items, {});
    definition.itemDefaults.assign(items, 0);
  }
  return db;
}

class DatabaseFileTest : public DataFolderTest {
 protected:
  static bool ReadDat(Database& db, const std::string& bytes) {
    FileBuffer file = BufferOf(bytes);
    return db.ReadDataFile(file, "BasicData\\DataBase", "Data\\BasicData\\DataBase.dat");
  }
  static bool ReadProject(Database& db, const std::string& bytes, uint8_t version = 0xC1) {
    FileBuffer file = BufferOf(bytes);
    return db.ReadProjectFile(file, "BasicData\\DataBase", version);
  }
  static DatabaseFileOptions Version(uint8_t version, std::array<uint8_t, 3> seeds = {0x19, 0x6B, 0xD4}) {
    DatabaseFileOptions options;
    options.version = version;
    options.seeds = seeds;
    return options;
  }

  void ExpectDamagedMessage(size_t index = 0) const {
    ASSERT_GT(messageBoxes.size(), index);
    EXPECT_EQ(messageBoxes[index].title, "MsgBox");
    EXPECT_EQ(messageBoxes[index].text, "データベースファイル\nBasicData\\DataBaseが\n破損しているか、バージョンが古い可能性があります。");
  }

};

TEST_F(DatabaseFileTest, LoadsPairsOfBothVersions) {
  WriteDatabaseFiles(dir_, "BasicData\\DataBase", SampleDatabase());
  Database db;
  ASSERT_TRUE(db.Load("BasicData\\DataBase"));
  EXPECT_EQ(db, Loaded(SampleDatabase()));
  EXPECT_EQ(db.typeData[1].formatTag, -1);
  EXPECT_EQ(db.typeData[3].nameMode, 2);
  EXPECT_EQ(db.GetString(0, 1, 1).size(), 6000u);
  EXPECT_EQ(db.GetDataCount(3), 4);
  EXPECT_EQ(DatabaseFileVersion("BasicData\\DataBase"), 0xC1);

  WriteDatabaseFiles(dir_, "BasicData\\DataBase", SampleDatabase(), Version(0xC0));
  Database old;
  ASSERT_TRUE(old.Load("BasicData\\DataBase"));
  EXPECT_EQ(old, LoadedNamesOnly(SampleDatabase()));
  EXPECT_EQ(DatabaseFileVersion("BasicData\\DataBase"), 0xC0);
  old.SetDataCount(2, 5);
  for (int32_t item = 0; item < 3; ++item) EXPECT_EQ(old.GetInt(2, 4, item), 0);
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(DatabaseFileTest, PerItemListsShorterThanTheItemsArePadded) {
  Database sample = SampleDatabase();
  DatabaseTypeDefinition& definition = sample.typeDefinitions[0];
  definition.itemTexts = {"only one"};
  definition.itemOptionTexts = {};
  definition.itemDefaults = {8, 9};
  Database db;
  ASSERT_TRUE(ReadProject(db, WriteDatabaseProject(sample)));
  EXPECT_EQ(db.typeDefinitions[0].itemTexts, (std::vector<std::string>{"only one", "", ""}));
  EXPECT_EQ(db.typeDefinitions[0].itemOptionTexts, std::vector<std::vector<std::string>>(3));
  EXPECT_EQ(db.typeDefinitions[0].itemDefaults, (std::vector<int32_t>{8, 9, 0}));
}

TEST_F(DatabaseFileTest, APlainDatIgnoresItsChecksumByte) {
  std::string bytes = WriteDatabaseDat(SampleDatabase(), Version(0xC1, {0, 0, 0}));
  bytes[2] = static_cast<char>(bytes[2] + 1);
  Database db;
  EXPECT_TRUE(ReadDat(db, bytes));
  EXPECT_EQ(db.typeData, Loaded(SampleDatabase()).typeData);
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(DatabaseFileTest, AMissingFileOfThePairEndsTheProcess) {
  Database db;
  EXPECT_THROW(db.Load("BasicData\\DataBase"), ProcessExited);
  dir_.Write("Data/BasicData/DataBase.dat", WriteDatabaseDat(SampleDatabase()));
  EXPECT_THROW(db.Load("BasicData\\DataBase"), ProcessExited);
  EXPECT_EQ(exitCodes, (std::vector<int>{1, 1}));
  ASSERT_EQ(messageBoxes.size(), 2u);
  const std::string folder = dir_.Path() + "/Data/BasicData\\DataBase";
  EXPECT_EQ(messageBoxes[0].title, "読み込みエラー");
  EXPECT_EQ(messageBoxes[0].text, "データベースファイル読み込みに失敗、強制終了します。\n\r\n\r" + folder +
                                      ".dat\r\nのファイルがあるか確認してください");
  EXPECT_EQ(messageBoxes[1].text, "データベースファイル読み込みに失敗、強制終了します。\n\r\n\r" + folder +
                                      ".project\r\nのファイルがあるか確認してください");
}

TEST_F(DatabaseFileTest, AnUnknownVersionByteIsReported) {
  Database db = SampleDatabase();
  EXPECT_FALSE(ReadDat(db, WriteDatabaseDat(Database(), Version(0xC2))));
  EXPECT_EQ(db, SampleDatabase()) << "the database keeps what it held";
  ExpectDamagedMessage(0);

  DatabaseFileOptions closing;
  closing.closingVersion = 0xBF;
  Database read;
  EXPECT_FALSE(ReadDat(read, WriteDatabaseDat(SampleDatabase(), closing)));
  EXPECT_EQ(read.typeData, Loaded(SampleDatabase()).typeData) << "the types read stay";
  ExpectDamagedMessage(1);

  // Either known version may close either.
  closing.closingVersion = 0xC0;
  EXPECT_TRUE(ReadDat(read, WriteDatabaseDat(SampleDatabase(), closing)));
  EXPECT_EQ(messageBoxes.size(), 2u);
}

TEST_F(DatabaseFileTest, AChecksumMismatchEndsTheProcess) {
  std::string bytes = WriteDatabaseDat(SampleDatabase());
  bytes[bytes.size() - 3] ^= 0x01;  // a character of the last string
  Database db;
  EXPECT_THROW(ReadDat(db, bytes), ProcessExited);
  EXPECT_EQ(exitCodes, std::vector<int>{1});
  ASSERT_EQ(errorScreenLines.size(), 3u);
  EXPECT_EQ(errorScreenLines[0],
            "ファイル Data\\BasicData\\DataBase.dat が改竄されたか、破損している可能性があります。\nロードを中止します。");
}

// One type: codes {1000, 2000}, one record (7, "ab"), plain. Offsets: type
// count 11, head 15, name mode 19, item count 23, codes 27 and 31, record
// count 35, integer 39, string length 43.
Database SmallDatabase() {
  Database db;
  db.typeData = {MakeSampleTypeData({1000, 2000}, 1)};
  return db;
}

TEST_F(DatabaseFileTest, DamagedDatFilesFailCleanly) {
  for (const Database& sample : {SampleDatabase(), SmallDatabase()}) {
    const std::string valid = WriteDatabaseDat(sample, Version(0xC1, {0, 0, 0}));
    for (size_t n = 0; n < valid.size(); ++n) {
      Database db;
      ASSERT_FALSE(ReadDat(db, valid.substr(0, n))) << n;
    }
  }
  const std::string valid = WriteDatabaseDat(SmallDatabase(), Version(0xC1, {0, 0, 0}));
  ASSERT_EQ(valid[39], 0);
  const struct {
    size_t offset;
    int32_t value;
  } edits[] = {
      {11, -1},   {11, 1 << 28}, {23, -1},   {23, 1 << 28},     {27, 1001},   {27, 1002}, {31, 2001},
      {35, -1},   {35, 1 << 26}, {43, -1},   {43, 1 << 20},
  };
  for (const auto& edit : edits) {
    std::string bytes = valid;
    PatchI32(bytes, edit.offset, edit.value);
    Database db;
    EXPECT_FALSE(ReadDat(db, bytes)) << edit.offset << " " << edit.value;
    EXPECT_EQ(db.typeData.size() > 0 ? db.typeData[0] : DatabaseTypeData{}, DatabaseTypeData{})
        << "a damaged block changes nothing";
  }
  EXPECT_TRUE(exitCodes.empty());

  // A type whose records carry no values holds many records in no bytes.
  Database empty;
  empty.typeData = {MakeSampleTypeData({}, DatabaseTypeData::kMaxRecordsWithoutValues)};
  Database db;
  EXPECT_TRUE(ReadDat(db, WriteDatabaseDat(empty)));
  EXPECT_EQ(db.GetDataCount(0), DatabaseTypeData::kMaxRecordsWithoutValues);
  std::string tooMany = WriteDatabaseDat(empty, Version(0xC1, {0, 0, 0}));
  PatchI32(tooMany, 27, DatabaseTypeData::kMaxRecordsWithoutValues + 1);
  EXPECT_FALSE(ReadDat(db, tooMany));
}

TEST_F(DatabaseFileTest, DamagedProjectFilesFailCleanly) {
  Database small;
  small.typeDefinitions = {MakeSampleDefinition("T", {"a", "b"}, {"d"})};
  for (uint8_t version : {0xC0, 0xC1}) {
    const std::string valid = WriteDatabaseProject(SampleDatabase(), version);
    for (size_t n = 0; n < valid.size(); ++n) {
      Database db;
      ASSERT_FALSE(ReadProject(db, valid.substr(0, n), version)) << n;
    }
  }
  // Offsets in the small record: type count 0, name 4, item count 10, data
  // count 26, memo 36, kind count 50, texts 154, option texts 176, option
  // values 218, defaults 246.
  const std::string valid = WriteDatabaseProject(small);
  ASSERT_EQ(valid[154], 2);
  ASSERT_EQ(valid[246], 2);
  const struct {
    size_t offset;
    int32_t value;
  } edits[] = {{0, -1}, {0, 1 << 28}, {4, 2049}, {10, -1}, {26, -2}, {50, 101}, {50, -1},
               {154, 3}, {176, 3}, {218, 3}, {246, 3}, {246, -1}};
  for (const auto& edit : edits) {
    std::string bytes = valid;
    PatchI32(bytes, edit.offset, edit.value);
    Database db;
    EXPECT_FALSE(ReadProject(db, bytes)) << edit.offset << " " << edit.value;
    EXPECT_EQ(db.typeDefinitions.size() > 0 ? db.typeDefinitions[0] : DatabaseTypeDefinition{},
              DatabaseTypeDefinition{});
  }
  Database db;
  DatabaseTypeDefinition lengthy = MakeSampleDefinition(std::string(2047, 'x'), {}, {});
  lengthy.memo = "";
  db.typeDefinitions = {lengthy};
  Database read;
  EXPECT_TRUE(ReadProject(read, WriteDatabaseProject(db)));
  db.typeDefinitions[0].typeName.push_back('x');
  EXPECT_FALSE(ReadProject(read, WriteDatabaseProject(db)));
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(DatabaseFileTest, LoadDatabasesAddsTenSpareRecordsToEachSoundType) {
  Database system;
  system.typeData = {MakeSampleTypeData({2000}, 2), MakeSampleTypeData({2000, 1000}, 5), MakeSampleTypeData({2000}, 0),
                     MakeSampleTypeData({2000, 1000, 1001}, 1)};
  system.typeDefinitions = {MakeSampleDefinition("Maps", {"file"}, {"m0", "m1"}),
                            MakeSampleDefinition("BGM", {"file", "volume"}, {}),
                            MakeSampleDefinition("BGS", {"file"}, {}),
                            MakeSampleDefinition("SE", {"file", "volume", "speed"}, {"s0"})};
  system.typeDefinitions[3].itemDefaults = {0, 100, 50};
  WriteDatabaseFiles(dir_, kSystemDatabaseName, system);
  WriteDatabaseFiles(dir_, kUserDatabaseName, SampleDatabase());
  WriteDatabaseFiles(dir_, kVariableDatabaseName, SmallDatabase(), Version(0xC0));
  VariableDatabase = SampleDatabase();

  LoadDatabases();
  EXPECT_EQ(SystemDatabase.GetDataCount(0), 2);
  EXPECT_EQ(SystemDatabase.GetDataCount(1), 15);
  EXPECT_EQ(SystemDatabase.GetDataCount(2), 10) << "a type without records gets all ten";
  EXPECT_EQ(SystemDatabase.GetDataCount(3), 11);
  EXPECT_EQ(SystemDatabase.GetInt(3, 10, 2), 50);
  EXPECT_EQ(SoundBaseRecordCount(0), 5);
  EXPECT_EQ(SoundBaseRecordCount(1), 0);
  EXPECT_EQ(SoundBaseRecordCount(2), 1);
  EXPECT_EQ(SystemDatabase.typeDefinitions[3].dataNames.size(), 11u);
  EXPECT_EQ(UserDatabase, Loaded(SampleDatabase()));
  EXPECT_EQ(VariableDatabase.typeData, SmallDatabase().typeData);
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(DatabaseFileTest, NameTablesMapEachNameToItsLowestNumber) {
  Database user = SampleDatabase();
  user.typeDefinitions[2].typeName = "Actors";
  user.typeDefinitions[2].dataNames = {"x", "y", "x"};
  user.typeDefinitions[0].itemNames = {"hp", "name", "hp"};
  SystemDatabase = Database();
  VariableDatabase = SmallDatabase();
  UserDatabase = user;
  BuildDatabaseNameMaps();

  const DatabaseNames& names = DatabaseNameTables[kSelectUserDatabase];
  EXPECT_EQ(names.types, (std::map<std::string, int32_t>{{"Actors", 0}, {"Items", 1}, {"Names", 3}}));
  EXPECT_EQ(names.data[2], (std::map<std::string, int32_t>{{"x", 0}, {"y", 1}}));
  EXPECT_EQ(names.items[0], (std::map<std::string, int32_t>{{"hp", 0}, {"name", 1}}));
  // Type 0 names its records by their first string, type 3 like type 2.
  EXPECT_EQ(names.data[0], (std::map<std::string, int32_t>{{"文字0", 0}, {std::string(6000, 'L'), 1}}));
  EXPECT_EQ(names.data[3], (std::map<std::string, int32_t>{{"x", 0}, {"y", 1}, {"×NoData", 3}}));
  EXPECT_TRUE(DatabaseNameTables[kSelectSystemDatabase].types.empty());
  EXPECT_EQ(DatabaseNameTables[kSelectVariableDatabase].types, (std::map<std::string, int32_t>{{"×NoData", 0}}));
}

TEST_F(DatabaseFileTest, TheVariableDatabaseSaveSectionRoundTripsInEitherVersion) {
  for (uint8_t version : {0xC1, 0xC0}) {
    Database game = SampleDatabase();
    WriteDatabaseFiles(dir_, kVariableDatabaseName, game, Version(version));
    Database loaded;
    ASSERT_TRUE(loaded.Load(kVariableDatabaseName));
    loaded.SetInt(0, 0, 0, -123);
    loaded.SetString(1, 0, 0, "changed");

    SaveBuffer out;
    ASSERT_TRUE(WriteVariableDatabase(out, loaded));
    for (const DatabaseTypeData& entries : loaded.typeData) EXPECT_EQ(entries.formatTag, -2);
    EXPECT_EQ(static_cast<uint8_t>(out.Data()[0]), 111);

    // A fresh database, as a save is read into, reads the definitions in the
    // layout of the game's files.
    SaveBuffer in(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()));
    Database restored;
    ASSERT_TRUE(restored.ReadSavedVariableDatabase(in));
    EXPECT_EQ(in.Position(), in.Size());
    EXPECT_EQ(restored, loaded);
    EXPECT_EQ(restored.GetInt(0, 0, 0), -123);
  }
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(DatabaseFileTest, ATruncatedSaveSectionFailsWithTheOverrunFlag) {
  WriteDatabaseFiles(dir_, kVariableDatabaseName, SampleDatabase());
  Database game = Loaded(SampleDatabase());
  SaveBuffer out;
  ASSERT_TRUE(WriteVariableDatabase(out, game));
  const std::string bytes(out.Data(), out.Data() + out.Size());
  for (size_t n = 0; n < bytes.size(); ++n) {
    SaveBuffer in = BufferOf<SaveBuffer>(std::string_view(bytes).substr(0, n));
    Database restored;
    ASSERT_FALSE(restored.ReadSavedVariableDatabase(in)) << n;
    ASSERT_TRUE(in.Overrun());
  }
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(DatabaseFileTest, RecordsWithoutValuesShareOneAllowancePerFile) {
  // Two types at the per-type bound fill the file's allowance; one record
  // more anywhere is damage, in a ".dat" and in a save section alike.
  const int32_t most = DatabaseTypeData::kMaxRecordsWithoutValues;
  ASSERT_EQ(DatabaseTypeData::kMaxRecordsWithoutValuesPerFile, 2 * int64_t{most});
  WriteDatabaseFiles(dir_, kVariableDatabaseName, SampleDatabase());
  // As at start-up: the game's own files set the layout a save's definitions
  // are read in (another test may have left the other one).
  ASSERT_TRUE(Database().Load(kVariableDatabaseName));
  for (int32_t third : {0, 1}) {
    Database many;
    many.typeData = {MakeSampleTypeData({}, most), MakeSampleTypeData({0, 3005}, most),
                     MakeSampleTypeData({1000}, 2), MakeSampleTypeData({}, third)};
    Database db;
    EXPECT_EQ(ReadDat(db, WriteDatabaseDat(many)), third == 0) << third;
    SaveBuffer out;
    ASSERT_TRUE(WriteVariableDatabase(out, many));
    SaveBuffer in(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()));
    Database restored;
    EXPECT_EQ(restored.ReadSavedVariableDatabase(in), third == 0) << third;
    if (third == 0) {
      EXPECT_EQ(restored.GetDataCount(1), most);
      EXPECT_EQ(restored.typeData[2], many.typeData[2]);
    }
  }
}

TEST_F(DatabaseFileTest, AProjectHoldsBoundedNumbersOfDefinitionsAndNames) {
  using Definition = DatabaseTypeDefinition;
  const auto names = [](size_t count) { return std::vector<std::string>(count, ""); };
  const int32_t types = Definition::kMaxDefinitionsPerFile;
  const size_t itemsEach = static_cast<size_t>(Definition::kMaxItemNamesPerFile / types);
  const size_t dataNames = static_cast<size_t>(Definition::kMaxDataNamesPerFile);
  // Each case at its bound reads; one more anywhere is damage.
  const struct Case {
    const char* what;
    size_t types, itemsInFirst, itemsEach, dataInLast;
  } cases[] = {{"definitions", static_cast<size_t>(types), 0, 0, 0},
               {"items in one type", 1, static_cast<size_t>(Definition::kMaxItems), 0, 0},
               {"items in the file", static_cast<size_t>(types), itemsEach, itemsEach, 0},
               {"data names in the file", 2, 0, 0, dataNames}};
  for (const Case& c : cases) {
    for (size_t more : {0, 1}) {
      Database db;
      db.typeDefinitions.assign(c.types, MakeSampleDefinition("", {}, {}));
      db.typeDefinitions.front().itemNames = names(c.itemsInFirst);
      for (size_t t = 1; t < c.types; ++t) db.typeDefinitions[t].itemNames = names(c.itemsEach);
      db.typeDefinitions.back().dataNames = names(c.dataInLast);
      if (c.types == static_cast<size_t>(types) && c.itemsEach == 0) {
        if (more) db.typeDefinitions.push_back(MakeSampleDefinition("", {}, {}));
      } else if (c.dataInLast) {
        db.typeDefinitions.front().dataNames = names(more);
      } else {
        db.typeDefinitions.front().itemNames.resize(c.itemsInFirst + more);
      }
      Database read;
      EXPECT_EQ(ReadProject(read, WriteDatabaseProject(db, 0xC0), 0xC0), more == 0) << c.what << " +" << more;
    }
  }
}

TEST_F(DatabaseFileTest, ADamagedBlockLeavesTheTypeCountTheFileStated) {
  // The list grows as blocks are read; a damaged block still leaves as many
  // types as the count said, those after it as constructed.
  Database three;
  three.typeData = {MakeSampleTypeData({1000}, 1), MakeSampleTypeData({1000}, 1), MakeSampleTypeData({1000}, 1)};
  std::string bytes = WriteDatabaseDat(three, Version(0xC1, {0, 0, 0}));
  // Blocks from offset 15: head, mode, item count, code, record count, value.
  const size_t second = 15 + 24;
  PatchI32(bytes, second + 16, 1 << 20);
  Database db;
  EXPECT_FALSE(ReadDat(db, bytes));
  ASSERT_EQ(db.typeData.size(), 3u);
  EXPECT_EQ(db.typeData[0], three.typeData[0]);
  EXPECT_EQ(db.typeData[1], DatabaseTypeData{});
  EXPECT_EQ(db.typeData[2], DatabaseTypeData{});
}

}  // namespace
