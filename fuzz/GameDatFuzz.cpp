// Game.dat from any bytes: every count and offset is checked against the file.

#include <cstdint>

#include "engine/data/GameInfo.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadFuzzInput(data, size, [](FileBuffer& file) {
    GameInfo info;
    info.ReadGameData(file, "Game.dat");
  });
  return 0;
}
