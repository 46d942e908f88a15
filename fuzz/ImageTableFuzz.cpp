// Every reader in turn on the same bytes, as the loaders use them: each
// rewinds and starts from a cleared record whatever the one before did.

#include "fuzz/ImageFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzImageReader(nullptr, data, size);
  return 0;
}
