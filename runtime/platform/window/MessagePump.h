#pragma once
// The message pump: hands the window's messages to the window procedure and
// does the layer's per-pass work on the main thread. While the window is
// inactive it does not return until the window is active again, unless the
// game runs in the background or the window is closing.

#include "runtime/Movan.h"

// PumpMessages without the layer's API lock.
int PumpMessagesUnlocked();
// Returns once the window is active (at once while it paints or when the
// game runs in the background); meanwhile pumps messages.
void WaitWhileInactive();
