#pragma once
// How the command handlers read a command's integer arguments: by position,
// a missing argument reading 0. Handlers read through this rather than
// indexing the argument list themselves.

#include <cstddef>
#include <cstdint>

#include "engine/data/map/EventCommand.h"

inline int32_t ArgumentOf(const EventCommand& command, size_t i) {
  return i < command.arguments.size() ? command.arguments[i] : 0;
}
