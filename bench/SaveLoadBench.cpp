// Saving and loading a game of 500 map events, 100 pictures and 10,000
// variables: the whole save (snapshot, body, scrambling, the file written
// through a temporary file) and the whole load into the save-slot cache
// (read, unscramble, every part checked and read). The peers do the file
// work alone on the same bytes: write, fsync and rename; read the file
// whole.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SaveFileHooks.h"
#include "engine/saves/SavePath.h"
#include "engine/saves/SaveSlotCache.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/GameFolderWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr int32_t kEvents = 500;
constexpr int32_t kPictures = 100;
constexpr int32_t kVariableSets = 10;
constexpr int32_t kVariablesPerSet = 1000;
const char* const kSaveFile = "Save/SaveData01.sav";

// The game folder, current while the program runs, with a live game of the
// size above.
struct BigGame {
  TestDirectory dir;
  std::unique_ptr<ScopedCurrentDirectory> cwd;

  BigGame() {
    GameFolderContent game = StarterGame("セーブの計測", PlainMapData(100, 100), 3, 4);
    SetDatabaseType(game.variableDatabase, 0, "記録", {1000, 2000}, {"数", "名"}, 100);
    WriteGameFolder(dir.Path(), game);
    cwd = std::make_unique<ScopedCurrentDirectory>(dir.Path());
    SetMessageBoxHook([](const char*, const char*) {});
    SetErrorScreenHandler([](const std::string&, const std::string&, const std::string&) {});
    GameInformation.LoadGameData("Game.dat");
    LoadDatabases();
    VariableDatabase = Database();
    VariableDatabase.Load(kVariableDatabaseName);
    CurrentMap = MapScene();
    CurrentMap.Reset();
    CurrentMap.ChangeMap(0);
    for (int32_t i = 0; i < kEvents; ++i) {
      CurrentMap.events.push_back(MapEventState(CurrentMap, 0, MapEvent{i + 1}));
      MapEventState& e = CurrentMap.events.back();
      e.preciseX = i % 100;
      e.preciseY = i / 100;
      e.graphicFile = "Chara\\人.png";
    }
    for (int32_t n = 0; n < kPictures; ++n) {
      Picture p(n);
      p.fileName = "Picture\\絵" + std::to_string(n) + ".png";
      p.x = n * 3;
      p.framesLeft = 20;
      GamePictures.pictures.push_back(p);
    }
    GamePictures.RebuildIndex();
    Variables.numberedSets.assign(kVariableSets, std::vector<int32_t>(kVariablesPerSet, 0));
    for (size_t s = 0; s < Variables.numberedSets.size(); ++s) {
      std::vector<int32_t>& set = Variables.numberedSets[s];
      for (size_t k = 0; k < set.size(); ++k) set[k] = static_cast<int32_t>(s * 7919 + k);
    }
    SaveSlots = SaveSlotCache();
  }
};

BigGame& Game() {
  static BigGame game;
  return game;
}

void BM_SaveGame(benchmark::State& state) {
  Game();
  for (auto _ : state) {
    if (!SaveSlots.SaveGame(1, true, kSaveSlotPrefix)) state.SkipWithError("the save failed");
  }
  state.counters["bytes"] = static_cast<double>(ReadWholeFile(kSaveFile).size());
}

// The peer: the bytes of that save written to a temporary file, synced and
// renamed over the old one.
void BM_WriteFsyncRenamePeer(benchmark::State& state) {
  Game();
  SaveSlots.SaveGame(1, true, kSaveSlotPrefix);
  const std::string bytes = ReadWholeFile(kSaveFile);
  for (auto _ : state) {
    const int fd = open("Save/peer.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                    fsync(fd) == 0 && close(fd) == 0 && rename("Save/peer.tmp", "Save/peer.sav") == 0;
    if (!ok) state.SkipWithError("the peer's write failed");
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_LoadSaveSlot(benchmark::State& state) {
  Game();
  SaveSlots.SaveGame(1, true, kSaveSlotPrefix);
  for (auto _ : state) {
    SaveSlots.loaded.clear();
    if (!SaveSlots.LoadSaveSlot(1, false, false, kSaveSlotPrefix)) state.SkipWithError("the load failed");
  }
}

// The peer: the same file read whole.
void BM_ReadWholeFilePeer(benchmark::State& state) {
  Game();
  SaveSlots.SaveGame(1, true, kSaveSlotPrefix);
  std::vector<char> bytes;
  for (auto _ : state) {
    const int fd = open(kSaveFile, O_RDONLY);
    const off_t size = fd >= 0 ? lseek(fd, 0, SEEK_END) : -1;
    bytes.resize(static_cast<size_t>(size < 0 ? 0 : size));
    const bool ok = size >= 0 && pread(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(size) && close(fd) == 0;
    if (!ok) state.SkipWithError("the peer's read failed");
    benchmark::DoNotOptimize(bytes.data());
  }
}

BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFsyncRenamePeer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSaveSlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWholeFilePeer)->Unit(benchmark::kMillisecond);

}  // namespace
