#include "engine/events/commands/DownloadState.h"

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"

DownloadState Downloads;

bool DownloadState::Start(const std::string&, const std::string&, bool, int32_t) {
  status = 0;
  return true;
}

bool EventInterpreter::StartDownload() {
  const EventCommand& command = Current();
  const int32_t map = CurrentMapHooks().currentMapId();
  auto text = [&](size_t k) {
    const std::string raw = k < command.strings.size() ? command.strings[k] : std::string();
    return ExpandMessageText(raw, mapEventId, commonEventNumber, map, true, false, "", "", true);
  };
  const std::string address = text(0);
  const std::string second = text(1);
  const int32_t flags = command.arguments.size() > 1 ? command.arguments[1] : 0;
  const int32_t number = command.arguments.size() > 2 ? command.arguments[2] : 0;
  Downloads.Start(address, second, (flags & 1) != 0, number);
  return true;
}
