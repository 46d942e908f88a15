#pragma once
// The mouse cursor of the window system: visibility and position in screen
// coordinates. The position is the one the last fetched mouse event (or the
// last HostSetCursorPos) left, as the window system's own mouse state is.

void HostShowCursor(bool show);
void HostGetCursorPos(int* x, int* y);
void HostSetCursorPos(int x, int y);

// Called as mouse messages are fetched: the cursor stands at (x, y) of the
// window's client area.
void HostNoteCursorInClient(int x, int y);
