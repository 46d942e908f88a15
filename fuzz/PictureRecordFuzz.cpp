// The picture list's save record from any bytes; the first byte chooses the
// save version. A list that reads is written back.

#include <cstdint>

#include "engine/data/file/SaveBuffer.h"
#include "engine/presentation/pictures/PictureList.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/SaveFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int32_t version = FuzzSaveVersion(data[0]);
  ReadFuzzInput<SaveBuffer>(data + 1, size - 1, [version](SaveBuffer& in) {
    PictureList list;
    if (!list.Read(in, version)) return;
    SaveBuffer out;
    list.Write(out);
  });
  return 0;
}
