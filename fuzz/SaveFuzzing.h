#pragma once
// What the save fuzzers share: the save version a byte chooses, and a plain
// save file (seeds 0, so unscrambled) around a body.

#include <cstdint>
#include <string>
#include <string_view>

#include "tests/support/ByteWriter.h"

inline const std::string kFuzzGameTitle = "fuzz";

// 95 to 112: every threshold of the parts' readers and one past the newest.
inline int32_t FuzzSaveVersion(uint8_t byte) { return 95 + byte % 18; }

inline std::string PlainSaveFile(int32_t version, std::string_view body) {
  ByteWriter out;
  out.Raw(std::string(20, '\0')).U8(0x19);
  out.U16(static_cast<uint16_t>(kFuzzGameTitle.size() + 1)).Raw(kFuzzGameTitle).U8(0);
  out.U16(static_cast<uint16_t>(version)).Raw(body).U8(0x19);
  return out.Bytes();
}
