// The replay section of a save body from any bytes, then playback of what
// was read until the log ends (or for a bounded number of frames).

#include <cstdint>

#include "engine/data/ReplayLog.h"
#include "engine/data/file/SaveBuffer.h"
#include "fuzz/DataReaderHooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadFuzzInput<SaveBuffer>(data, size, [](SaveBuffer& in) {
    ReplayLog log = ReplayLog::Blank();
    if (!log.Read(in)) return;
    ReplayEnded = false;
    ReplayLog::Frame frame;
    for (int i = 0; i < 100000 && !ReplayEnded; ++i) log.PlayNext(frame);
  });
  return 0;
}
