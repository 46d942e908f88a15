#pragma once
// What writing a save asks of the machine, where tests put answers of their
// own: the calendar time that seeds the scrambling and the free space on
// the game folder's disk. The defaults are the live ones.

#include <cstdint>

struct SaveFileHooks {
  // Seconds since the epoch.
  int64_t (*now)();
  // Bytes that may still be written; negative when unknown (no test).
  int64_t (*freeSpace)();
};

const SaveFileHooks& CurrentSaveFileHooks();
// Null restores the defaults; entries left null take the default.
void SetSaveFileHooks(const SaveFileHooks* hooks);
