#include "engine/presentation/GraphicsRestore.h"

#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/PresentationHooks.h"
#include "engine/presentation/text/TextResources.h"
#include "runtime/Movan.h"

void ReloadGameGraphics() {
  const PresentationHooks& hooks = CurrentPresentationHooks();
  ReturnToStartFolder();
  RestoreAllGraphics();
  hooks.loadChoiceSkins();
  hooks.loadWaitCursor();
  ReLoadGraphic();
  TextResourcesHub.LoadIcons();
  hooks.reloadPictureFiles();
}
