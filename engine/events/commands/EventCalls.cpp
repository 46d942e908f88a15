// Events that run other events: call at once as a child, reserve for the
// root runner, call a common event by its name (or from a ".common" file).

#include <algorithm>
#include <cstdio>

#include "engine/data/CommonEventList.h"
#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/MapHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/StartupSettings.h"

namespace {

constexpr int64_t kCommonEventBase = 500000;
constexpr int64_t kRelativeBase = 600000;
constexpr int64_t kRelativeSelf = 600100;
constexpr int64_t kCommonSelfBase = 15000000;
constexpr int64_t kCommonSelfStringBase = 15000005;

struct EventReference {
  bool common = false;
  int64_t number = 0;  // common event number or map event id
};

EventReference Decode(int64_t value, int32_t callerCommonEvent) {
  if (value >= kRelativeBase) {
    const int64_t last = std::max<int64_t>(CommonEvents.Count() - 1, 0);
    return {true, std::clamp<int64_t>(int64_t{callerCommonEvent} + value - kRelativeSelf, 0, last)};
  }
  if (value >= kCommonEventBase) return {true, value - kCommonEventBase};
  return {false, value};
}

void TestPlayError(const char* pattern, int64_t a, int64_t b) {
  if (!TestPlayFlag) return;
  char text[160];
  std::snprintf(text, sizeof text, pattern, static_cast<long long>(a), static_cast<long long>(b));
  ShowErrorScreen("【テストプレイ専用エラー】", text, "");
}

}  // namespace

void EventInterpreter::CallCommonEvent(const EventCommand& command, int32_t n) {
  if (n < 0 || n >= CommonEvents.Count()) {
    TestPlayError("存在しないコモンEv%lldを呼び出そうとしました", n % kCommonEventBase, 0);
    return;
  }
  if (callDepth >= kMaxCallDepth) {
    StartChild(n);  // shows the error and refuses
    return;
  }
  const int32_t word = ArgumentOf(command, 2);
  const int32_t integers = word & 15;
  const int32_t strings = (word >> 4) & 15;
  // Every value is read before the first is stored: an argument may name a
  // self variable that the call overwrites.
  std::vector<int32_t> values;
  std::vector<std::string> texts;
  size_t at = 3;
  for (int32_t i = 0; i < integers; ++i) values.push_back(GetArgValue(ArgumentOf(command, at++)));
  for (int32_t j = 0; j < strings; ++j) {
    texts.push_back(at < command.arguments.size() ? GetArgString(command.arguments[at]) : std::string());
    ++at;
  }
  const int64_t base = int64_t{n} * VariableStore::kCommonSelfIntegers;
  for (int32_t i = 0; i < integers; ++i) Variables.SetVariable(kCommonSelfBase + base + i, values[static_cast<size_t>(i)]);
  for (int32_t j = 0; j < strings; ++j) {
    Variables.SetStringVariable(kCommonSelfStringBase + base + j, texts[static_cast<size_t>(j)]);
  }
  StartChild(n);
}

bool EventInterpreter::CallEvent() {
  const EventCommand command = Current();
  const EventReference target = Decode(GetArgValue(ArgumentOf(command, 1)), commonEventNumber);
  if (target.common) {
    CallCommonEvent(command, static_cast<int32_t>(std::min<int64_t>(target.number, INT32_MAX)));
    return true;
  }
  const int64_t e = target.number == -1 ? mapEventId : target.number;
  const int32_t page = ArgumentOf(command, 2);
  const MapHooks& map = CurrentMapHooks();
  const int32_t pages = e >= 0 ? map.mapEventPageCount(static_cast<int32_t>(e)) : -1;
  EventCommandList list;
  if (pages < 0 || page >= pages || !map.mapEventCommands(static_cast<int32_t>(e), page, list)) {
    TestPlayError("存在しないマップEv%lld,ページ%lldを呼び出そうとしました", e, int64_t{page} + 1);
    return true;
  }
  StartChildOnList(std::move(list), static_cast<int32_t>(e));
  return true;
}

bool EventInterpreter::ReserveEvent() {
  const EventCommand& command = Current();
  const EventReference target = Decode(GetArgValue(ArgumentOf(command, 1)), commonEventNumber);
  if (target.common) {
    // A number past the list is dropped when the root runner picks.
    SystemStateHub.reservedCommonEvent = static_cast<int32_t>(target.number % kCommonEventBase);
    return true;
  }
  // -1 names no event here: the root runner would start this very event
  // again, which the call already does at once.
  if (target.number < 0) return true;
  const int32_t e = static_cast<int32_t>(target.number);
  const int32_t pages = CurrentMapHooks().mapEventPageCount(e);
  if (pages >= 0 && ArgumentOf(command, 2) < pages) CurrentMapHooks().requestStart(e);
  return true;
}

bool EventInterpreter::CallEventByName() {
  const EventCommand command = Current();
  std::string name = command.strings.empty() ? std::string() : command.strings[0];
  if (ArgumentOf(command, 2) & 0x100) {
    name = ExpandMessageText(name, mapEventId, commonEventNumber, CurrentMapHooks().currentMapId(), true, false, "", "",
                             true);
  }
  int32_t n = 0;
  if (name.find(".common") != std::string::npos) {
    auto known = CommonEvents.commonFileRegistry.find(name);
    if (known != CommonEvents.commonFileRegistry.end()) {
      n = known->second;
    } else {
      const int32_t first = CommonEvents.Count();
      if (CommonEvents.ReadCommonEventFile(name, first, true) < 0) return true;
      const size_t count = static_cast<size_t>(CommonEvents.Count());
      if (Variables.commonSelfIntegers.size() < count) {
        Variables.commonSelfIntegers.resize(count, std::vector<int32_t>(VariableStore::kCommonSelfIntegers, 0));
        Variables.commonSelfStrings.resize(count, std::vector<std::string>(VariableStore::kCommonSelfStrings));
        InvalidateVariableCells();
      }
      CommonEvents.commonFileRegistry[name] = first;
      for (size_t i = static_cast<size_t>(first); i < count; ++i) {
        const CommonEvent& added = CommonEvents.events[i];
        if (!added.name.empty()) CommonEvents.nameMap[added.name] = added.number;
      }
      n = first;
    }
  } else {
    auto found = CommonEvents.nameMap.find(name);
    if (found == CommonEvents.nameMap.end()) return true;
    n = found->second;
  }
  CallCommonEvent(command, n);
  return true;
}
