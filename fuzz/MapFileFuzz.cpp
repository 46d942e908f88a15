// Map files from any bytes: counts, lengths and routes are checked before
// anything is read or sized by them.

#include <cstdint>
#include <vector>

#include "engine/data/FileBuffer.h"
#include "engine/data/MapData.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SilenceDataReaderReports();
  FileBuffer file(std::vector<uint8_t>(data, data + size));
  MapData map;
  try {
    map.ReadMapFile(file, "Map.mps", "Data\\Map.mps");
  } catch (const ReaderExited&) {
    // checksum mismatch
  }
  return 0;
}
