// ".common" files from any bytes, appended to a list and read over its
// entries: a damaged file leaves the list as it was.

#include <cstdint>

#include "engine/data/CommonEventList.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CommonEventList list;
  for (int32_t first : {list.Count(), 3}) {
    ReadFuzzInput(data, size, [&list, first](FileBuffer& file) { list.ReadCommonEventFile(file, first, true); });
  }
  return 0;
}
