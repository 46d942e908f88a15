// Map files from any bytes: counts, lengths and routes are checked before
// anything is read or sized by them.

#include <cstdint>

#include "engine/data/map/MapData.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadFuzzInput(data, size, [](FileBuffer& file) {
    MapData map;
    map.ReadMapFile(file, "Map.mps", "Data\\Map.mps");
  });
  return 0;
}
