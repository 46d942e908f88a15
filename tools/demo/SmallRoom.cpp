#include "tools/demo/SmallRoom.h"

#include <cstdio>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/data/database/Databases.h"
#include "engine/map/MapEventState.h"
#include "engine/saves/SavePath.h"
#include "engine/saves/SaveSlotCache.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/MidiFileWriter.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/ReplaySaveFile.h"
#include "tests/support/SoundDatabase.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/WaveWriter.h"
#include "tools/demo/DemoGame.h"
#include "tools/demo/DemoImages.h"
#include "tools/demo/DemoMaps.h"
#include "tools/demo/Town.h"

namespace demo {

namespace {

constexpr int32_t kShowMessage = 101;
constexpr int32_t kSaveOrLoad = 220;
constexpr int32_t kReadSlotValue = 221;
constexpr int32_t kWriteSlotValue = 222;
// Operations of the save and load command.
constexpr int32_t kSave = 0;
constexpr int32_t kPlayReplay = 2;
// The variable operation's assignment "=" and calculation "+".
constexpr int32_t kAssign = 0;
constexpr int32_t kAdd = 0;

// One picture in every cell of a character sheet: a thing that stands
// still whichever way it faces.
std::string ObjectSheet(const std::function<void(Canvas&, int ox, int oy)>& draw) {
  Canvas c(3 * 32, 4 * 48);
  for (int row = 0; row < 4; ++row) {
    for (int pattern = 0; pattern < 3; ++pattern) draw(c, pattern * 32, row * 48);
  }
  return c.Bmp();
}

std::string CrystalSheet() {
  return ObjectSheet([](Canvas& c, int ox, int oy) {
    c.FillEllipse(ox + 16, oy + 44, 10, 3, 0x404060);
    c.FillEllipse(ox + 16, oy + 26, 8, 16, 0x60A0FF);
    c.FillEllipse(ox + 13, oy + 20, 3, 7, 0xE0F0FF);
  });
}

std::string BookSheet() {
  return ObjectSheet([](Canvas& c, int ox, int oy) {
    c.FillRect(ox + 6, oy + 34, 20, 13, 0x804020);
    c.FillRect(ox + 4, oy + 28, 24, 8, 0xF0E8D0);
    c.FillRect(ox + 15, oy + 28, 2, 8, 0x806040);
  });
}

std::string ScreenSheet() {
  return ObjectSheet([](Canvas& c, int ox, int oy) {
    c.FillRect(ox + 2, oy + 14, 28, 24, 0x303030);
    c.FillRect(ox + 5, oy + 17, 22, 17, 0x2060A0);
    c.FillRect(ox + 14, oy + 38, 4, 9, 0x303030);
  });
}

// A thing on tile (x, y) that runs its list when the hero faces it and
// presses the decide key.
MapEvent Thing(int32_t id, const char* name, int32_t x, int32_t y, const char* sheet,
               EventCommandList commands) {
  MapEvent thing(id);
  thing.name = name;
  thing.x = x;
  thing.y = y;
  EventPage& page = thing.pages[0];
  page.graphic.fileName = sheet;
  page.graphic.direction = 2;
  page.conditions.triggerKind = MapEventState::kDecideKey;
  page.commands = std::move(commands);
  page.commandCount = static_cast<int32_t>(page.commands.size());
  return thing;
}

std::vector<SoundRecord> SoundsOf(const Database& db, int32_t type) {
  std::vector<SoundRecord> records;
  for (int32_t r = 0; r < db.GetDataCount(type) - kSpareSoundRecords; ++r) {
    records.push_back({db.GetString(type, r, 0), db.GetInt(type, r, 1), db.GetInt(type, r, 2), db.GetInt(type, r, 3)});
  }
  return records;
}

}  // namespace

std::string CrystalMessage() { return "クリスタルが輝いた。\n冒険を記録しました。"; }
std::string GuestBookMessage() { return "来客帳：これまでに\\v[10]人が名前を書きました。"; }

void AddSmallRoom(GameFolderContent& game) {
  MapData map = PlainMapData(kSmallRoomWidth, kSmallRoomHeight);
  map.header.name = "小部屋";
  const EventCommandList save =
      CommandListBuilder().Add({kSaveOrLoad, kSave, kCrystalSlot}).Add({kShowMessage}, {CrystalMessage()}).Build();
  // One more visitor: the book's count from its slot, plus one, written
  // back at once.
  const EventCommandList sign = CommandListBuilder()
                                             .Add({kReadSlotValue, kGuestCountVariable, kGuestBookSlot, kGuestCountInSlot})
                                             .Variable(kGuestCountVariable, kGuestCountVariable, 1, kAssign, kAdd)
                                             .Add({kWriteSlotValue, kGuestCountVariable, kGuestBookSlot, kGuestCountInSlot})
                                             .Add({kShowMessage}, {GuestBookMessage()})
                                             .Build();
  const EventCommandList watch = CommandListBuilder().Add({kSaveOrLoad, kPlayReplay, kReplaySlot}).Build();
  map.events = {Door(1, kSmallRoomEntranceX, kSmallRoomEntranceY + 1, kTownMap, kTownFromSmallRoomX, kTownFromSmallRoomY),
                Thing(kCrystalId, "クリスタル", kCrystalX, kCrystalY, "Chara\\crystal.bmp", save),
                Thing(kGuestBookId, "来客帳", kGuestBookX, kGuestBookY, "Chara\\book.bmp", sign),
                Thing(kReplayScreenId, "リプレイ", kReplayScreenX, kReplayScreenY, "Chara\\screen.bmp", watch)};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  // A save holds the variable database, and one without types is not
  // loaded: the game keeps its visits there.
  if (game.variableDatabase.typeData.empty()) {
    SetDatabaseType(game.variableDatabase, 0, "記録", {1000}, {"訪問"}, 1);
  }
  game.files.emplace_back("Data/Chara/crystal.bmp", CrystalSheet());
  game.files.emplace_back("Data/Chara/book.bmp", BookSheet());
  game.files.emplace_back("Data/Chara/screen.bmp", ScreenSheet());
  AddRoom(game, kSmallRoomMap, std::move(map));
}

void AddSmallRoomSounds(GameFolderContent& game) {
  // A slow waltz on a music box, and a low hum.
  std::vector<MidiNote> notes;
  const uint8_t melody[] = {60, 64, 67, 72, 67, 64, 62, 65, 69, 74, 69, 65};
  for (uint32_t i = 0; i < sizeof melody; ++i) notes.push_back({i * 320, 300, 0, melody[i], 90});
  game.files.emplace_back("Data/BGM/room.mid", BuildMidiFile(480, 600000, notes, {{0, 10}}));
  std::vector<int16_t> hum = SineSamples(22050 * 2, 2, 22050, 60, 1200);
  game.files.emplace_back("Data/BGS/hum.wav", WaveFile(PcmFormatChunk(2, 22050, 16), PcmBytes(hum)));

  Database& system = game.systemDatabase;
  std::vector<SoundRecord> music = SoundsOf(system, 1);
  std::vector<SoundRecord> backgroundSounds = SoundsOf(system, 2);
  const std::vector<SoundRecord> effects = SoundsOf(system, 3);
  music.push_back({kRoomMusicFile, 80, 100, 0});
  backgroundSounds.push_back({kRoomHumFile, 40, 100, 0});
  WriteSoundTypes(system, music, backgroundSounds, effects);
  system.SetInt(SystemTypes::kMapList, kSmallRoomMap, 1, static_cast<int32_t>(music.size()) - 1);
  system.SetInt(SystemTypes::kMapList, kSmallRoomMap, 2, static_cast<int32_t>(backgroundSounds.size()) - 1);
}

void HoldVillagerVisit(PlayHarness& play) {
  play.Hold(5, {kKeyRight});
  play.Hold(40, {kKeyUp});
  play.Hold(60, {kKeyRight});
  play.Hold(75, {kKeyEnter});
  play.Hold(78, {});
  play.Hold(100, {kKeyEnter});
  play.Hold(103, {kKeyDown, kKeyLeft});
  play.Hold(130, {});
}

bool MakeShippedReplay(const std::string& folder) {
  // A short walk from the start to the villager and a word with him,
  // recorded in a game of its own.
  ReplayLog recorded;
  {
    TestDirectory scratch;
    WriteDemoGame(scratch.Path());
    ReplayPlaying = false;
    PlayHarness live(scratch.Path());
    HoldVillagerVisit(live);
    live.Play(kVillagerVisitFrames);
    if (live.exit.code != 0) return false;
    GameReplay.FlushRun();
    recorded = GameReplay;
    GameReplay = ReplayLog::Blank();
  }

  // The engine's own save of a fresh record, then the log in its replay
  // section.
  ScopedCurrentDirectory inFolder(folder);
  if (!GameInformation.LoadGameData("Game.dat")) return false;
  SaveSlots = SaveSlotCache();
  const std::string path = SaveFilePath(kReplaySlot, kSaveSlotPrefix);
  SaveSlots.records[path] = SaveSlotRecord();
  const bool saved = SaveSlots.SaveGame(kReplaySlot, false, kSaveSlotPrefix);
  SaveSlots = SaveSlotCache();
  GameInformation = GameInfo();
  if (!saved) return false;
  std::string file = ReadWholeFile(folder + "/Save/SaveData90.sav");
  file = WithReplaySection(file, recorded);
  if (file.empty()) return false;
  WriteWholeFile(folder + "/Save/SaveData90.sav", file);
  return true;
}

}  // namespace demo
