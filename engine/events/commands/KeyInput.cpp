// Command 123: stores which key the player presses, read once or waited for.

#include <algorithm>

#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/services/InputState.h"

namespace {

int32_t Argument(const EventCommand& command, size_t index) {
  return index < command.arguments.size() ? command.arguments[index] : 0;
}

int32_t DeviceOf(int32_t flags) { return (flags >> 8) & 15; }

}  // namespace

bool EventInterpreter::DoKeyInput() {
  const EventCommand& command = Current();
  const int32_t flags = Argument(command, 2);
  keyInputMemory = 0;
  if ((flags & 0x1000) && command.arguments.size() >= 4) keyInputMemory = GetArgValue(command.arguments[3]);
  if (flags & 0x80) {
    waitingForKeyInput = true;
    // A key held now is remembered, so it does not count until pressed again.
    if (DeviceOf(flags) == 1) KeyboardKeyQuery(true, false, keyboardLastKey, -1);
    if (DeviceOf(flags) == 2) PadButtonQuery(true, false, padLastKey, -1);
    return true;
  }
  PollKeyInput();
  return true;
}

void EventInterpreter::PollKeyInput() {
  if (SystemStateHub.stateLoaded || RootRunner.textEntryResult == 1) return;
  const bool wait = waitingForKeyInput;
  EventCommandList* list = CommandList();
  const int64_t at = int64_t{line} - (wait ? 1 : 0);
  if (!list || at < 0 || at >= static_cast<int64_t>(list->size())) {
    waitingForKeyInput = false;
    return;
  }
  const EventCommand& command = (*list)[static_cast<size_t>(at)];
  const int32_t flags = Argument(command, 2);
  const int32_t target = Argument(command, 1);

  int32_t r = 0;
  switch (DeviceOf(flags)) {
    case 1: r = KeyboardKeyQuery(false, wait, keyboardLastKey, keyInputMemory); break;
    case 2: r = PadButtonQuery(false, wait, padLastKey, keyInputMemory); break;
    case 0: {
      // Held without waiting, a new press while waiting; the mouse buttons
      // count as decide (left) and cancel (right) when the game says so.
      auto button = [&](int32_t b, bool mouseCounts, size_t mouse) {
        if (!wait) return Input.buttonsHeld[static_cast<size_t>(b)] || (mouseCounts && Input.mouseHeld[mouse]);
        return Input.buttonsPressed[static_cast<size_t>(b)] || (mouseCounts && Input.mousePressed[mouse]);
      };
      auto key = [&](Direction d) -> int32_t {
        const size_t k = static_cast<size_t>(d);
        if (!wait) return Input.directionKeys[k];
        return Input.directionPressed[k] || (Input.directionKeys[k] && Input.direction4Repeat != 0);
      };
      if (r == 0 && (flags & 0x10)) r = 10 * button(kButtonDecide, RootRunner.keyInputValues[0] == 1, 0);
      if (r == 0 && (flags & 0x20)) r = 11 * button(kButtonCancel, RootRunner.keyInputValues[1] == 1, 1);
      if (r == 0 && (flags & 0x40)) r = 12 * button(kButtonSub, false, 0);
      if (r != 0) break;
      switch (flags & 15) {
        case 1: r = wait ? Input.direction4Repeat : Input.direction4; break;
        case 2: r = wait ? Input.direction8Repeat : Input.direction8; break;
        case 3: r = 8 * key(kUp); break;
        case 4: r = 2 * key(kDown); break;
        case 5: r = 4 * key(kLeft); break;
        case 6: r = 6 * key(kRight); break;
        case 7: r = std::max(8 * key(kUp), 2 * key(kDown)); break;
        case 8: r = std::max(4 * key(kLeft), 6 * key(kRight)); break;
        default: break;
      }
      break;
    }
    default: break;
  }
  if (wait) {
    if (r == 0) return;
    waitingForKeyInput = false;
  }
  SetVariableValue(target, r);
}
