#include "engine/presentation/GraphicsRestore.h"

#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/PresentationHooks.h"
#include "runtime/Movan.h"

void ReloadGameGraphics() {
  const PresentationHooks& hooks = CurrentPresentationHooks();
  ReturnToStartFolder();
  RestoreAllGraphics();
  hooks.loadChoiceSkins();
  hooks.loadWaitCursor();
  ReLoadGraphic();
  hooks.loadIcons();
  hooks.reloadPictureFiles();
}
