#include <cstring>

#include "runtime/platform/input/InputMethod.h"
#include "runtime/platform/input/KeyRing.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

TextInputEntry* Find(int handle) { return gPlatform.textInput.entries.Find(handle); }

void FreeField(int handle, TextInputEntry* entry) {
  TrackedFree(entry->text);
  entry->text = nullptr;
  gPlatform.textInput.entries.Delete(handle);
}

bool AnyField() {
  bool any = false;
  gPlatform.textInput.entries.ForEach([&](int32_t, TextInputEntry*) { any = true; });
  return any;
}

}  // namespace

int TextInputInit() {
  LogWrite("文字コードバッファの初期化を行います... ");
  gPlatform.textInput = TextInputState();
  gPlatform.textInput.activeHandle = -1;
  SetDefaultTextInputColors();
  LogWrite("完了しました\n");
  return 0;
}

int TextInputEnd() {
  TextInputState& t = gPlatform.textInput;
  t.entries.ForEach([](int32_t handle, TextInputEntry* entry) { FreeField(handle, entry); });
  t.activeHandle = -1;
  return 0;
}

int CreateTextInput(int maxLength, int cancelAllowed, int singleByteOnly, int digitsOnly) {
  TextInputState& t = gPlatform.textInput;
  if (maxLength < 0) maxLength = 0;
  TextInputEntry* entry = nullptr;
  const int handle = t.entries.Create(&entry);
  if (handle == -1) return -1;
  entry->text = static_cast<char*>(TrackedAllocZero(static_cast<size_t>(maxLength) + 1));
  if (!entry->text) {
    t.entries.Delete(handle);
    return -1;
  }
  entry->maxLength = maxLength;
  entry->cancelAllowed = cancelAllowed;
  entry->singleByteOnly = singleByteOnly;
  entry->digitsOnly = digitsOnly;
  SetImeEnabled(true);
  FlushKeyRing();
  return handle;
}

int DeleteTextInput(int handle) {
  TextInputState& t = gPlatform.textInput;
  TextInputEntry* entry = Find(handle);
  if (!entry) return -1;
  FreeField(handle, entry);
  if (t.activeHandle == handle) t.activeHandle = -1;
  if (!AnyField()) SetImeEnabled(false);
  return 0;
}

int ActivateTextInput(int handle) {
  TextInputEntry* entry = Find(handle);
  if (!entry) return -1;
  gPlatform.textInput.activeHandle = handle;
  entry->ended = 0;
  entry->cancelled = 0;
  return 0;
}

int GetTextInputState(int handle) {
  const TextInputEntry* entry = Find(handle);
  if (!entry) return -1;
  if (entry->cancelled) return 2;
  return entry->ended ? 1 : 0;
}

int SetTextInputText(const char* text, int handle) {
  TextInputEntry* entry = Find(handle);
  if (!entry) return -1;
  const size_t length = std::strlen(text);
  if (length > static_cast<size_t>(entry->maxLength)) return -1;
  std::memcpy(entry->text, text, length + 1);
  entry->length = static_cast<int32_t>(length);
  entry->cursor = entry->length;
  return 0;
}

int GetTextInputText(char* buffer, int handle) {
  const TextInputEntry* entry = Find(handle);
  if (!entry) return -1;
  std::memcpy(buffer, entry->text, static_cast<size_t>(entry->length) + 1);
  return 0;
}
