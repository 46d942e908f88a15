#pragma once
// The mouse as the engine sees it: the cursor's visibility, its position in
// screen pixels of the game, and the wheel.

// 1 shows the cursor, anything else hides it. 0.
int ShowMouseCursor(int flag);
// The value last given to ShowMouseCursor.
int IsMouseCursorShown();
// In window mode relative to the client area and divided by the window
// scale, truncated. Either pointer may be null. 0.
int GetMousePosition(int* x, int* y);
// Clamped to the screen, both ends included. 0.
int SetMousePosition(int x, int y);
// Wheel notches since the last call; the count starts again at 0.
int TakeMouseWheel();
