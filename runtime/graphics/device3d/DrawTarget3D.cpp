// The 3D device's render target follows the draw target; clearing a
// drawable texture graphic.

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/screen/ScreenState.h"

int SetDrawTarget3D(int target, int previous) {
  (void)previous;
  if (!gD3D.object) return 0;
  FlushVertexBatch();
  EndScene3D();
  const int device = gD3D.currentDevice;
  SetRenderTarget3D(nullptr, device);
  SetTexture3D(nullptr, device);
  if (target == -4) {
    SetRenderTarget3D(GetFrontSurface(), device);
    gD3D.frontSceneFlag = 1;
  } else if (target == -2) {
    SetRenderTarget3D(GetBackSurface(), device);
    gD3D.frontSceneFlag = 0;
  } else {
    const GraphicEntry* g = GetGraphicRecord(target);
    if (!g) return -1;
    if (g->partCount > 1) return 0;
    if (g->format.texture) {
      const Surface3DData* tile = GetSurface3DData(g->parts[0]);
      const ImageRecord* record = tile ? GetImageRecord(tile->imageRecord) : nullptr;
      if (!record || !record->format.drawable) return -1;
      SetRenderTarget3D(record->surface, device);
      gD3D.frontSceneFlag = 0;
    } else {
      const Surface2D* part = g->partCount > 0 ? GetSurface2D(g->parts[0]) : nullptr;
      const ImageRecord* record = part ? GetImageRecord(part->imageRecord) : nullptr;
      if (!record) return -1;
      if (record->format.systemMemory || !record->surface) {
        // The 3D device cannot draw into system memory.
        gD3D.suppressed = 1;
        return -1;
      }
      SetRenderTarget3D(record->surface, device);
      gD3D.frontSceneFlag = 0;
    }
  }
  gD3D.suppressed = 0;
  return 0;
}

int ClearDrawTarget3D() {
  if (!gD3D.object) return -1;
  FlushVertexBatch();
  EndScene3D();
  const int target = gDrawState.drawTarget;
  if (target == -4 || target == -3 || target == -2) return 0;
  const GraphicEntry* g = GetGraphicRecord(target);
  if (!g || !g->format.texture) return 0;
  const Surface3DData* tile = GetSurface3DData(g->parts[0]);
  const ImageRecord* record = tile ? GetImageRecord(tile->imageRecord) : nullptr;
  if (!record || !record->surface) return -1;
  HostSurfaceDepthFill(record->surface, nullptr, 0xFFFF);
  // The screen's background colour is black.
  const ColorFormat format = GetTextureColorFormatByIndex(record->pixelFormatIndex);
  HostSurfaceColorFill(record->surface, nullptr, EncodePixel(format, 0, 0, 0, 0));
  return 0;
}
