// Database ".project" files from any bytes; the first byte chooses the
// layout version.

#include <cstdint>
#include <vector>

#include "engine/data/Database.h"
#include "engine/data/FileBuffer.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  SilenceDataReaderReports();
  const uint8_t version = (data[0] & 1) ? kDatabaseVersionItemTables : kDatabaseVersionNamesOnly;
  FileBuffer file(std::vector<uint8_t>(data + 1, data + size));
  Database db;
  db.ReadProjectFile(file, "BasicData\\DataBase", version);
  return 0;
}
