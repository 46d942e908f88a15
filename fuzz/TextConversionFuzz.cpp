// CP932 and UTF-8 conversion of any bytes, as file names and titles reach
// it: each direction must end, and ASCII passes both ways unchanged.

#include <cstdint>
#include <string>

#include "runtime/host/system/TextConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string utf8 = Cp932ToUtf8(bytes);
  const std::string cp932 = Utf8ToCp932(bytes);
  bool ascii = true;
  for (const char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii && (utf8 != bytes || cp932 != bytes)) __builtin_trap();
  // Each byte becomes at most one character of at most three bytes.
  if (utf8.size() > 3 * bytes.size()) __builtin_trap();
  (void)Cp932ToUtf8(cp932);
  (void)Utf8ToCp932(utf8);
  return 0;
}
