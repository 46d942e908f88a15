// TileSetData.dat from any bytes, in both flag widths.

#include <cstdint>

#include "engine/data/TileSet.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadFuzzInput(data, size, [](FileBuffer& file) {
    TileSetList list;
    list.ReadTileSetFile(file, "Data\\BasicData\\TileSetData.dat");
  });
  return 0;
}
