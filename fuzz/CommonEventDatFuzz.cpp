// CommonEvent.dat from any bytes: counts and lengths are checked before
// anything is read or sized by them.

#include <cstdint>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/FileBuffer.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SilenceDataReaderReports();
  FileBuffer file(std::vector<uint8_t>(data, data + size));
  CommonEventList list;
  try {
    list.ReadCommonEventsFile(file, "Data\\BasicData\\CommonEvent.dat");
  } catch (const ReaderExited&) {
    // checksum mismatch
  }
  return 0;
}
