#pragma once
// The layer's one top-level window: its creation and teardown, its style and
// size in window and full-screen mode, and the window settings the engine
// gives.

#include "runtime/Movan.h"
#include "runtime/platform/base/IntRect.h"

// Start-up step: the window state starts again, the class name is chosen,
// memory, desktop and time source are looked at, a second running copy is
// refused, and the window is made and shown. 0 or -1 (the end is then
// requested).
int CreateMainWindow();
// End step: closes the window, waits until it is gone and lets go of the
// window system. 0.
int DestroyMainWindow();

// Sizes the window so that its client area is the screen size times the
// scale (window mode) or the screen size. 0.
int FitWindowToScreen();
// Style, size and position for the current mode. 0.
int ApplyWindowStyle();
// Stores the flag and logs it. 0.
int SetWindowModeFlag(int flag);

// The client rectangle in screen coordinates. 0.
int GetClientScreenRect(IntRect* rect);
