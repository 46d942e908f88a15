#pragma once
// One line of an event command list, as map events and common events store
// it. Argument 0 is the command code; the code -1 ends a list.
//
// EventCommand is a view of a line in its list (see EventCommandList): valid
// until the list changes. CommandRecord is a command held on its own, as
// code builds one.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/data/map/MoveRoute.h"
#include "engine/data/map/PreparedOperand.h"

struct EventCommand {
  static constexpr int32_t kEndCode = -1;

  std::span<const int32_t> arguments;
  uint8_t indent = 0;
  std::span<const std::string> strings;
  std::span<const MoveRoute> routes;  // at most one, for commands that carry one
  // Filled when the list is prepared for running; empty: the plain form.
  std::span<const int32_t> flowData;
  std::span<const PreparedOperand> operands;

  int32_t Code() const { return arguments.empty() ? 0 : arguments[0]; }
};

struct CommandRecord {
  std::vector<int32_t> arguments{0};
  uint8_t indent = 0;
  std::vector<std::string> strings;
  std::vector<MoveRoute> routes;  // at most one is kept

  CommandRecord() = default;
  CommandRecord(std::vector<int32_t> arguments, uint8_t indent = 0, std::vector<std::string> strings = {},
                std::vector<MoveRoute> routes = {})
      : arguments(std::move(arguments)), indent(indent), strings(std::move(strings)), routes(std::move(routes)) {}
  CommandRecord(const EventCommand& command)  // NOLINT: a line of a list, copied out
      : arguments(command.arguments.begin(), command.arguments.end()),
        indent(command.indent),
        strings(command.strings.begin(), command.strings.end()),
        routes(command.routes.begin(), command.routes.end()) {}
};
