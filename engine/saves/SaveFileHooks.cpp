#include "engine/saves/SaveFileHooks.h"

#include <ctime>

#include "runtime/Movan.h"

namespace {

int64_t LiveNow() { return static_cast<int64_t>(std::time(nullptr)); }
int64_t LiveFreeSpace() { return GetGameFolderFreeSpace(); }

constexpr SaveFileHooks kDefaults = {LiveNow, LiveFreeSpace};
SaveFileHooks g_hooks = kDefaults;

template <typename F>
void Fill(F& entry, F fallback) {
  if (!entry) entry = fallback;
}

}  // namespace

const SaveFileHooks& CurrentSaveFileHooks() { return g_hooks; }

void SetSaveFileHooks(const SaveFileHooks* hooks) {
  g_hooks = hooks ? *hooks : kDefaults;
  Fill(g_hooks.now, kDefaults.now);
  Fill(g_hooks.freeSpace, kDefaults.freeSpace);
}
