#pragma once
// What the save and load commands reach on the saves floor above: the
// save-slot cache's save, load and replay, and the variables of other
// slots. The saves floor installs the live table at start-up; until then,
// and in tests that replace it, nothing is saved or loaded (false, 0, "").

#include <cstdint>
#include <string>

struct SaveCommandHooks {
  bool (*saveGame)(int32_t slot, const std::string& prefix);
  // Checks the save and queues it to enter the game; true when it will.
  bool (*loadGame)(int32_t slot, const std::string& prefix);
  // The save's replay log plays back from the title.
  bool (*playReplay)(int32_t slot, const std::string& prefix);
  int32_t (*readSlotInt)(int32_t slot, int64_t id, const std::string& prefix);
  std::string (*readSlotString)(int32_t slot, int64_t id, const std::string& prefix);
  void (*writeSlotInt)(int32_t slot, int64_t id, int32_t value, const std::string& prefix);
  void (*writeSlotString)(int32_t slot, int64_t id, const std::string& text, const std::string& prefix);
};

const SaveCommandHooks& CurrentSaveCommandHooks();
// Null restores the defaults; entries left null take the default.
void SetSaveCommandHooks(const SaveCommandHooks* hooks);
