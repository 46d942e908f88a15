#include "engine/saves/LiveSaveCommands.h"

#include "engine/events/SaveCommandHooks.h"
#include "engine/saves/SaveSlotCache.h"

namespace {

bool Save(int32_t slot, const std::string& prefix) { return SaveSlots.SaveGame(slot, true, prefix); }
bool Load(int32_t slot, const std::string& prefix) { return SaveSlots.LoadSaveSlot(slot, true, false, prefix); }
bool Replay(int32_t slot, const std::string& prefix) { return SaveSlots.LoadSaveSlot(slot, false, true, prefix); }
int32_t ReadInt(int32_t slot, int64_t id, const std::string& prefix) {
  return SaveSlots.ReadSlotIntVariable(slot, id, prefix);
}
std::string ReadString(int32_t slot, int64_t id, const std::string& prefix) {
  return SaveSlots.ReadSlotStringVariable(slot, id, prefix);
}
void WriteInt(int32_t slot, int64_t id, int32_t value, const std::string& prefix) {
  SaveSlots.WriteSlotIntVariable(slot, id, value, prefix);
}
void WriteString(int32_t slot, int64_t id, const std::string& text, const std::string& prefix) {
  SaveSlots.WriteSlotStringVariable(slot, id, text, prefix);
}

constexpr SaveCommandHooks kLive = {Save, Load, Replay, ReadInt, ReadString, WriteInt, WriteString};

}  // namespace

void InstallSaveCommands() { SetSaveCommandHooks(&kLive); }
