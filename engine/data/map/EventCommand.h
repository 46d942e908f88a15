#pragma once
// One line of an event command list, as map events and common events store
// it. Argument 0 is the command code; the code -1 ends a list.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/map/MoveRoute.h"
#include "engine/data/map/PreparedOperand.h"

struct EventCommand {
  static constexpr int32_t kEndCode = -1;

  std::vector<int32_t> arguments{0};
  uint8_t indent = 0;
  std::vector<std::string> strings;
  std::vector<MoveRoute> routes;  // at most one, for commands that carry one
  // Filled when the list is prepared for running; empty: the plain form.
  std::vector<int32_t> flowData;
  std::vector<PreparedOperand> operands;

  // Reads one command record. False, with the cursor's overrun flag set, on
  // a negative count or a record that runs past the end.
  bool Read(ByteCursor& in);

  // The smallest command record: argument count, indent, string count and
  // route flag.
  static constexpr int64_t kSmallestRecordBytes = 4;

  bool operator==(const EventCommand&) const = default;
};

// Marks the last command of a list read from a file with the end code,
// whatever the file holds there. A list without commands, or a last command
// without arguments, has nothing to mark and is left as it is.
void MarkCommandListEnd(std::vector<EventCommand>& commands);

// Reads count command records into the list, which they replace; the list
// grows as they are read and its last command is marked as the end. False,
// with the cursor's overrun flag set, when a record is damaged.
bool ReadEventCommands(ByteCursor& in, int32_t count, std::vector<EventCommand>& commands);
