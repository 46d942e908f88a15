#include "engine/data/GameInfo.h"

#include "engine/data/file/CRuntimeRandom.h"
#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

GameInfo GameInformation;

namespace {

constexpr int32_t kGameDataHeaderBytes = 10;
constexpr uint8_t kEndByte = 0xC2;
constexpr int32_t kStringLimit = 512;

// Reads count 16-bit entries at offset without moving the cursor.
bool ReadTableAt(ByteCursor& in, int32_t offset, int32_t count, std::vector<uint16_t>& table) {
  const int32_t resume = in.Position();
  if (!in.Seek(offset) || !in.CountFits(count, 2)) return false;
  table.resize(static_cast<size_t>(count));
  return in.ReadBytes(table.data(), int64_t{count} * 2) && in.Seek(resume);
}

// The key's characters are bytes of the unscrambled file, each at the 16-bit
// sum of the two tables' entries.
bool BuildArchiveKey(ByteCursor& in, int32_t length, int32_t firstTable, int32_t secondTable, std::string& key) {
  std::vector<uint16_t> first;
  std::vector<uint16_t> second;
  if (!ReadTableAt(in, firstTable, length, first) || !ReadTableAt(in, secondTable, length, second)) return false;
  key.assign(static_cast<size_t>(length), '\0');
  for (size_t i = 0; i < key.size(); ++i) {
    const uint16_t offset = static_cast<uint16_t>(first[i] + second[i]);
    if (offset >= in.Size()) return in.Fail();
    key[i] = static_cast<char>(in.Data()[offset]);
  }
  return true;
}

}  // namespace

GameInfo::GameInfo() { SetDefaults(); }

void GameInfo::SetDefaults() {
  settingBytes = {32, 8, 8, 1, 0, 1, 0, 3, 0, 0, 0, 6, 6, 0, 0, 4, 4, 0};
  const int draw = CRuntimeRand();
  values16 = {static_cast<uint16_t>(draw % 10 <= 4 ? 15501 + CRuntimeRand() % 30000 : CRuntimeRand() % 15000)};
  settingStrings = {"新規ゲーム名", "0000-0000", "", "", "", "", "", ""};
}

int32_t GameInfo::FrameStep() const {
  const int32_t rate = settingBytes[kFramesPerSecond];
  return rate >= 1 && rate <= 60 ? 60 / rate : 1;
}

bool GameInfo::LoadGameData(const std::string& path) {
  FileBuffer file;
  if (!file.Load(path.c_str())) {
    const std::string text = "基本情報データ " + path + " がありません";
    ShowMessageBox(text.c_str(), "読み込みエラー");
    return false;
  }
  return ReadGameData(file, path);
}

bool GameInfo::ReadGameData(ByteCursor& file, const std::string& path) {
  DataFileFrame frame;
  int32_t endOffset = 0;
  int32_t keyLength = 0;
  bool ok = OpenDataFileFrame(file, kGameDataHeaderBytes, kGameDataSeeds, frame) &&
            file.ReadByteListPrefix(settingBytes) >= 0 &&
            file.ReadStringListPrefix(settingStrings, kStringLimit) >= 0 && file.ReadI32(endOffset) &&
            file.ReadI32(keyLength) && file.ReadU16ListPrefix(values16) >= 0;
  int32_t firstTable = 0;
  int32_t secondTable = 0;
  std::string key;
  ok = ok && file.ReadI32(firstTable) && file.ReadI32(secondTable) && keyLength >= 0 &&
       BuildArchiveKey(file, keyLength, firstTable, secondTable, key) && endOffset >= 0 && endOffset < file.Size();
  if (!ok) {
    ShowMessageBox("基本情報データ Game.dat が破損しています", "読み込みエラー");
    return false;
  }
  settingStrings[kArchiveKey] = std::move(key);
  if (file.Data()[endOffset] != kEndByte) ShowErrorScreen("基本情報データ Game.dat が破損しています", "", "");
  settingBytes[kMidiInUse] = 1;
  return true;
}
