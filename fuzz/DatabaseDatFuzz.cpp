// Database ".dat" files from any bytes; the database read is then used, so
// that a damaged file that slipped through would show.

#include <cstdint>

#include "engine/data/database/Database.h"
#include "fuzz/DataReaderHooks.h"

// Keeps the reads from being optimised away.
volatile int64_t gReadSink = 0;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Database db;
  ReadFuzzInput(data, size, [&db](FileBuffer& file) {
    db.ReadDataFile(file, "BasicData\\DataBase", "Data\\BasicData\\DataBase.dat");
  });
  int64_t sum = 0;
  for (int32_t type = 0; type < db.GetTypeCount(); ++type) {
    const int32_t items = db.GetItemCount(type);
    for (int32_t data = 0; data < db.GetDataCount(type) && data < 64; ++data) {
      for (int32_t item = 0; item < items; ++item) {
        sum += db.GetInt(type, data, item) + static_cast<int64_t>(db.GetString(type, data, item).size());
      }
    }
    db.SetDataCount(type, 3);
    db.InitRecord(type, 2);
  }
  gReadSink = sum;
  return 0;
}
