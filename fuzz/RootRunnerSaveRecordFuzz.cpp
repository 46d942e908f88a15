// The root runner's save record from any bytes; the first byte chooses the
// save version.

#include <cstdint>

#include "engine/data/file/SaveBuffer.h"
#include "engine/events/variables/RootEventRunner.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int32_t version = 95 + data[0] % 18;  // 95 to 112
  ReadFuzzInput<SaveBuffer>(data + 1, size - 1, [version](SaveBuffer& in) {
    RootEventRunner runner;
    runner.ReadState(in, version);
  });
  return 0;
}
