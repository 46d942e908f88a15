#include "engine/events/CommonEventRunner.h"

#include <map>

#include "engine/data/CommonEventList.h"
#include "engine/events/variables/VariableStore.h"

namespace {

// Node-based: a runner stays where it is while others are added.
std::map<int32_t, CommonEventRunner> gRunners;

const CommonEvent* EventOf(int32_t number) {
  if (number < 0 || number >= CommonEvents.Count()) return nullptr;
  return &CommonEvents.events[static_cast<size_t>(number)];
}

}  // namespace

bool CheckCommonEventStart(const CommonEvent& event) {
  const int32_t v = Variables.GetVariable(event.conditionVariable);
  const int32_t c = event.conditionValue;
  switch (event.trigger >> 4) {
    case 0: return v > c;
    case 1: return v >= c;
    case 2: return v == c;
    case 3: return v <= c;
    case 4: return v < c;
    case 5: return v != c;
    case 6: return (v & c) == c;
    default: return false;
  }
}

CommonEventRunner::CommonEventRunner(int32_t commonEventNumber) : number(commonEventNumber) { Refresh(); }

int32_t CommonEventRunner::TriggerKind() const {
  const CommonEvent* event = EventOf(number);
  return event ? event->trigger & 15 : 0;
}

bool CommonEventRunner::CheckCondition() const {
  const CommonEvent* event = EventOf(number);
  return event && CheckCommonEventStart(*event);
}

void CommonEventRunner::Refresh() {
  const int32_t kind = TriggerKind();
  if (kind == 3 || (kind == 2 && CheckCondition())) {
    if (interpreters.empty()) {
      interpreters.emplace_back();
      interpreters.back().Init(0, false);
    }
    return;
  }
  interpreters.clear();
}

void CommonEventRunner::RunFrame() {
  if (interpreters.empty()) return;
  EventInterpreter& interpreter = interpreters.front();
  if (!interpreter.IsRunning()) interpreter.StartCommonEvent(number, 0);
  interpreter.RunFrame();
}

void ClearCommonEventRunners() { gRunners.clear(); }

void RefreshCommonEventRunner(int32_t number) {
  auto found = gRunners.find(number);
  if (found == gRunners.end()) {
    gRunners.emplace(number, CommonEventRunner(number));  // built refreshed
    return;
  }
  found->second.Refresh();
}

void RunCommonEventRunner(int32_t number) {
  if (CommonEventRunner* runner = FindCommonEventRunner(number)) runner->RunFrame();
}

CommonEventRunner* FindCommonEventRunner(int32_t number) {
  auto found = gRunners.find(number);
  return found == gRunners.end() ? nullptr : &found->second;
}
