#include "runtime/host/fonts/CodePageTable.h"

#include <iconv.h>

#include <memory>
#include <mutex>

namespace {

// One iconv call per character: a failing byte pair leaves only its own
// entry at 0.
std::unique_ptr<uint32_t[]> BuildTable(const char* codePage) {
  auto table = std::make_unique<uint32_t[]>(65536);
  iconv_t cd = iconv_open("UTF-32LE", codePage);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (uint32_t c = 0; c < 0x80; ++c) table[c] = c;
    return table;
  }
  auto convert = [&](const char* bytes, size_t length) -> uint32_t {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length;
    uint32_t out[2] = {0, 0};
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return 0;
    if (sizeof out - outLeft != 4) return 0;  // one code must give one character
    const auto* b = reinterpret_cast<const uint8_t*>(out);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
  };
  for (uint32_t lead = 0; lead < 256; ++lead) {
    const char single = static_cast<char>(lead);
    table[lead] = convert(&single, 1);
    if (lead < 0x81) continue;
    for (uint32_t trail = 0x40; trail < 256; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      table[lead << 8 | trail] = convert(pair, 2);
    }
  }
  iconv_close(cd);
  return table;
}

}  // namespace

const uint32_t* CodePageToUnicodeTable(int charset) {
  static std::once_flag once932, once949;
  static std::unique_ptr<uint32_t[]> table932, table949;
  if (charset == 2) {
    std::call_once(once949, [] { table949 = BuildTable("CP949"); });
    return table949.get();
  }
  std::call_once(once932, [] { table932 = BuildTable("CP932"); });
  return table932.get();
}
