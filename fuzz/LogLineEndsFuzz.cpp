// Line-end conversion of log text: any bytes, including lone lead bytes and
// mixed CR LF, must convert inside the work buffer the log gives it.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/platform/base/Log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // the log takes NUL-terminated text
  std::vector<char> out(2 * text.size() + 1);
  const int n = LogConvertLineEnds(text.c_str(), out.data());
  if (n < 0 || static_cast<size_t>(n) >= out.size() || out[static_cast<size_t>(n)] != '\0') __builtin_trap();
  return 0;
}
