#pragma once
// The message pump: hands the window's messages to the window procedure and
// does the layer's per-pass work on the main thread. While the window is
// inactive it does not return until the window is active again, unless the
// game runs in the background or the window is closing.

// 0 while running, -1 once the end is requested.
int PumpMessagesUnlocked();
// The same under the layer's API lock.
int PumpMessages();
// Returns once the window is active (at once while it paints or when the
// game runs in the background); meanwhile pumps messages.
void WaitWhileInactive();
// Pumps until ms have passed or the end is requested. 0.
int WaitMilliseconds(int ms);
