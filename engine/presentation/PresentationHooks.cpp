#include "engine/presentation/PresentationHooks.h"

#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"

namespace {

void Nothing() {}
void DrawGamePictures(int32_t layer) { GamePictures.Draw(layer); }
void ReloadGamePictureFiles() { RePictureControl(GamePictures); }

constexpr PresentationHooks kDefaults{DrawGamePictures, Nothing, Nothing, ReloadGamePictureFiles};

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
