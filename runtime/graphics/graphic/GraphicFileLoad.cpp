#include "runtime/graphics/graphic/GraphicFileLoad.h"

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/graphic/GraphicFromImage.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/MovieGraphic.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/window/MessagePump.h"

int LoadGraphicFileCore(const char* name, int textureRequest) {
  if (!gScreen.graphicsStarted || !name) return -1;
  EndScene3D();
  WaitWhileInactive();
  GraphImage image = {};
  GraphImage alpha = {};
  const int loaded = LoadImageFileWithAlpha(name, nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0);
  if (loaded < 0) return LoadMovieGraphic(name, textureRequest);
  const int graphic = CreateGraphicFromGraphImage(&image, loaded == 0 ? &alpha : nullptr, textureRequest);
  if (graphic >= 0) SetGraphicSourceName(graphic, name, -1);
  FreeGraphImage(&image);
  if (loaded == 0) FreeGraphImage(&alpha);
  return graphic;
}

int LoadGraphicFile(const char* name, int noTexture) { return LoadGraphicFileCore(name, noTexture ? 0 : 1); }

int LoadGraphicFileForced(const char* name) {
  const int saved = gDrawState.createBlendGraphicImage;
  gDrawState.createBlendGraphicImage = 1;
  const int graphic = LoadGraphicFileCore(name, 1);
  gDrawState.createBlendGraphicImage = saved;
  return graphic;
}
