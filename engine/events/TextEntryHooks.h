#pragma once
// What the string operation's keyboard text entry and its field drawing need
// of the runtime: the text-input fields, the default font size and the
// field's colours and drawing. Defaults: the runtime's fields, font size and
// colour packing; colours and drawing do nothing until the presentation
// installs them.

#include <cstdint>

struct TextEntryHooks {
  int (*createTextInput)(int maxLength, int cancelAllowed, int singleByteOnly, int digitsOnly);
  int (*activateTextInput)(int handle);
  int (*setTextInputText)(const char* text, int handle);
  int (*setDefaultFontSize)(int size);
  uint32_t (*packColor)(int red, int green, int blue);
  // Twelve colours in the runtime's order; -1 keeps a colour.
  void (*setTextInputColors)(const int64_t colors[12]);
  void (*drawTextInput)(int x, int y, int handle);
};

const TextEntryHooks& CurrentTextEntryHooks();
// Null restores the defaults; entries left null take the default.
void SetTextEntryHooks(const TextEntryHooks* hooks);
