// CommonEvent.dat from any bytes: counts and lengths are checked before
// anything is read or sized by them.

#include <cstdint>

#include "engine/data/CommonEventList.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadFuzzInput(data, size, [](FileBuffer& file) {
    CommonEventList list;
    list.ReadCommonEventsFile(file, "Data\\BasicData\\CommonEvent.dat");
  });
  return 0;
}
