// The variable database's section of a save file from any bytes; the
// definitions it then loads come from a fixed game folder.

#include <cstdint>

#include "engine/data/database/Databases.h"
#include "engine/data/file/SaveBuffer.h"
#include "engine/services/DataFolder.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/DataSamples.h"
#include "fuzz/FileLayerReset.h"
#include "tests/support/DatabaseFileWriter.h"
#include "tests/support/TestDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TestDirectory* game = [] {
    auto* dir = new TestDirectory;
    WriteDatabaseFiles(*dir, kVariableDatabaseName, SampleFuzzDatabase());
    SetDataFolder(dir->Path() + "/Data/");
    return dir;
  }();
  (void)game;
  ResetFileLayer();
  ReadFuzzInput<SaveBuffer>(data, size, [](SaveBuffer& in) {
    Database db;
    db.ReadSavedVariableDatabase(in);
  });
  return 0;
}
