#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/file/FileBuffer.h"
#include "engine/data/TileSet.h"
#include "engine/services/DataFolder.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TileSetFileWriter.h"

namespace {

std::vector<TileSet> SampleSets() {
  TileSet outside;
  outside.name = "屋外";
  outside.imageNames = {"MapChip\\outside.png", "a1.png", "", "a3.png", "", "", "", "a7.png"};
  outside.terrainTags = {0, 9, 200};
  outside.tileFlags = {0, 15, 0xC8, 0x7F, 1};
  TileSet inside;
  inside.name = "";
  inside.terrainTags.assign(40, 3);
  inside.tileFlags.assign(40, 0x21);
  return {outside, inside};
}

class TileSetFileTest : public DataTestHooks {
 protected:
  static bool ReadBytes(TileSetList& list, const std::string& bytes) {
    FileBuffer file = BufferOf(bytes);
    return list.ReadTileSetFile(file, "Data\\BasicData\\TileSetData.dat");
  }
};

TEST_F(TileSetFileTest, LoadsEveryFieldAsWrittenInBothFlagWidths) {
  TestDirectory dir;
  SetDataFolder(dir.Path() + "/Data/");
  std::vector<TileSet> sets = SampleSets();
  sets[1].tileFlags[0] = 0x12345678;
  dir.Write("Data/BasicData/TileSetData.dat", WriteTileSetFile(sets));
  TileSetList list;
  ASSERT_TRUE(list.LoadTileSetFile("BasicData\\TileSetData.dat"));
  EXPECT_EQ(list.tileSets, sets);
  EXPECT_EQ(list.Count(), 2);
  SetDataFolder("Data\\");

  TileSetFileOptions byteFlags;
  byteFlags.version = 0xCF;
  byteFlags.seeds = {0, 0, 0};
  TileSetList narrow;
  ASSERT_TRUE(ReadBytes(narrow, WriteTileSetFile(SampleSets(), byteFlags)));
  EXPECT_EQ(narrow.tileSets, SampleSets());
  EXPECT_EQ(narrow.tileSets[0].tileFlags[2], 200);
  EXPECT_EQ(narrow.tileSets[0].terrainTags.size(), 3u);
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(TileSetFileTest, AnEmptyListStillNeedsItsEndByte) {
  TileSetList list;
  ASSERT_TRUE(ReadBytes(list, WriteTileSetFile({})));
  EXPECT_EQ(list.Count(), 0);

  TileSetFileOptions options;
  options.endByte = 0xD0;
  TileSetList refused;
  EXPECT_FALSE(ReadBytes(refused, WriteTileSetFile(SampleSets(), options)));
  EXPECT_EQ(refused.tileSets, SampleSets()) << "what was read stays";
  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_EQ(messageBoxes[0].title, "ファイル読み込みエラー");
  EXPECT_EQ(messageBoxes[0].text, "タイルセットデータの読み込みに失敗しました");
}

TEST_F(TileSetFileTest, AMissingFileOrAnUnknownVersionFailsSilently) {
  TileSetList list;
  SetDataFolder("/nonexistent/");
  EXPECT_FALSE(list.LoadTileSetFile("BasicData\\TileSetData.dat"));
  SetDataFolder("Data\\");
  TileSetFileOptions options;
  options.version = 0xCE;
  EXPECT_FALSE(ReadBytes(list, WriteTileSetFile(SampleSets(), options)));
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_EQ(list.tileSets, std::vector<TileSet>(1));
}

TEST_F(TileSetFileTest, AWrongSeparatorIsReportedAndTheRecordReadOn) {
  TileSetFileOptions options;
  options.separator = 0xFE;
  TileSetList list;
  EXPECT_TRUE(ReadBytes(list, WriteTileSetFile(SampleSets(), options)));
  EXPECT_EQ(list.tileSets, SampleSets());
  ASSERT_EQ(messageBoxes.size(), 2u);
  EXPECT_EQ(messageBoxes[0].title, "");
  EXPECT_EQ(messageBoxes[0].text, "タイルセットのロードに失敗しました、ファイル破損の可能性があります");
}

TEST_F(TileSetFileTest, AChecksumMismatchEndsTheProcess) {
  std::string bytes = WriteTileSetFile(SampleSets());
  bytes[12] ^= 0x01;  // the count grows past what the file holds: damaged, not a checksum error
  TileSetList list;
  EXPECT_FALSE(ReadBytes(list, bytes));
  EXPECT_TRUE(exitCodes.empty());

  bytes = WriteTileSetFile(SampleSets());
  bytes[bytes.size() - 3] ^= 0x01;  // a flag value
  EXPECT_THROW(ReadBytes(list, bytes), ProcessExited);
  EXPECT_EQ(exitCodes, std::vector<int>{1});
  ASSERT_EQ(errorScreenLines.size(), 3u);
  EXPECT_EQ(errorScreenLines[0],
            "ファイル Data\\BasicData\\TileSetData.dat が改竄されたか、破損している可能性があります。\nロードを中止します。");
}

TEST_F(TileSetFileTest, DamagedFilesFailCleanly) {
  const std::string valid = WriteTileSetFile(SampleSets(), {{0, 0, 0}});
  for (size_t n = 0; n < valid.size(); ++n) {
    TileSetList list;
    ASSERT_FALSE(ReadBytes(list, valid.substr(0, n))) << n;
  }
  const size_t nameField = 10 + 1 + 4;
  // Name (four bytes of text), the image names (19, 6, 0, 6, 0, 0, 0, 6 bytes), separator.
  const size_t tagCountField = nameField + (4 + 5) + (4 + 20) + 3 * (4 + 7) + 4 * (4 + 1) + 1;
  ASSERT_EQ(valid[tagCountField], 3);
  const struct {
    size_t offset;
    int32_t value;
  } edits[] = {{11, -1}, {11, 1 << 24}, {nameField, 1025}, {tagCountField, -1}, {tagCountField, 1 << 30}};
  for (const auto& edit : edits) {
    std::string bytes = valid;
    PatchI32(bytes, edit.offset, edit.value);
    TileSetList list;
    EXPECT_FALSE(ReadBytes(list, bytes)) << edit.offset;
  }
  EXPECT_TRUE(exitCodes.empty());
}

}  // namespace
