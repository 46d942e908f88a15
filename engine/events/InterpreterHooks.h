#pragma once
// What the event interpreter reaches where tests put fakes in its place: the
// text-entry fields of the runtime, the root runner's choice of its next
// event and the key-input poll. The defaults are the live ones: the runtime's
// text fields, PickNextEvent, the interpreter's own key poll.

#include <cstdint>
#include <string>

class EventInterpreter;

struct InterpreterHooks {
  // 2 cancelled, 1 ended, 0 editing, -1 invalid handle.
  int (*textInputState)(int handle);
  // The field's text into buffer (capacity bytes, NUL included); false when
  // the field cannot give it.
  bool (*textInputText)(int handle, char* buffer, int32_t capacity);
  void (*deleteTextInput)(int handle);
  // The root runner's interpreter attaches the next event to run, if any.
  void (*pickNextEvent)(EventInterpreter& root);
  // One poll of a running key-input command.
  void (*pollKeyInput)(EventInterpreter& interpreter);
};

const InterpreterHooks& CurrentInterpreterHooks();
// Null restores the defaults; entries left null take the default.
void SetInterpreterHooks(const InterpreterHooks* hooks);
