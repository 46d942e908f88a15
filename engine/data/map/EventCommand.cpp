#include "engine/data/map/EventCommand.h"

bool EventCommand::Read(ByteCursor& in) {
  int8_t argumentCount = 0;
  if (!in.ReadI8(argumentCount)) return false;
  if (argumentCount < 0 || !in.CountFits(argumentCount, 4)) return in.Fail();
  arguments.resize(static_cast<size_t>(argumentCount));
  int8_t stringCount = 0;
  if (!in.ReadI32Array(arguments.data(), argumentCount) || !in.ReadU8(indent) || !in.ReadI8(stringCount)) return false;
  if (stringCount < 0 || !in.CountFits(stringCount, 4)) return in.Fail();
  strings.resize(static_cast<size_t>(stringCount));
  for (std::string& text : strings) {
    if (!in.ReadString(text)) return false;
  }
  int8_t routeFlag = 0;
  if (!in.ReadI8(routeFlag)) return false;
  if (routeFlag >= 1) {
    routes.resize(1);
    return routes[0].Read(in);
  }
  return true;
}

void MarkCommandListEnd(std::vector<EventCommand>& commands) {
  if (!commands.empty() && !commands.back().arguments.empty()) commands.back().arguments[0] = EventCommand::kEndCode;
}

bool ReadEventCommands(ByteCursor& in, int32_t count, std::vector<EventCommand>& commands) {
  commands.clear();
  for (int32_t i = 0; i < count; ++i) {
    // Read into a command that holds nothing yet, then moved in: the list
    // holds only commands read whole, and no default argument is allocated
    // per command.
    EventCommand command{{}, 0, {}, {}, {}, {}};
    if (!command.Read(in)) return false;
    commands.push_back(std::move(command));
  }
  MarkCommandListEnd(commands);
  return true;
}
