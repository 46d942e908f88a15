// Random command lists run for two frames, prepared as a common event and
// plain as a map event's list. Lists in the editor's shape and lists of any
// codes, flags and operands; nothing may read or write outside its lists,
// whatever the commands say. Files that the string operation writes go to a
// folder of the fuzzer's own; text fields and the pad are fakes.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/SystemState.h"
#include "engine/events/TextEntryHooks.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/EngineRandom.h"
#include "engine/services/InputState.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/InScratchFolder.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/DatabaseBuilder.h"

namespace {

Database SmallDatabase(int32_t types) {
  Database db;
  for (int32_t t = 0; t < types; ++t) {
    db.typeData.push_back(MakeTypeData({1000, 2000}, 4));
    db.typeDefinitions.push_back(MakeDefinition("type", {"number", "text"}, {}));
  }
  return db;
}

int gNextField = 1;
char gScratch[] = "/tmp/movan-interpreter-fuzz-XXXXXX";

// Once per process: a scratch folder to serve as the game folder while a
// list runs (the fuzzer's own files are relative to its folder), fake fields.
bool Isolate() {
  if (!mkdtemp(gScratch)) std::abort();
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(gScratch, ignored);
  });
  TextEntryHooks fields{};
  fields.createTextInput = [](int, int, int, int) { return gNextField++; };
  fields.activateTextInput = [](int) { return 0; };
  fields.setTextInputText = [](const char*, int) { return 0; };
  fields.setDefaultFontSize = [](int) { return 0; };
  SetTextEntryHooks(&fields);
  SetPadBitsReader([](int) { return 0x30; });
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool isolated = Isolate();
  (void)isolated;
  const InScratchFolder inScratch(gScratch);
  SilenceDataReaderReports();
  EventInterpreter::frameBudget = 20000;
  if (size == 0) return 0;
  SystemDatabase = SmallDatabase(24);
  UserDatabase = SmallDatabase(3);
  VariableDatabase = SmallDatabase(3);
  BuildDatabaseNameMaps();
  CommonEvents = CommonEventList();
  Variables = VariableStore();
  SystemStateHub = SystemState();
  SystemStateHub.gameState = 1;
  EngineRandom(kRandomSet, 1);

  ChoiceSource choices(data + 1, size - 1);
  const EventCommandList list =
      (data[0] & 1) ? GenerateWildCommandList(choices, 48) : GenerateCommandList(choices, 80);
  try {
    CommonEvents.events[0].commands = list;
    CommonEvents.events[1].commands = list;
    PrepareCommonEvents();
    PrepareCommonEvents();  // a second pass over prepared lists
    EventInterpreter prepared;
    prepared.StartCommonEvent(0, -1);
    EventInterpreter plain;
    plain.StartOwnEvent(list, 0, 1);
    for (int frame = 0; frame < 2; ++frame) {
      prepared.RunFrame();
      plain.RunFrame();
      // The store replaced between frames: prepared cells resolve again.
      if (data[0] & 2) Variables = VariableStore();
    }
  } catch (const ReaderExited&) {
  }
  return 0;
}
