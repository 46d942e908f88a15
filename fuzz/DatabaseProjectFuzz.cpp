// Database ".project" files from any bytes; the first byte chooses the
// layout version.

#include <cstdint>

#include "engine/data/database/Database.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t version = (data[0] & 1) ? kDatabaseVersionItemTables : kDatabaseVersionNamesOnly;
  ReadFuzzInput(data + 1, size - 1, [version](FileBuffer& file) {
    Database db;
    db.ReadProjectFile(file, "BasicData\\DataBase", version);
  });
  return 0;
}
