#pragma once
// The colours of "\c[n]": one packed colour per record of the system
// database's text colour type, made by the first layout of the run.

#include <cstdint>

// Records the colour code may name now: the index is capped at the last.
int32_t TextColorCount();
// The colour of an index. A table without entries draws white, and an
// index past its end (ruby's fixed colour in a short table) the last entry.
uint32_t TextColor(int32_t index);
