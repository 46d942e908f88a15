#include "tests/engine/saves/SaveTestFixture.h"

#include "engine/data/CommonEventList.h"
#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/data/file/DataFileFrame.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/saves/SaveFile.h"
#include "engine/saves/SaveFileHooks.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"
#include "tests/support/GameFolderWriter.h"

std::vector<std::array<std::string, 3>> SaveTest::errorScreens;
int64_t SaveTest::clock = 1700000000;
int64_t SaveTest::freeSpace = -1;

void SaveTest::SetUp() {
  cwd_ = std::make_unique<ScopedCurrentDirectory>(dir_.Path());
  PrepareGame(dir_.Path());
}

void SaveTest::PrepareGame(const std::string& folder) {
  GameFolderContent game = StarterGame(kTitle, PlainMapData(20, 15), 3, 4);
  SetDatabaseType(game.variableDatabase, 0, "記録", {1000, 1001, 2000}, {"a", "b", "s"}, 3);
  // Types 14 to 23 size the numbered variable sets: 20 normal variables.
  SetDatabaseType(game.systemDatabase, 14, "通常変数", {1000}, {"値"}, 20);
  SetDatabaseType(game.systemDatabase, 23, "予備変数9", {1000}, {"値"}, 0);
  WriteGameFolder(folder, game);

  errorScreens.clear();
  clock = 1700000000;
  freeSpace = -1;
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    errorScreens.push_back({a, b, c});
  });
  SaveFileHooks hooks{};
  hooks.now = [] { return clock; };
  hooks.freeSpace = [] { return freeSpace; };
  SetSaveFileHooks(&hooks);

  ASSERT_TRUE(GameInformation.LoadGameData("Game.dat"));
  LoadDatabases();
  CommonEvents = CommonEventList();
  ReplayPlaying = ReplayEnded = false;
  SystemStateHub = SystemState();
  RootRunner = RootEventRunner();
  Variables = VariableStore();
  Variables.rootRunner = &RootRunner;
  VariableDatabase = Database();
  VariableDatabase.Load(kVariableDatabaseName);
  CurrentMap = MapScene();
  CurrentMap.Reset();
  CurrentMap.ChangeMap(0);
  PlayerHero = Hero();
  GamePictures.Clear(true);
  SaveSlots = SaveSlotCache();
  DropPendingLoad();
}

void SaveTest::TearDown() {
  EndGame();
  cwd_.reset();
}

void SaveTest::EndGame() {
  SetFileWriteLimit(-1);
  SetSaveFileHooks(nullptr);
  SetErrorScreenHandler(nullptr);
  SaveSlots = SaveSlotCache();
  DropPendingLoad();
  CurrentMap = MapScene();
  PlayerHero = Hero(0);
  GamePictures.Clear(true);
  Variables = VariableStore();
  RootRunner = RootEventRunner();
  VariableDatabase = Database();
  SystemDatabase = Database();
  UserDatabase = Database();
  GameInformation = GameInfo();
  SystemStateHub = SystemState();
}

std::string SaveTest::HostFile(const std::string& gamePath) const {
  std::string path = gamePath;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return dir_.File(path);
}

std::string SaveTest::LiveBytes() {
  SaveBuffer out;
  CurrentMap.SaveState(out);
  RootRunner.WriteState(out);
  Variables.SaveVariables(out);
  PlayerHero.Save(out);
  GamePictures.Write(out);
  WriteVariableDatabase(out, VariableDatabase);
  return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
}

std::string SaveTest::Unscrambled(const std::string& file) {
  ByteCursor in(std::vector<uint8_t>(file.begin(), file.end()));
  DataFileFrame frame;
  OpenDataFileFrame(in, 20, kDataFileSeeds, frame);
  return std::string(reinterpret_cast<const char*>(in.Data()), static_cast<size_t>(in.Size()));
}

std::string SaveTest::SaveBytesOfLiveGame() {
  SaveSlotRecord record = LiveGameRecord();
  std::vector<uint8_t> file;
  EncodeSaveFile(record, "x", file);
  return std::string(file.begin(), file.end());
}
