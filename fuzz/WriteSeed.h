#pragma once
// Writes one starting input of a fuzzer into the folder the seed program is
// given as argv[1].

#include <string>
#include <string_view>

#include "tests/support/TestDirectory.h"

inline void WriteSeed(char** argv, const std::string& name, std::string_view bytes) {
  WriteWholeFile(std::string(argv[1]) + "/" + name, bytes);
}
