#pragma once
// Reads of a command's arguments that tolerate a short record: a missing
// integer argument reads 0, a missing string argument the empty text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/data/map/EventCommand.h"

inline int32_t ArgumentOf(const EventCommand& command, size_t i) {
  return i < command.arguments.size() ? command.arguments[i] : 0;
}

inline const std::string& StringArgumentOf(const EventCommand& command, size_t i) {
  static const std::string kEmpty;
  return i < command.strings.size() ? command.strings[i] : kEmpty;
}
