#pragma once
// Key-input fields: line editing of typed text (CP932) for the game's text
// entry. Characters typed into the key ring go to the one active field at
// every pass of the message pump; Enter ends a field, Escape cancels it
// when that is allowed.

// Start-up step: empty ring, no fields, no active field.
int TextInputInit();
// At the window's teardown: every field is deleted.
int TextInputEnd();

// A new field handle, or -1 when all 256 are in use or its text cannot be
// allocated. A maximum below 0 counts as 0. Switches the input method on and
// drops whatever was typed before.
int CreateTextInput(int maxLength, int cancelAllowed, int singleByteOnly, int digitsOnly);
// 0 or -1. Switches the input method off when no field is left.
int DeleteTextInput(int handle);
// The field receives the typed characters from now on; its ended and
// cancelled marks are cleared. 0 or -1.
int ActivateTextInput(int handle);
// 2 cancelled, 1 ended, 0 editing, -1 invalid handle.
int GetTextInputState(int handle);
// -1 for text longer than the maximum (the field is unchanged); else the
// field holds the text with the cursor at its end. 0.
int SetTextInputText(const char* text, int handle);
// The text with its NUL into buffer, which holds the field's maximum + 1
// bytes. 0 or -1.
int GetTextInputText(char* buffer, int handle);

// One message-pump pass: the ring's characters go to the active field.
void ProcessTextInput();
