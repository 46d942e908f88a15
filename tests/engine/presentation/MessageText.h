#pragma once
// Message text with control sequences, as the escape expander writes them.

#include <cstdint>
#include <string>

#include "engine/presentation/text/MessageCodes.h"

inline std::string Code(ControlCode code) { return std::string{'\x01', static_cast<char>(code)}; }
inline std::string SmallCode(ControlCode code, int32_t value) {
  return Code(code) + static_cast<char>(value + 14);
}
inline std::string WideCode(ControlCode code, int32_t value) {
  return Code(code) + static_cast<char>(value / 256 + 14) + static_cast<char>(value % 256 + 14);
}
