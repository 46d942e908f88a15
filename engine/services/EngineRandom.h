#pragma once
// The game's own random sequence. It must be reproducible for replays, so it
// does not use the C library's generator.

#include <cstdint>

enum EngineRandomMode : int {
  kRandomStep = 0,   // advance one step and return the new state
  kRandomRead = 1,   // any mode but 0 and 2 returns the state unchanged
  kRandomSet = 2,    // set the state to value and return it
};

// The first call of the run seeds the state from the millisecond tick, in
// whatever mode it is made.
uint32_t EngineRandom(int mode, uint32_t value = 0);
