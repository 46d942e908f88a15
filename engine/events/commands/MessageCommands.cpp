// Messages and choices: the commands hand their texts to the windows through
// the system state and wait until a window hands control back.

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/MapHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"

bool EventInterpreter::TakeHandBack() {
  SystemState& hub = SystemStateHub;
  const uint64_t self = serial;
  if (self == 0) return false;
  bool released = false;
  if (hub.choiceResultWaiter == self) {
    // The level is an indent byte: always one of the branch results.
    branchResults[static_cast<size_t>(hub.choiceResultLevel) % branchResults.size()] = hub.choiceResultValue;
    hub.choiceResultWaiter = 0;
    released = true;
  }
  if (hub.releasedMessageWaiter == self) {
    hub.releasedMessageWaiter = 0;
    released = true;
  }
  if (released) waitingForMessage = false;
  return released;
}

void EventInterpreter::DropStaleHandBacks() {
  // A hand-back left over from an earlier wait must not end the new one.
  SystemState& hub = SystemStateHub;
  if (hub.releasedMessageWaiter == serial) hub.releasedMessageWaiter = 0;
  if (hub.choiceResultWaiter == serial) hub.choiceResultWaiter = 0;
}

bool EventInterpreter::ShowMessage() {
  SystemState& hub = SystemStateHub;
  if (!hub.pendingMessageText.empty() || !hub.pendingChoiceText.empty()) return false;
  const EventCommand& command = Current();
  const std::string argument = command.strings.empty() ? std::string() : command.strings[0];
  const std::string text = ExpandMessageText(argument, mapEventId, commonEventNumber, CurrentMapHooks().currentMapId(),
                                             false, true, RootRunner.messagePrefix, RootRunner.messageSuffix, true);
  DropStaleHandBacks();
  waitingForMessage = true;
  hub.SetMessageWaiter(1, serial);
  hub.pendingMessageText = text.empty() ? " " : text;
  hub.lastMessageText = text;
  hub.autoCloseMessage = 0;

  EventCommandList& list = *CommandList();
  const size_t next = static_cast<size_t>(line) + 1;
  if (next < list.size() && !list[next].arguments.empty() && list[next].arguments[0] == 102) {
    ++line;
    hub.choiceWithMessage = 1;
    hub.closeMessageWithChoice = 0;
    if (!SetUpChoices(list[next])) {
      hub.choiceWithMessage = 0;
      // Choices that all expand empty were taken at once; the message still
      // shows, so the event still waits for it.
      waitingForMessage = true;
    }
  }
  return true;
}

bool EventInterpreter::ShowChoices() {
  SystemState& hub = SystemStateHub;
  if (!hub.pendingMessageText.empty() || !hub.pendingChoiceText.empty()) return false;
  hub.closeChoiceRequest = 1;
  hub.choiceWithMessage = 0;
  hub.closeMessageWithChoice = 0;
  SetUpChoices(Current());
  return true;
}

bool EventInterpreter::SetUpChoices(const EventCommand& command) {
  SystemState& hub = SystemStateHub;
  const int32_t word = ArgumentOf(command, 1);
  hub.choiceCount = word & 15;
  hub.closeChoiceRequest = 0;
  for (std::string& text : hub.lastChoiceTexts) text.clear();
  const int32_t map = CurrentMapHooks().currentMapId();
  bool anyText = false;
  for (size_t k = 0; k < command.strings.size(); ++k) {
    const std::string text = ExpandMessageText(command.strings[k], mapEventId, commonEventNumber, map, false, false, "",
                                               "", true);
    hub.pendingChoiceText += text;
    hub.pendingChoiceText += '\n';
    if (k < hub.lastChoiceTexts.size()) hub.lastChoiceTexts[k] = text;
    anyText = anyText || !text.empty();
  }
  if (!waitingForMessage) DropStaleHandBacks();  // a message just set up keeps its own
  waitingForMessage = true;
  hub.cancelChoice = ((word >> 4) & 15) - 2;
  hub.choiceExtraFlags = (word >> 8) & 15;
  const int32_t level = CommandList()->Indent(static_cast<size_t>(line));
  hub.SetChoiceWaiter(level, serial);
  if (anyText) return true;
  hub.closeChoiceRequest = 1;
  hub.autoCloseMessage = 0;
  hub.pendingChoiceText.clear();
  hub.DeliverChoiceResult((word >> 4) & 15);
  TakeHandBack();  // released at once
  return false;
}

bool EventInterpreter::CloseChoices() {
  SystemStateHub.closeChoiceRequest = 1;
  return true;
}

bool EventInterpreter::CloseMessage() {
  SystemStateHub.autoCloseMessage = 1;
  return true;
}
