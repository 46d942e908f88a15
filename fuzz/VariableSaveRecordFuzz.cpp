// The variable store's save record from any bytes; the first byte chooses
// the save version (the string length form).

#include <cstdint>

#include "engine/data/file/SaveBuffer.h"
#include "engine/events/variables/VariableStore.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int32_t version = data[0] & 1 ? 111 : 110;
  ReadFuzzInput<SaveBuffer>(data + 1, size - 1, [version](SaveBuffer& in) {
    VariableStore store(&RootRunner);
    store.LoadVariables(in, version, false);
  });
  return 0;
}
