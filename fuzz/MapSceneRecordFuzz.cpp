// The map scene's save record from any bytes; the first byte chooses the
// save version. A record that reads is written back.

#include <cstdint>

#include "engine/data/file/SaveBuffer.h"
#include "engine/map/MapScene.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/SaveFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int32_t version = FuzzSaveVersion(data[0]);
  ReadFuzzInput<SaveBuffer>(data + 1, size - 1, [version](SaveBuffer& in) {
    MapScene scene;
    if (!scene.LoadState(in, version)) return;
    SaveBuffer out;
    scene.SaveState(out);
  });
  return 0;
}
