// A save file of any bytes read through the save-slot cache, as a read of a
// variable in another slot does; a file that loads is written back. The
// first byte chooses: the input as the whole file, or the body of a plain
// file (seeds 0) behind a title block that matches, with the second byte
// choosing its save version, so that the parts' readers see the bytes.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/data/GameInfo.h"
#include "engine/saves/SaveFileHooks.h"
#include "engine/saves/SavePath.h"
#include "engine/saves/SaveSlotCache.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/InScratchFolder.h"
#include "fuzz/SaveFuzzing.h"
#include "tests/support/TestDirectory.h"

namespace {

char gScratch[] = "/tmp/movan-save-file-fuzz-XXXXXX";

bool Isolate() {
  if (!mkdtemp(gScratch)) std::abort();
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(gScratch, ignored);
  });
  std::filesystem::create_directory(std::string(gScratch) + "/Save");
  static SaveFileHooks hooks{};
  hooks.now = [] { return int64_t{1700000000}; };
  hooks.freeSpace = [] { return int64_t{-1}; };
  SetSaveFileHooks(&hooks);
  GameInformation.settingStrings.assign(1, kFuzzGameTitle);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool isolated = Isolate();
  (void)isolated;
  if (size < 2) return 0;
  const InScratchFolder inScratch(gScratch);
  SilenceDataReaderReports();

  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string file = (data[0] & 1) ? std::string(reinterpret_cast<const char*>(data), size)
                                         : PlainSaveFile(FuzzSaveVersion(data[1]), rest);
  WriteWholeFile(std::string(gScratch) + "/Save/SaveData01.sav", file);
  SaveSlots = SaveSlotCache();
  try {
    if (SaveSlots.LoadSaveSlot(1, false, false, kSaveSlotPrefix)) {
      SaveSlots.ReadSlotIntVariable(1, 2000000, kSaveSlotPrefix);
      SaveSlots.SaveGame(1, false, kSaveSlotPrefix);
    }
  } catch (const ReaderExited&) {
  }
  return 0;
}
