// The variable database's section of a save file from any bytes; the
// definitions it then loads come from a fixed game folder.

#include <cstdint>
#include <vector>

#include "engine/data/Databases.h"
#include "engine/data/SaveBuffer.h"
#include "engine/shell/DataFolder.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/DataSamples.h"
#include "tests/support/DatabaseFileWriter.h"
#include "tests/support/TestDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SilenceDataReaderReports();
  static TestDirectory* game = [] {
    auto* dir = new TestDirectory;
    WriteDatabaseFiles(*dir, kVariableDatabaseName, SampleFuzzDatabase());
    SetDataFolder(dir->Path() + "/Data/");
    return dir;
  }();
  (void)game;
  SaveBuffer in(std::vector<uint8_t>(data, data + size));
  Database db;
  try {
    db.ReadSavedVariableDatabase(in);
  } catch (const ReaderExited&) {
    // a missing definitions file
  }
  return 0;
}
