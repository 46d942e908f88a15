#pragma once
// The runner of a parallel common event (start kind 2 while its condition
// holds, 3 always) on the current map: one interpreter while the event may
// run, none while it may not. The runner knows its common event by number,
// so changes to the global list take effect at once.

#include <cstdint>
#include <vector>

#include "engine/data/CommonEvent.h"
#include "engine/events/EventInterpreter.h"

// The common event's start condition: its variable compared with its value.
bool CheckCommonEventStart(const CommonEvent& event);

class CommonEventRunner {
 public:
  int32_t number = 0;
  std::vector<EventInterpreter> interpreters;  // at most one

  explicit CommonEventRunner(int32_t commonEventNumber);

  int32_t TriggerKind() const;
  bool CheckCondition() const;
  // Starts (from line 0 at the next frame) or stops the event.
  void Refresh();
  void RunFrame();
};

// The runners of the current map, by common event number: the map scene
// reaches them through its runner hooks.
void ClearCommonEventRunners();
// Creates the runner on first use, then refreshes it.
void RefreshCommonEventRunner(int32_t number);
void RunCommonEventRunner(int32_t number);
// The runner of that number, or null.
CommonEventRunner* FindCommonEventRunner(int32_t number);
