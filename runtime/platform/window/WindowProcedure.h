#pragma once
// The main window's procedure: what the layer does with each window message.

#include "runtime/host/window/WindowMessages.h"

// Returns the message's result (0 for every message handled so far).
int MainWindowProc(const HostMessage& message);

// The window's client area has moved to (left, top) in screen coordinates.
void OnWindowMoved(int left, int top);

// The code a typed character puts into the key character ring: a line feed
// (Ctrl+Enter) counts as Enter; other control codes only when they are
// Backspace, Tab, Enter, 0x10 or Escape. -1 for a character that is dropped.
int KeyRingCodeOfChar(int code);
// The code an editing key puts into the ring, -1 for other keys.
int KeyRingCodeOfKey(int key);
