// A movie from any bytes: the open, a few seeks and the frames they show
// must end, never hang on the decode thread and never read out of bounds.

#include <cstdint>
#include <initializer_list>

#include "runtime/graphics/movies/TheoraDecoder.h"
#include "runtime/graphics/movies/YuvTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int tables = InitYuvTables();
  (void)tables;
  MemStream* stream = MemStreamOpen(data, static_cast<uint32_t>(size));
  TheoraDecoder* decoder = OpenTheoraDecoder(GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(stream), 3);
  if (decoder) {
    TheoraInfo info;
    GetTheoraInfo(decoder, &info);
    for (int64_t frame : {info.frameCount - 1, info.frameCount / 2, int64_t{1}}) {
      SeekTheoraDecoder(decoder, static_cast<int32_t>(frame));
      GetTheoraFrame(decoder, 1, 1);
    }
    CloseTheoraDecoder(decoder);
  }
  MemStreamClose(reinterpret_cast<StreamHandle>(stream));
  return 0;
}
