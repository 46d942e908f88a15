#pragma once
// The input method as keyboard text input sees it: allowed while a
// key-input field exists, and a composition string with its cursor, which
// the window procedure hands over from the composition messages. Committed
// text comes as typed characters.

#include "runtime/host/window/WindowMessages.h"

// Switches the input method for the window on or off; off drops the
// composition.
void SetImeEnabled(bool on);
// The window procedure's handler of the composition messages. 0.
int HandleImeMessage(const HostMessage& message);

// How many characters the first bytes of text make (a character cut by the
// count counts); the count stops at the text's NUL.
int BytesToChars(const char* text, int bytes);
