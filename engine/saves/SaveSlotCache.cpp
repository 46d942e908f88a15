#include "engine/saves/SaveSlotCache.h"

#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SaveFile.h"
#include "engine/saves/SaveFileHooks.h"
#include "engine/saves/SavePath.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

SaveSlotCache SaveSlots;

namespace {

// The file's length may hold the header, the largest body and the bytes a
// reader lets pass; a longer file is not read.
constexpr int64_t kLargestSaveFile = 20 + SaveBuffer::kBodyLimit + 200;
// The disk must hold the file less this many bytes.
constexpr int64_t kSpaceAllowance = 200;

struct PendingLoad {
  std::string path;
  int32_t slot = 0;
};
std::optional<PendingLoad> g_pendingLoad;

// While the damaged-save screen looks up its seconds in a slot file: a
// second damaged file there reads as 0 instead of reporting again.
bool g_reportingDamage = false;

bool IsRefusedIntegerId(int64_t id) {
  return (id >= 1100000 && id <= 1199999) || (id >= 1600000 && id <= 1699999);
}
bool IsRefusedStringId(int64_t id) { return id >= 1600000 && id <= 1699999; }

// A path a save may use: it names a file and stays in the game folder.
bool UsablePath(const std::string& path) { return !path.empty() && IsPathInGameFolder(path.c_str()); }

// The whole file, or false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, bool& tooLarge) {
  tooLarge = false;
  const int64_t size = FileSizeOf(path.c_str());
  if (size < 0) return false;
  if (size > kLargestSaveFile) {
    tooLarge = true;
    return true;
  }
  FileHandle file = FileOpenRead(path.c_str(), 0);
  if (!file) return false;
  bytes.assign(static_cast<size_t>(size), 0);
  const bool ok = size == 0 || FileReadBytes(bytes.data(), static_cast<size_t>(size), file) != 0;
  FileCloseRead(file);
  return ok;
}

void ShowForeignSave(const std::string& title) {
  ShowErrorScreen("セーブエラー", "異なるゲーム「" + title + "」のセーブデータをロードしようとしました", "");
}

}  // namespace

bool SaveSlotCache::Flag(const std::map<std::string, bool>& flags, const std::string& path) const {
  const auto it = flags.find(path);
  return it != flags.end() && it->second;
}

SaveSlotRecord LiveGameRecord() {
  SaveSlotRecord record;
  record.variables = Variables;
  record.rootRunner = RootRunner;
  record.mapScene = CurrentMap;
  record.hero = PlayerHero;
  record.pictures = GamePictures;
  record.variableDatabase = VariableDatabase;
  return record;
}

bool SaveSlotCache::SaveGame(int32_t slot, bool snapshot, const std::string& prefix) {
  if (ReplayPlaying) return true;
  const std::string path = SaveFilePath(slot, prefix);
  if (!UsablePath(path)) return false;

  // The live game goes into a copy; the cache takes it once the file is
  // written, so that a failed save leaves the record as the file is.
  SaveSlotRecord snapshotRecord;
  if (snapshot) snapshotRecord = LiveGameRecord();
  SaveSlotRecord& record = snapshot ? snapshotRecord : records[path];

  std::vector<uint8_t> file;
  if (!EncodeSaveFile(record, path, file)) return false;

  CreateGameFolder(kSaveFolder.c_str());
  const int64_t space = CurrentSaveFileHooks().freeSpace();
  if (space >= 0 && space < static_cast<int64_t>(file.size()) - kSpaceAllowance) {
    ShowErrorScreen("セーブ処理エラー：ハードディスク容量が足りませんでした", "不要なデータを削除して、ファイル容量を増やしてください",
                    "");
    return false;
  }
  if (WriteGameFile(path.c_str(), file.data(), file.size()) != 0) return false;

  if (snapshot) records[path] = std::move(snapshotRecord);
  RootRunner.saveSlotValue = slot;
  loaded[path] = true;
  missing[path] = false;
  return true;
}

bool SaveSlotCache::LoadSaveSlot(int32_t slot, bool apply, bool replay, const std::string& prefix) {
  const std::string path = SaveFilePath(slot, prefix);
  if (!UsablePath(path)) return false;
  if (!apply && !replay) {
    if (Flag(loaded, path)) return true;
    if (Flag(missing, path)) return false;
  }

  std::vector<uint8_t> bytes;
  bool tooLarge = false;
  if (!ReadWholeFile(path, bytes, tooLarge)) {
    missing[path] = true;
    return false;
  }
  missing[path] = false;

  SaveSlotRecord fresh;
  std::string title;
  const SaveFileCheck check = tooLarge ? SaveFileCheck::kDamaged : DecodeSaveFile(std::move(bytes), fresh, title);
  // The read may have shown or hidden the mouse cursor: the live game's
  // setting holds until a load enters the game.
  ShowMouseCursor(RootRunner.mouseCursorShown);
  if (check != SaveFileCheck::kGood) {
    records[path] = SaveSlotRecord();
    loaded[path] = false;
    if (check == SaveFileCheck::kForeignTitle) ShowForeignSave(title);
    if (check == SaveFileCheck::kDamaged) ReportDamaged(slot, path);
    return false;
  }
  SaveSlotRecord& record = records[path];
  record = std::move(fresh);
  loaded[path] = true;

  if (replay) {
    SystemStateHub.gameState = 0;
    ReplayPlaying = true;
    ReplayEnded = false;
    GameReplay = record.replayLog;
    return true;
  }
  if (apply) {
    if (record.variableDatabase.GetTypeCount() == 0) {
      ShowErrorScreen("可変DB情報が保存されていないセーブデータを読み込みました、ロード処理中断", ErrorLocationText(), "");
      return false;
    }
    // The running game will equal the record, which no longer stands for
    // the file alone.
    loaded[path] = false;
    g_pendingLoad = PendingLoad{path, slot};
  }
  return true;
}

void SaveSlotCache::ReportDamaged(int32_t slot, const std::string& path) {
  records[path] = SaveSlotRecord();
  int32_t seconds = 0;
  if (!g_reportingDamage) {
    g_reportingDamage = true;
    seconds = ReadSlotIntVariable(slot, 9000012, "");
    g_reportingDamage = false;
  }
  char line[128];
  std::snprintf(line, sizeof line, "セーブデータ%.2iが破損しています %d秒", static_cast<int>(slot), static_cast<int>(seconds));
  ShowErrorScreen(line, "", "");
}

int32_t SaveSlotCache::ReadSlotIntVariable(int32_t slot, int64_t id, const std::string& prefix) {
  if (slot < 0 || IsRefusedIntegerId(id)) return 0;
  if (!LoadSaveSlot(slot, false, false, prefix)) return 0;
  SaveSlotRecord& record = records[SaveFilePath(slot, prefix)];
  return record.variables.GetVariable(id, &record.variableDatabase);
}

std::string SaveSlotCache::ReadSlotStringVariable(int32_t slot, int64_t id, const std::string& prefix) {
  if (slot < 0) return "ERROR -1番目以下のデータを読みに行っています";
  if (IsRefusedStringId(id)) return "";
  if (!LoadSaveSlot(slot, false, false, prefix)) return "";
  SaveSlotRecord& record = records[SaveFilePath(slot, prefix)];
  return record.variables.GetStringVariable(id, &record.variableDatabase);
}

SaveSlotRecord& SaveSlotCache::RecordForWrite(int32_t slot, const std::string& prefix) {
  LoadSaveSlot(slot, false, false, prefix);
  const std::string path = SaveFilePath(slot, prefix);
  SaveSlotRecord& record = records[path];
  if (!Flag(loaded, path)) {
    record.mapScene = MapScene();
    record.variables = VariableStore();
    record.rootRunner = RootEventRunner();
    record.variables.rootRunner = &record.rootRunner;
    record.hero = Hero();
    record.pictures = PictureList();
    record.variableDatabase = Database();
  }
  return record;
}

void SaveSlotCache::WriteSlotIntVariable(int32_t slot, int64_t id, int32_t value, const std::string& prefix) {
  if (slot < 0 || IsRefusedIntegerId(id) || !UsablePath(SaveFilePath(slot, prefix))) return;
  SaveSlotRecord& record = RecordForWrite(slot, prefix);
  record.variables.SetVariable(id, value, &record.variableDatabase);
  SaveGame(slot, false, prefix);
}

void SaveSlotCache::WriteSlotStringVariable(int32_t slot, int64_t id, const std::string& text,
                                            const std::string& prefix) {
  if (slot < 0 || IsRefusedStringId(id) || !UsablePath(SaveFilePath(slot, prefix))) return;
  SaveSlotRecord& record = RecordForWrite(slot, prefix);
  record.variables.SetStringVariable(id, text, &record.variableDatabase);
  SaveGame(slot, false, prefix);
}

void DropPendingLoad() { g_pendingLoad.reset(); }

bool LoadPending() { return g_pendingLoad.has_value(); }

bool TakePendingLoad(std::string& path, int32_t& slot) {
  if (!g_pendingLoad) return false;
  path = g_pendingLoad->path;
  slot = g_pendingLoad->slot;
  g_pendingLoad.reset();
  return true;
}
