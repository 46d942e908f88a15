#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/file/CRuntimeRandom.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/data/GameInfo.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/GameDatWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

GameDatContent SampleContent() {
  GameDatContent content;
  content.settingBytes = {16, 4, 8, 0, 30, 0, 1, 5, 1, 1, 0xFE, 7, 8, 0, 1, 3, 6, 0, 99, 100};
  content.settingStrings = {"魔王の城", "1234-5678", "", "ＭＳ 明朝", "", "Font C", "", "Chara\\hero.png"};
  content.values16 = {40000, 7, 65535};
  content.archiveKey = "k3Y\x01" "Secret\xFF" "KeyText";
  return content;
}

class GameInfoTest : public DataTestHooks {
 protected:
  static bool ReadBytes(GameInfo& info, const std::string& bytes) {
    FileBuffer file = BufferOf(bytes);
    return info.ReadGameData(file, "Game.dat");
  }
};

TEST_F(GameInfoTest, DefaultsDrawTheRandomValueFromTheCRuntimeGenerator) {
  for (uint32_t seed : {1u, 2u, 3u, 4u, 99u}) {
    CRuntimeSrand(seed);
    const int first = CRuntimeRand();
    const int second = CRuntimeRand();
    const int expected = first % 10 <= 4 ? 15501 + second % 30000 : second % 15000;
    CRuntimeSrand(seed);
    const GameInfo info;
    EXPECT_EQ(info.values16, std::vector<uint16_t>{static_cast<uint16_t>(expected)}) << seed;
    EXPECT_EQ(info.settingBytes, (std::vector<uint8_t>{32, 8, 8, 1, 0, 1, 0, 3, 0, 0, 0, 6, 6, 0, 0, 4, 4, 0}));
    EXPECT_EQ(info.settingStrings, (std::vector<std::string>{"新規ゲーム名", "0000-0000", "", "", "", "", "", ""}));
  }
}

TEST_F(GameInfoTest, LoadsEverySettingAndBuildsTheArchiveKey) {
  TestDirectory dir;
  const GameDatContent content = SampleContent();
  for (const std::array<uint8_t, 3>& seeds : {content.seeds, std::array<uint8_t, 3>{0, 0, 0}}) {
    GameDatContent c = content;
    c.seeds = seeds;
    const std::string path = dir.Write("Game.dat", WriteGameDat(c));
    GameInfo info;
    ASSERT_TRUE(info.LoadGameData(path));
    std::vector<uint8_t> bytes = content.settingBytes;
    bytes[GameInfo::kMidiInUse] = 1;  // whatever the file says
    EXPECT_EQ(info.settingBytes, bytes);
    std::vector<std::string> strings = content.settingStrings;
    strings[GameInfo::kArchiveKey] = content.archiveKey;
    EXPECT_EQ(info.settingStrings, strings);
    EXPECT_EQ(info.values16, content.values16);
  }
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(GameInfoTest, ShortListsInTheFileKeepTheDefaultsBeyondThem) {
  GameDatContent content = SampleContent();
  content.settingBytes.resize(10);
  content.settingStrings = {"題名"};
  content.values16 = {};
  content.archiveKey = "";
  CRuntimeSrand(5);
  GameInfo info;
  const GameInfo defaults = info;
  ASSERT_TRUE(ReadBytes(info, WriteGameDat(content)));
  ASSERT_EQ(info.settingBytes.size(), 18u);
  for (size_t i = 10; i < 18; ++i) EXPECT_EQ(info.settingBytes[i], defaults.settingBytes[i]) << i;
  EXPECT_EQ(info.settingBytes[GameInfo::kFramesPerSecond], 30);
  EXPECT_EQ(info.settingStrings[0], "題名");
  EXPECT_EQ(info.settingStrings[1], "0000-0000");
  EXPECT_EQ(info.settingStrings[2], "");
  EXPECT_EQ(info.values16, defaults.values16);
}

TEST_F(GameInfoTest, AWrongEndByteIsReportedOnceAndTheGameStarts) {
  GameDatContent content = SampleContent();
  content.endByte = 0xC3;
  GameInfo info;
  EXPECT_TRUE(ReadBytes(info, WriteGameDat(content)));
  EXPECT_EQ(errorScreenLines, (std::vector<std::string>{"基本情報データ Game.dat が破損しています", "", ""}));
  EXPECT_EQ(info.settingStrings[GameInfo::kArchiveKey], content.archiveKey);
  EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(GameInfoTest, AMissingFileIsNamed) {
  GameInfo info;
  EXPECT_FALSE(info.LoadGameData("/nonexistent/Game.dat"));
  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_EQ(messageBoxes[0].title, "読み込みエラー");
  EXPECT_EQ(messageBoxes[0].text, "基本情報データ /nonexistent/Game.dat がありません");
}

TEST_F(GameInfoTest, OffsetsOutsideTheFileMakeItDamaged) {
  GameDatContent content = SampleContent();
  content.seeds = {0, 0, 0};
  GameDatLayout at;
  const std::string valid = WriteGameDat(content, &at);
  for (size_t n = 0; n < valid.size(); ++n) {
    GameInfo info;
    ASSERT_FALSE(ReadBytes(info, valid.substr(0, n))) << n;
  }
  const int32_t size = static_cast<int32_t>(valid.size());
  const struct {
    size_t offset;
    int32_t value;
  } edits[] = {
      {at.endOffsetField, size},
      {at.endOffsetField, -1},
      {at.keyLengthField, -1},
      {at.keyLengthField, INT32_MAX},
      {at.firstTableField, size - 2},
      {at.firstTableField, -4},
      {at.secondTableField, INT32_MIN},
      {10, -1},
      {10, size},
  };
  for (const auto& edit : edits) {
    std::string bytes = valid;
    PatchI32(bytes, edit.offset, edit.value);
    GameInfo info;
    EXPECT_FALSE(ReadBytes(info, bytes)) << edit.offset << " := " << edit.value;
  }
  // A key entry whose offset sum passes the end of the file.
  std::string bytes = valid;
  bytes[at.firstTable] = static_cast<char>(0xFF);
  bytes[at.firstTable + 1] = static_cast<char>(0x7F);
  GameInfo info;
  EXPECT_FALSE(ReadBytes(info, bytes));
  EXPECT_EQ(messageBoxes.size(), valid.size() + std::size(edits) + 1);
  for (const ReportedMessage& m : messageBoxes) {
    ASSERT_EQ(m.text, "基本情報データ Game.dat が破損しています");
    ASSERT_EQ(m.title, "読み込みエラー");
  }
}

TEST_F(GameInfoTest, TheFrameStepNeverDividesByZero) {
  GameInfo info;
  const std::pair<uint8_t, int32_t> cases[] = {{60, 1}, {30, 2}, {20, 3}, {1, 60}, {0, 1}, {61, 1}, {255, 1}};
  for (const auto& [rate, step] : cases) {
    info.settingBytes[GameInfo::kFramesPerSecond] = rate;
    EXPECT_EQ(info.FrameStep(), step) << int{rate};
  }
}

}  // namespace
