#include "engine/events/InterpreterHooks.h"

#include "engine/events/EventInterpreter.h"
#include "engine/events/RootInterpreter.h"
#include "runtime/Movan.h"

namespace {

int RuntimeTextState(int handle) { return GetTextInputState(handle); }
bool RuntimeText(int handle, char* buffer, int32_t) { return GetTextInputText(buffer, handle) == 0; }
void RuntimeDelete(int handle) { DeleteTextInput(handle); }
void PollKeys(EventInterpreter& interpreter) { interpreter.PollKeyInput(); }

constexpr InterpreterHooks kDefaults = {RuntimeTextState, RuntimeText, RuntimeDelete, PickNextEvent, PollKeys};

InterpreterHooks gHooks = kDefaults;

template <typename F>
F Or(F given, F fallback) {
  return given ? given : fallback;
}

}  // namespace

const InterpreterHooks& CurrentInterpreterHooks() { return gHooks; }

void SetInterpreterHooks(const InterpreterHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  gHooks = {Or(hooks->textInputState, kDefaults.textInputState), Or(hooks->textInputText, kDefaults.textInputText),
            Or(hooks->deleteTextInput, kDefaults.deleteTextInput), Or(hooks->pickNextEvent, kDefaults.pickNextEvent),
            Or(hooks->pollKeyInput, kDefaults.pollKeyInput)};
}
