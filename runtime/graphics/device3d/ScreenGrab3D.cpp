// Copying a rectangle of the draw target into a texture graphic: five
// methods tried in a fixed order, the one that worked remembered for plain
// and for alpha targets. This display has no device contexts, so the three
// methods that need one fail and are searched past.

#include <algorithm>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/screen/SurfaceCopy.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/PlatformQueries.h"

namespace {

struct Grab {
  int x1, y1, x2, y2;
  const GraphicEntry* graphic;
  int clientFlag;
  HostSurface* source;
  int sourceWidth, sourceHeight;
  int offsetX, offsetY;
};

// The source, its size and offset for a method; false when the rectangle
// does not fit.
bool Prepare(Grab& g, bool desktopAllowed) {
  g.source = GetDrawTargetSurface();
  if (!g.source) return false;
  GetGraphicSize(gDrawState.drawTarget, &g.sourceWidth, &g.sourceHeight);
  g.offsetX = gDrawState.frontScreenRect.left;
  g.offsetY = gDrawState.frontScreenRect.top;
  const bool desktop = g.clientFlag == 0 && IsWindowMode() && gDrawState.drawTarget == -4 && IsDrawTargetWindowPrimary();
  if (desktop) {
    if (!desktopAllowed) return false;
    GetDesktopMetrics(&g.sourceWidth, &g.sourceHeight, nullptr);
    g.offsetX = 0;
    g.offsetY = 0;
  }
  return g.x1 >= 0 && g.x1 < g.x2 && g.y1 >= 0 && g.y1 < g.y2 && g.x1 <= g.sourceWidth && g.y1 <= g.sourceHeight &&
         g.graphic->width >= g.x2 - g.x1 && g.graphic->height >= g.y2 - g.y1;
}

// The part of the rectangle a tile takes, in the source's coordinates
// (offset included); false when it takes none.
bool TilePart(const Grab& g, const Surface3DData* tile, HostRect* part) {
  const int left = g.x1 + tile->x;
  const int top = g.y1 + tile->y;
  const int right = std::min(left + tile->width, g.sourceWidth);
  const int bottom = std::min(top + tile->height, g.sourceHeight);
  if (right <= left || bottom <= top) return false;
  *part = HostRect{left + g.offsetX, top + g.offsetY, right + g.offsetX, bottom + g.offsetY};
  return true;
}

// Through the work surface: the rectangle is copied there, then each
// tile's part converted into its texture.
int MethodWorkSurface(Grab& g) {
  if (!Prepare(g, false)) return -1;
  HostSurface* work = GetWorkSurface();
  int workWidth = 0;
  int workHeight = 0;
  HostSurfaceSize(work, &workWidth, &workHeight);
  const HostRect rect = {g.x1 + g.offsetX, g.y1 + g.offsetY,
                         std::min(g.x2, g.sourceWidth) + g.offsetX, std::min(g.y2, g.sourceHeight) + g.offsetY};
  if (rect.right - rect.left > workWidth || rect.bottom - rect.top > workHeight) return -1;
  if (CopySurfaceRect(work, g.source, 0, 0, rect, -1) != 0) return -1;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  const int locked = HostSurfaceLock(work, nullptr, kHostLockReadOnly, &pixels, &pitch);
  if (locked != kHostOk) {
    return LogFormat("Error  G_D3D_GetDrawScreenGraphFunction5 　作業用テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d",
                     locked);
  }
  const ColorFormat& screen = *GetScreenColorFormat();
  int result = 0;
  for (int i = 0; i < g.graphic->partCount && result == 0; ++i) {
    const Surface3DData* tile = GetSurface3DData(g.graphic->parts[i]);
    HostRect part;
    if (!tile || !TilePart(g, tile, &part)) continue;
    const IntRect source = {part.left - rect.left, part.top - rect.top, part.right - rect.left, part.bottom - rect.top};
    const IntRect destination = {tile->textureX, tile->textureY, tile->textureX + (source.right - source.left),
                                 tile->textureY + (source.bottom - source.top)};
    int32_t texturePitch = 0;
    uint8_t* texture = nullptr;
    ColorFormat format = {};
    const int lock = LockImageRecordRect(tile->imageRecord, destination, 1, &texturePitch, &texture, &format);
    if (lock < 0) {
      LogFormat("Error  G_D3D_GetDrawScreenGraphFunction5 　転送先テクスチャサーフェスのロックに失敗しました  Lock  ReturnValue:%d",
                lock);
      result = -1;
      break;
    }
    ConvertImagePixels(texture, texturePitch, format, pixels, pitch, screen, nullptr, 0, nullptr, 0, 0, source, 0, 0,
                       0, 0, 0, 0, 0);
    UnlockImageRecord(tile->imageRecord, nullptr);
    SetImageRecordColorKey(tile->imageRecord);
  }
  HostSurfaceUnlock(work);
  return result;
}

// Straight from the source into each texture.
int MethodBlit(Grab& g) {
  if (!Prepare(g, true)) return -1;
  for (int i = 0; i < g.graphic->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(g.graphic->parts[i]);
    HostRect part;
    if (!tile || !TilePart(g, tile, &part)) continue;
    const ImageRecord* record = GetImageRecord(tile->imageRecord);
    if (!record || !record->surface) return -1;
    const int result = HostSurfaceBltFast(record->surface, tile->textureX, tile->textureY, g.source, &part, 0);
    if (result != kHostOk) return LogFormat("Error G_D3D_GetDrawScreenGraphFunction1  BltFast ReturnValue:%d", result);
    SetImageRecordColorKey(tile->imageRecord);
  }
  return 0;
}

// The methods that read the source through a device context.
int MethodContextCopy(Grab& g) {
  if (!Prepare(g, true)) return -1;
  return LogFormat("Error  G_D3D_GetDrawScreenGraphFunction2  ＤＣ取得に失敗しました  GetDC ReturnValue:%d", kHostUnsupported);
}

int MethodContextWork(Grab& g) {
  if (!Prepare(g, true)) return -1;
  return LogFormat("Error  G_D3D_GetDrawScreenGraphFunction3 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", kHostUnsupported);
}

int MethodContextLoad(Grab& g) {
  if (!Prepare(g, true)) return -1;
  return LogFormat("Error  G_D3D_GetDrawScreenGraphFunction4 　ＤＣ取得に失敗しました  GetDC  ReturnValue:%d", kHostUnsupported);
}

using GrabMethod = int (*)(Grab& g);
constexpr GrabMethod kMethods[] = {MethodWorkSurface, MethodBlit, MethodContextWork, MethodContextCopy,
                                   MethodContextLoad};
constexpr int kMethodCount = 5;

}  // namespace

int CaptureScreen3D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic, int clientFlag) {
  if (!gD3D.object) return -1;
  if (gD3D.suppressed) return 0;
  FlushVertexBatch();
  EndScene3D();
  const Surface3DData* first = graphic->partCount > 0 ? GetSurface3DData(graphic->parts[0]) : nullptr;
  const ImageRecord* record = first ? GetImageRecord(first->imageRecord) : nullptr;
  if (!record) return -1;
  const int kind = record->format.alphaChannel || record->format.alphaTest ? 1 : 0;
  Grab g = {x1, y1, x2, y2, graphic, clientFlag, nullptr, 0, 0, 0, 0};
  int& remembered = gD3D.grabMethod[kind];
  if (remembered >= 0 && remembered < kMethodCount) {
    const int result = kMethods[remembered](g);
    if (result >= 0) return result;
  }
  for (int method = 0; method < kMethodCount; ++method) {
    if (kMethods[method](g) == 0) {
      remembered = method;
      return 0;
    }
  }
  remembered = -1;
  return -1;
}
