#include "runtime/platform/input/InputMethod.h"

#include "runtime/ShiftJis.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/base/StringHelpers.h"

void SetImeEnabled(bool on) {
  TextInputState& t = gPlatform.textInput;
  if ((t.imeEnabled != 0) == on) return;
  t.imeEnabled = on ? 1 : 0;
  HostEnableIme(on);
  if (!on) {
    t.composition[0] = '\0';
    t.clauseCount = 0;
    t.candidates.count = 0;
  }
}

int HandleImeMessage(const HostMessage& message) {
  TextInputState& t = gPlatform.textInput;
  switch (message.id) {
    case HostMessageId::ImeStartComposition:
      t.compositionCursor = 0;
      break;
    case HostMessageId::ImeEndComposition:
      t.composition[0] = '\0';
      t.clauseCount = 0;
      break;
    case HostMessageId::ImeComposition:
      StrCopy(t.composition, sizeof t.composition, message.text.c_str());
      t.compositionCursor = BytesToChars(t.composition, message.p1);
      break;
    default:
      break;
  }
  return 0;
}

int BytesToChars(const char* text, int bytes) {
  int chars = 0;
  for (int i = 0; i < bytes && text[i] != '\0'; i += ShiftJisCharLength(text + i)) ++chars;
  return chars;
}
