#include "engine/events/TextEntryHooks.h"

#include "runtime/Movan.h"

namespace {

void NoColors(const int64_t*) {}
void NoDrawing(int, int, int) {}

constexpr TextEntryHooks kDefaults = {CreateTextInput, ActivateTextInput, SetTextInputText, SetDefaultFontSize,
                                      PackColor,       NoColors,          NoDrawing};

TextEntryHooks gHooks = kDefaults;

template <typename F>
void Fill(F& entry, F fallback) {
  if (!entry) entry = fallback;
}

}  // namespace

const TextEntryHooks& CurrentTextEntryHooks() { return gHooks; }

void SetTextEntryHooks(const TextEntryHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  TextEntryHooks h = *hooks;
  Fill(h.createTextInput, kDefaults.createTextInput);
  Fill(h.activateTextInput, kDefaults.activateTextInput);
  Fill(h.setTextInputText, kDefaults.setTextInputText);
  Fill(h.setDefaultFontSize, kDefaults.setDefaultFontSize);
  Fill(h.packColor, kDefaults.packColor);
  Fill(h.setTextInputColors, kDefaults.setTextInputColors);
  Fill(h.drawTextInput, kDefaults.drawTextInput);
  gHooks = h;
}
