// The save and load commands (220) and the variables stored in save files
// (221 read, 222 write). Argument 2 names the save: a number or an integer
// variable gives a slot of "Save\SaveData", a string variable a file name
// in the game folder.

#include <string>

#include "engine/events/EventInterpreter.h"
#include "engine/events/SaveCommandHooks.h"
#include "engine/events/SystemState.h"

namespace {

const std::string kSlotPrefix = "Save\\SaveData";
const std::string kNotAString = "<<ERROR>>";

int32_t ArgumentOf(const EventCommand& command, size_t i) {
  return i < command.arguments.size() ? command.arguments[i] : 0;
}

struct SaveFile {
  int32_t slot = 0;
  std::string prefix;
};

}  // namespace

// Reads the save named by argument 2.
static SaveFile NameSave(EventInterpreter& interpreter, const EventCommand& command) {
  const int32_t argument = ArgumentOf(command, 2);
  const std::string text = interpreter.GetArgString(argument);
  if (text == kNotAString) return {interpreter.GetArgValue(argument), kSlotPrefix};
  return {0, text};
}

bool EventInterpreter::SaveOrLoadGame() {
  const EventCommand& command = Current();
  const SaveFile save = NameSave(*this, command);
  const SaveCommandHooks& saves = CurrentSaveCommandHooks();
  switch (ArgumentOf(command, 1)) {
    case 0:
      saves.saveGame(save.slot, save.prefix);
      break;
    case 1:
      // The loaded game fades in from the screen as it is; every
      // interpreter stops, and the frame enters the save once they have.
      if (saves.loadGame(save.slot, save.prefix)) {
        RunTransition();
        SystemStateHub.stateLoaded = 1;
      }
      break;
    case 2:
      if (saves.playReplay(save.slot, save.prefix)) SystemStateHub.stateLoaded = 1;
      break;
    default:
      break;
  }
  return true;
}

// The ID inside the save: argument 3, or its value when bit 0 of argument 4
// says so.
static int64_t SlotVariableId(EventInterpreter& interpreter, const EventCommand& command) {
  const int32_t id = ArgumentOf(command, 3);
  const bool byValue = command.arguments.size() >= 5 && (ArgumentOf(command, 4) & 1);
  return byValue ? interpreter.GetArgValue(id) : id;
}

bool EventInterpreter::ReadSaveValue() {
  const EventCommand& command = Current();
  const SaveFile save = NameSave(*this, command);
  const int64_t id = SlotVariableId(*this, command);
  const int32_t target = ArgumentOf(command, 1);
  const SaveCommandHooks& saves = CurrentSaveCommandHooks();
  if (GetArgString(target) == kNotAString) {
    SetVariableValue(target, saves.readSlotInt(save.slot, id, save.prefix));
  } else {
    SetVariableString(target, saves.readSlotString(save.slot, id, save.prefix));
  }
  return true;
}

bool EventInterpreter::WriteSaveValue() {
  const EventCommand& command = Current();
  const SaveFile save = NameSave(*this, command);
  const int64_t id = SlotVariableId(*this, command);
  const int32_t source = ArgumentOf(command, 1);
  const SaveCommandHooks& saves = CurrentSaveCommandHooks();
  const std::string text = GetArgString(source);
  if (text == kNotAString) {
    saves.writeSlotInt(save.slot, id, GetArgValue(source), save.prefix);
  } else {
    saves.writeSlotString(save.slot, id, text, save.prefix);
  }
  return true;
}
