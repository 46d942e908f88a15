#pragma once
// System message boxes (no owner window, OK button). Text and title are
// CP932. Shown through SDL when a display exists, else written to stderr.
// Tests install a hook so that nothing ever waits for a click.

using HostMessageBoxHook = void (*)(const char* text, const char* title);

void HostMessageBox(const char* text, const char* title);

// Test seam: null puts the real message box back.
void HostSetMessageBoxHook(HostMessageBoxHook hook);
