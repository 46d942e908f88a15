#pragma once
// Key-input fields: line editing of typed text (CP932) for the game's text
// entry. Characters typed into the key ring go to the one active field at
// every pass of the message pump; Enter ends a field, Escape cancels it
// when that is allowed.

#include "runtime/Movan.h"

// Start-up step: empty ring, no fields, no active field.
int TextInputInit();
// At the window's teardown: every field is deleted.
int TextInputEnd();
// The field colours of a new run (white text, yellow composition, ...),
// packed for the screen in force.
void SetDefaultTextInputColors();

// One message-pump pass: the ring's characters go to the active field.
void ProcessTextInput();
