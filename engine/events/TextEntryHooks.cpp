#include "engine/events/TextEntryHooks.h"

#include "runtime/Movan.h"

namespace {

// The field's twelve colours in the layer's argument order.
void SetFieldColors(const int64_t* c) {
  SetTextInputColors(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10], c[11]);
}

void DrawField(int x, int y, int handle) { DrawTextInput(x, y, handle); }

constexpr TextEntryHooks kDefaults = {CreateTextInput, ActivateTextInput, SetTextInputText, SetDefaultFontSize,
                                      PackColor,       SetFieldColors,    DrawField};

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
