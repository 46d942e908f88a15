// Key-input fields under any keystrokes: typed bytes (lone lead bytes,
// trail bytes that look like lead bytes) and editing keys, as the window
// procedure hands them over, against any maximum and field kind. The text
// must stay inside its buffer, terminated, with the cursor inside it.

#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/platform/input/KeyRing.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/window/WindowProcedure.h"

namespace {

void Check(int handle) {
  const TextInputEntry* e = gPlatform.textInput.entries.Find(handle);
  if (!e || e->length < 0 || e->length > e->maxLength || e->cursor < 0 || e->cursor > e->length ||
      e->text[e->length] != '\0') {
    __builtin_trap();
  }
}

}  // namespace

// Input: maximum length, field kind bits, length of a starting text, the
// starting text, then keystrokes: bytes 0xF0-0xF5 are the editing keys
// (Delete, Left, Right, Up, Down, another key), 0xEF applies what was typed,
// every other byte is a typed character.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  gPlatform.textInput = TextInputState();
  const int maxLength = data[0] % 64 - 2;
  const int handle = CreateTextInput(maxLength, data[1] & 1, data[1] & 2, data[1] & 4);
  if (handle == -1) __builtin_trap();
  ActivateTextInput(handle);
  size_t at = 3;
  const size_t textLength = data[2] < size - at ? data[2] : size - at;
  const std::string start(reinterpret_cast<const char*>(data + at), textLength);
  SetTextInputText(start.c_str(), handle);
  at += textLength;
  Check(handle);

  for (; at < size; ++at) {
    const uint8_t b = data[at];
    if (b == 0xEF) {
      ProcessTextInput();
      Check(handle);
      if (GetTextInputState(handle) != 0) ActivateTextInput(handle);
      continue;
    }
    const int code = b >= 0xF0 && b <= 0xF5 ? KeyRingCodeOfKey(b - 0xF0 + 1) : KeyRingCodeOfChar(b);
    if (code >= 0) KeyRingPush(code);
  }
  ProcessTextInput();
  Check(handle);
  DeleteTextInput(handle);
  return 0;
}
