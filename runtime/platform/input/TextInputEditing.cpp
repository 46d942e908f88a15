// Applying typed characters to the active key-input field.

#include <cstring>

#include "runtime/ShiftJis.h"
#include "runtime/platform/input/KeyRing.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/input/TextInput.h"

namespace {

// Size of the character at pos (below the length): a lead byte with a byte
// after it inside the text is two bytes, anything else one.
int32_t CharSizeAt(const TextInputEntry& e, int32_t pos) {
  return ShiftJisCharLengthIn(e.text + pos, static_cast<size_t>(e.length - pos));
}

// Where the character before pos starts. Trail bytes can look like lead
// bytes, so the walk starts from the beginning of the text.
int32_t CharStartBefore(const TextInputEntry& e, int32_t pos) {
  int32_t start = 0;
  for (int32_t i = 0; i < pos; i += CharSizeAt(e, i)) start = i;
  return start;
}

void RemoveBytes(TextInputEntry& e, int32_t from, int32_t to) {
  std::memmove(e.text + from, e.text + to, static_cast<size_t>(e.length - to) + 1);
  e.length -= to - from;
}

void Backspace(TextInputEntry& e) {
  if (e.cursor <= 0) return;
  const int32_t start = CharStartBefore(e, e.cursor);
  RemoveBytes(e, start, e.cursor);
  e.cursor = start;
}

void Delete(TextInputEntry& e) {
  if (e.cursor < e.length) RemoveBytes(e, e.cursor, e.cursor + CharSizeAt(e, e.cursor));
}

void RemoveLastChar(TextInputEntry& e) {
  const int32_t start = CharStartBefore(e, e.length);
  RemoveBytes(e, start, e.length);
  if (e.cursor > start) e.cursor = start;
}

bool Accepts(const TextInputEntry& e, const uint8_t* c, int size) {
  if (e.digitsOnly && !(size == 1 && ((c[0] >= '0' && c[0] <= '9') || (c[0] == '-' && e.cursor == 0)))) {
    return false;
  }
  if (e.singleByteOnly && size == 2) return false;
  // A character larger than the whole field could never fit.
  return size <= e.maxLength;
}

void Insert(TextInputEntry& e, const uint8_t* c, int size) {
  if (!Accepts(e, c, size)) return;
  while (e.length + size > e.maxLength) RemoveLastChar(e);
  std::memmove(e.text + e.cursor + size, e.text + e.cursor, static_cast<size_t>(e.length - e.cursor) + 1);
  std::memcpy(e.text + e.cursor, c, static_cast<size_t>(size));
  e.cursor += size;
  e.length += size;
}

void Apply(TextInputEntry& e, const uint8_t* c, int size) {
  if (size == 1) {
    switch (c[0]) {
      case kKeyRingBackspace:
        Backspace(e);
        return;
      case kKeyRingDelete:
        Delete(e);
        return;
      case kKeyRingRight:
        if (e.cursor < e.length) e.cursor += CharSizeAt(e, e.cursor);
        return;
      case kKeyRingLeft:
        if (e.cursor > 0) e.cursor = CharStartBefore(e, e.cursor);
        return;
      case kKeyRingTab:
      case kKeyRingUp:
      case kKeyRingDown:
        return;
      case kKeyRingEnter:
        e.ended = 1;
        return;
      case kKeyRingEscape:
        if (e.cancelAllowed) {
          e.cancelled = 1;
          e.ended = 1;
        }
        return;
      default:
        break;
    }
  }
  Insert(e, c, size);
}

}  // namespace

void ProcessTextInput() {
  TextInputEntry* entry = gPlatform.textInput.entries.Find(gPlatform.textInput.activeHandle);
  if (!entry || entry->ended) return;
  uint8_t c[2];
  while (!entry->ended) {
    const int size = TakeKeyRingChar(c, true);
    if (size == 0) break;
    Apply(*entry, c, size);
  }
}
