#pragma once
// How the command handlers read a command's arguments: by position, a
// missing integer argument reading 0 and a missing string argument the
// empty text. Handlers read through this rather than indexing the argument
// lists themselves.

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
