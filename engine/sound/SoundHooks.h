#pragma once
// The sound manager's play as the floors above reach it where their tests
// put a recording fake in its place (the choice window's sound effects). By
// default, and after SetSoundHooks(nullptr), it is the sound manager itself.

#include <cstdint>

struct SoundHooks {
  // kind 0 music, 1 background sound, 2 sound effect; entry -1 stops.
  void (*play)(int32_t kind, int32_t entry, int32_t fade, int32_t position);
};

void SoundPlay(int32_t kind, int32_t entry, int32_t fade, int32_t position);

// Null restores the manager; a table with a null member gets the manager's
// function for it.
void SetSoundHooks(const SoundHooks* hooks);
