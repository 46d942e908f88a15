#include "engine/presentation/PresentationHooks.h"

namespace {

void Nothing() {}
void NoLayer(int32_t) {}

constexpr PresentationHooks kDefaults{NoLayer, Nothing, Nothing, Nothing};

PresentationHooks gHooks = kDefaults;

template <typename F>
F Or(F given, F fallback) {
  return given ? given : fallback;
}

}  // namespace

const PresentationHooks& CurrentPresentationHooks() { return gHooks; }

void SetPresentationHooks(const PresentationHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  gHooks.drawPictures = Or(hooks->drawPictures, kDefaults.drawPictures);
  gHooks.loadChoiceSkins = Or(hooks->loadChoiceSkins, kDefaults.loadChoiceSkins);
  gHooks.loadWaitCursor = Or(hooks->loadWaitCursor, kDefaults.loadWaitCursor);
  gHooks.reloadPictureFiles = Or(hooks->reloadPictureFiles, kDefaults.reloadPictureFiles);
}
