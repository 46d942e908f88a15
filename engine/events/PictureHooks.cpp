#include "engine/events/PictureHooks.h"

namespace {

constexpr PictureHooks kDefaults = {
    [](const PictureRequest&) {},
    [](const PictureRequest&) {},
    [](const PictureRequest&) {},
    [](int32_t, int32_t, int32_t, int32_t, int32_t) {},
    [](int32_t, int32_t) {},
    [](int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {},
    [](int32_t, int32_t) { return -1; },
};

PictureHooks gHooks = kDefaults;

template <typename F>
void Fill(F& entry, F fallback) {
  if (!entry) entry = fallback;
}

}  // namespace

const PictureHooks& CurrentPictureHooks() { return gHooks; }

void SetPictureHooks(const PictureHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  PictureHooks h = *hooks;
  Fill(h.show, kDefaults.show);
  Fill(h.showText, kDefaults.showText);
  Fill(h.move, kDefaults.move);
  Fill(h.erase, kDefaults.erase);
  Fill(h.cancelDelays, kDefaults.cancelDelays);
  Fill(h.applyEffect, kDefaults.applyEffect);
  Fill(h.queryProperty, kDefaults.queryProperty);
  gHooks = h;
}
