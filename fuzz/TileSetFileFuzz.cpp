// TileSetData.dat from any bytes, in both flag widths.

#include <cstdint>
#include <vector>

#include "engine/data/FileBuffer.h"
#include "engine/data/TileSet.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SilenceDataReaderReports();
  FileBuffer file(std::vector<uint8_t>(data, data + size));
  TileSetList list;
  try {
    list.ReadTileSetFile(file, "Data\\BasicData\\TileSetData.dat");
  } catch (const ReaderExited&) {
    // checksum mismatch
  }
  return 0;
}
