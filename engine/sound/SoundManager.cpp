#include "engine/sound/SoundManager.h"

#include <algorithm>

#include "engine/data/database/Databases.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/StartupSettings.h"
#include "engine/sound/MidiLibrary.h"
#include "engine/sound/RunnerSounds.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundItems.h"
#include "runtime/Movan.h"

using namespace sound_items;

SoundManager GameSounds;

namespace {

// Records of a kind's type; a type without records counts none.
int32_t DataCount(int32_t kind) { return std::max(SystemDatabase.GetDataCount(TypeOf(kind)), 0); }

// Records whose file names the scan reads: none when the type has no items
// (a damaged database would otherwise stop the title at an error screen
// for every record).
int32_t ScannedCount(int32_t kind) {
  return SystemDatabase.GetItemCount(TypeOf(kind)) > 0 ? DataCount(kind) : 0;
}

}  // namespace

int32_t MidiTempoDepthOf(int32_t percent) {
  const int64_t t = percent;
  return Saturate(t >= 100 ? (t - 100) / 2 : t * 2 - 200);
}

bool SoundManager::KindEnabled(int32_t kind) {
  return kind == kSoundEffect ? Settings.soundSwitch == 1 || Settings.soundSwitch == 3
                              : Settings.soundSwitch == 2 || Settings.soundSwitch == 3;
}

int32_t SoundManager::HandleOf(int32_t kind, int32_t entry) const {
  if (kind < 0 || kind > 2) return 0;
  auto it = handles[kind].find(entry);
  return it == handles[kind].end() ? 0 : it->second;
}

void SoundManager::ResizeTables() {
  midiMarks.assign(static_cast<size_t>(DataCount(kMusic)) + 20, 0);
  oggMarks[kMusic].assign(static_cast<size_t>(DataCount(kMusic)) + 20, 0);
  oggMarks[kBackgroundSound].assign(static_cast<size_t>(DataCount(kBackgroundSound)) + 20, 0);
}

void SoundManager::ScanTypes() {
  if (midiMarks.empty() || oggMarks[kMusic].empty() || oggMarks[kBackgroundSound].empty()) ResizeTables();
  for (int32_t kind : {kMusic, kBackgroundSound}) {
    const int32_t count = ScannedCount(kind);
    for (int32_t entry = 0; entry < count; ++entry) {
      SetMark(oggMarks[kind], entry, IsOggName(FileItem(kind, entry)) ? 1 : 0);
    }
  }
  // Without the library the scan runs again at the next play.
  if (!MidiAvailable) return;
  const int32_t base = std::min(SoundEntryCounts.baseCount[kMusic], ScannedCount(kMusic));
  for (int32_t entry = 0; entry < base; ++entry) {
    const std::string name = FileItem(kMusic, entry);
    if (!IsMidiName(name)) continue;
    const std::string path = "Data\\" + name;
    FileBuffer file;
    if (file.Load(path.c_str())) {
      MidiReadList(file.Data(), file.Size(), 1, MidiListOf(entry));
      SetMark(midiMarks, entry, 1);
    } else {
      SetMark(midiMarks, entry, -1);
      if (!name.empty()) {
        ShowErrorScreen("MIDI読み込みエラー",
                        "MIDIファイル Type1-" + std::to_string(entry) + ":" + path + " が見つかりません\n", "");
      }
    }
  }
  scanned = 1;
}

int32_t SoundManager::OggLengthCorrection(int32_t kind) const {
  if (kind != kMusic && kind != kBackgroundSound) return 0;
  return MarkAt(oggMarks[kind], *LiveRunnerSounds().currentEntry[kind]) == 1 ? -1000 : 0;
}

int32_t SoundManager::CountLoadedSounds() const {
  int32_t count = 0;
  for (int32_t kind = 0; kind < 3; ++kind) {
    const int32_t entries = DataCount(kind);
    for (const auto& [entry, handle] : handles[kind]) {
      if (entry >= 0 && entry < entries && handle != 0) ++count;
    }
  }
  return count;
}

void SoundManager::DeleteHandle(int32_t handle) {
  // A handle is named by the kind's table, and when it came from a file also
  // by the loaded files (and by the other kind's table when music and
  // background sound share the file): none may keep a deleted handle, or
  // the next play of that file would find it and play nothing.
  for (auto& table : handles) std::erase_if(table, [&](const auto& e) { return e.second == handle; });
  std::erase_if(loadedFiles, [&](const auto& e) { return e.second == handle; });
  HaltSound(handle);
  DeleteSound(handle, 0);
}

void SoundManager::ReleaseHandle(int32_t kind, int32_t handle) {
  if (handle == 0) return;
  if ((kind == kMusic || kind == kBackgroundSound) && handle == fades[kind].currentHandle) return;
  DeleteHandle(handle);
}

bool SoundManager::Release(int32_t kind, int32_t entry) {
  if (entry < 0) return false;
  const int32_t handle = HandleOf(kind, entry);
  if (handle == 0 || handle == fades[kMusic].currentHandle || handle == fades[kBackgroundSound].currentHandle) {
    return false;
  }
  DeleteHandle(handle);
  return true;
}

void SoundManager::ReleaseHandles(bool all) {
  for (int32_t kind = 0; kind < 3; ++kind) {
    const int32_t entries = DataCount(kind);
    std::vector<int32_t> doomed;
    for (const auto& [entry, handle] : handles[kind]) {
      if (entry < 0 || entry >= entries || handle == 0) continue;
      const bool queued =
          kind == kSoundEffect && std::any_of(queue.begin(), queue.end(), [h = handle](const Request& r) {
            return r.handle == h;
          });
      if (all || (IsSoundPlaying(handle) != 1 && !queued)) doomed.push_back(handle);
    }
    for (int32_t handle : doomed) DeleteHandle(handle);
  }
  if (all) {
    DeleteAllSounds(0);
    loadedFiles.clear();
  }
}

void SoundManager::FreeIdleSoundEffects(int32_t keep) {
  size_t loaded = 0;
  for (const auto& e : handles[kSoundEffect]) loaded += e.second != 0 ? 1 : 0;
  if (loaded <= kMaxIdleSoundEffects) return;
  std::vector<int32_t> idle;
  for (const auto& [entry, handle] : handles[kSoundEffect]) {
    if (handle == 0 || handle == keep || IsSoundPlaying(handle) == 1) continue;
    if (std::none_of(queue.begin(), queue.end(), [h = handle](const Request& r) { return r.handle == h; })) {
      idle.push_back(handle);
    }
  }
  for (int32_t handle : idle) DeleteHandle(handle);
}
