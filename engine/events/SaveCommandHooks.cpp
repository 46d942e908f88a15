#include "engine/events/SaveCommandHooks.h"

namespace {

bool NoSave(int32_t, const std::string&) { return false; }
int32_t NoInt(int32_t, int64_t, const std::string&) { return 0; }
std::string NoString(int32_t, int64_t, const std::string&) { return ""; }
void NoIntWrite(int32_t, int64_t, int32_t, const std::string&) {}
void NoStringWrite(int32_t, int64_t, const std::string&, const std::string&) {}

constexpr SaveCommandHooks kDefaults = {NoSave, NoSave, NoSave, NoInt, NoString, NoIntWrite, NoStringWrite};
SaveCommandHooks g_hooks = kDefaults;

template <typename F>
void Fill(F& entry, F fallback) {
  if (!entry) entry = fallback;
}

}  // namespace

const SaveCommandHooks& CurrentSaveCommandHooks() { return g_hooks; }

void SetSaveCommandHooks(const SaveCommandHooks* hooks) {
  g_hooks = hooks ? *hooks : kDefaults;
  Fill(g_hooks.saveGame, kDefaults.saveGame);
  Fill(g_hooks.loadGame, kDefaults.loadGame);
  Fill(g_hooks.playReplay, kDefaults.playReplay);
  Fill(g_hooks.readSlotInt, kDefaults.readSlotInt);
  Fill(g_hooks.readSlotString, kDefaults.readSlotString);
  Fill(g_hooks.writeSlotInt, kDefaults.writeSlotInt);
  Fill(g_hooks.writeSlotString, kDefaults.writeSlotString);
}
