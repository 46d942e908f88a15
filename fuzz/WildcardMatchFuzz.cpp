// Directory-search patterns from any bytes (a pattern, a NUL, a name): the
// match must end without reading past either text, and agree with the plain
// facts: a name matches itself when it holds no wildcard, and "*" matches
// every name.

#include <cstdint>
#include <string>

#include "runtime/WildcardMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string pattern = input.substr(0, cut);
  const std::string name = cut == std::string::npos ? std::string() : std::string(input.c_str() + cut + 1);

  (void)MatchWildcard(pattern.c_str(), name.c_str());
  (void)MatchWildcard(name.c_str(), pattern.c_str());
  if (MatchWildcard("*", name.c_str()) != 0) __builtin_trap();
  if (name.find_first_of("*?") == std::string::npos && MatchWildcard(name.c_str(), name.c_str()) != 0) {
    __builtin_trap();
  }
  return 0;
}
