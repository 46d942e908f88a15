#include "runtime/graphics/graphic/DrawPath2D.h"

#include "runtime/Movan.h"

#include <algorithm>
#include <cmath>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/graphic/TargetImage2D.h"
#include "runtime/graphics/screen/Present.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/screen/SurfaceCopy.h"
#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/softrender/SoftDraw.h"

namespace {

void ReleaseDrawView() {
  if (IsMemImgValid(&gScreen.drawView)) ReleaseMemImg(&gScreen.drawView);
  gScreen.drawView = MemImg{};
}

MemImg* DrawImage() {
  MemImg* image = gScreen.drawImage;
  return image && IsMemImgValid(image) ? image : nullptr;
}

const Surface2D* FirstPart(const GraphicEntry* graphic) {
  return graphic && graphic->partCount > 0 ? GetSurface2D(graphic->parts[0]) : nullptr;
}

// The draw blends rather than copies: it cannot be a plain surface copy.
bool NeedsBlend(const ImageRecord* source) {
  const DrawState& s = gDrawState;
  const bool plain = s.blendMode == BlendCopy || (s.blendMode == BlendTranslucent && s.blendParameter == 255);
  return !plain || (source && source->format.alphaChannel) || s.blendGraphic != -1;
}

int64_t Largest(int64_t a, int64_t b) { return a > b ? a : b; }

// Ends what the 3D device has queued before a surface is touched without it.
void EndDeviceWork() {
  if (gScreen.softwareScreens) return;
  FlushVertexBatch();
  EndScene3D();
}

}  // namespace

int SelectDrawSurface(int target, int previous) {
  (void)previous;
  ReleaseDrawView();
  gScreen.drawImage = nullptr;
  gScreen.drawDepthImage = nullptr;
  gScreen.drawSurface = nullptr;
  gScreen.drawOffsetX = 0;
  gScreen.drawOffsetY = 0;
  gScreen.targetInVideoMemory = 0;
  if (target == -4) {
    if (gScreen.softwareScreens) gScreen.drawImage = &gScreen.front;
    gScreen.drawSurface = GetFrontSurface();
  } else if (target == -2) {
    if (gScreen.softwareScreens) {
      gScreen.drawImage = &gScreen.back;
      gScreen.drawDepthImage = &gScreen.depth;
    }
    gScreen.drawSurface = gScreen.backSurface;
  } else {
    const GraphicEntry* g = GetGraphicRecord(target);
    if (!g) return -1;
    if (g->format.texture) {
      // The first tile's texture, at the tile's place.
      const Surface3DData* tile = g->partCount > 0 ? GetSurface3DData(g->parts[0]) : nullptr;
      const ImageRecord* record = tile ? GetImageRecord(tile->imageRecord) : nullptr;
      if (!record) return -1;
      gScreen.drawSurface = record->surface;
      gScreen.drawOffsetX = tile->x;
      gScreen.drawOffsetY = tile->y;
    } else {
      const Surface2D* part = FirstPart(g);
      if (!part) return -1;
      ImageRecord* record = GetImageRecord(part->imageRecord);
      if (!record) return -1;
      if (record->software) {
        if (!IsMemImgValid(&record->image)) return -1;
        MemImg* image = &record->image;
        // A derived graphic draws into its own rectangle of the shared record.
        if (part->sourceX != 0 || part->sourceY != 0 || part->width != image->width || part->height != image->height) {
          MakeMemImgView(&gScreen.drawView, image, part->sourceX, part->sourceY, part->width, part->height);
          if (!IsMemImgValid(&gScreen.drawView)) return -1;
          image = &gScreen.drawView;
        }
        gScreen.drawImage = image;
      } else {
        if (!record->surface) return -1;
        gScreen.drawSurface = record->surface;
        gScreen.drawOffsetX = part->sourceX;
        gScreen.drawOffsetY = part->sourceY;
      }
    }
  }
  if (gScreen.drawSurface) {
    gScreen.targetInVideoMemory = (HostSurfaceCaps(gScreen.drawSurface) & kHostSurfaceVideoMemory) ? 1 : 0;
  }
  return 0;
}

const MemImg* GetBlendGraphicImage2D() {
  if (gDrawState.blendGraphic == -1) return nullptr;
  const GraphicEntry* g = GetGraphicRecord(gDrawState.blendGraphic);
  if (!g || g->format.texture) return nullptr;
  const Surface2D* part = FirstPart(g);
  if (!part) return nullptr;
  ImageRecord* record = GetImageRecord(part->imageRecord);
  return record && IsMemImgValid(&record->image) ? &record->image : nullptr;
}

int DrawGraphic2D(int x, int y, int surface, int transparent) {
  if (!HasScreenDevice()) return -1;
  const Surface2D* s = GetSurface2D(surface);
  if (!s) return -1;
  const MemImg* blend = GetBlendGraphicImage2D();
  if (MemImg* destination = DrawImage()) {
    Surface2DImage source(s);
    if (!source.Get()) return -1;
    SoftDrawImage(destination, source.Get(), x, y, transparent, blend);
    return 0;
  }
  EndDeviceWork();
  IntRect d = {x, y, ClampToInt(int64_t{x} + s->width), ClampToInt(int64_t{y} + s->height)};
  ClipRect(&d, gDrawState.drawRegion);
  if (d.left == d.right || d.top == d.bottom) return 0;
  const ImageRecord* record = GetImageRecord(s->imageRecord);
  HostSurface* target = gScreen.drawSurface;
  // A plain copy between surfaces in the same kind of memory is one blit.
  if (record && record->surface && target && !NeedsBlend(record) && gDrawState.brightness == 0xFFFFFF &&
      (record->format.systemMemory == 1) == !gScreen.targetInVideoMemory) {
    const HostRect sourceRect = {s->sourceX + (d.left - x), s->sourceY + (d.top - y), s->sourceX + (d.right - x),
                                 s->sourceY + (d.bottom - y)};
    const IntRect& front = gDrawState.frontScreenRect;
    HostSurfaceBltFast(target, d.left + front.left + gScreen.drawOffsetX, d.top + front.top + gScreen.drawOffsetY,
                       record->surface, &sourceRect, transparent ? kHostBltSourceKey : 0);
    return 0;
  }
  Surface2DImage source(s);
  TargetImage2D destination(d, NeedsBlend(record));
  if (!source.Get() || !destination.Get()) return 0;
  SoftDrawImage(destination.Get(), source.Get(), x - destination.dx, y - destination.dy, transparent, blend);
  return 0;
}

int DrawGraphicFirstPart2D(int x, int y, const GraphicEntry* graphic, int transparent) {
  if (graphic->partCount > 0) DrawGraphic2D(x, y, graphic->parts[0], transparent);
  return 0;
}

int DrawGraphicStretched2D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic, int transparent,
                           int surface) {
  if (!HasScreenDevice()) return -1;
  const Surface2D* s = GetSurface2D(surface == -1 ? (graphic && graphic->partCount > 0 ? graphic->parts[0] : -1)
                                                  : surface);
  if (!s) return -1;
  const MemImg* blend = GetBlendGraphicImage2D();
  MemImg* drawImage = DrawImage();
  if (!drawImage) {
    EndDeviceWork();
    if (x1 == x2 || y1 == y2) return -1;
    // A rectangle of the part's own size, unmirrored, is the plain draw.
    if (int64_t{x2} - x1 == s->width && int64_t{y2} - y1 == s->height) {
      return DrawGraphic2D(x1, y1, surface == -1 ? graphic->parts[0] : surface, transparent);
    }
  }
  Surface2DImage source(s);
  if (!source.Get() || !gSoftDrawFamilies.drawScaled) return drawImage ? -1 : 0;
  // A part without pixels draws nothing: the scaled draw divides by its size.
  if (source.Get()->width <= 0 || source.Get()->height <= 0) return 0;
  const IntRect box = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  TargetImage2D destination(box, true);
  if (!destination.Get()) return drawImage ? -1 : 0;
  const int dx = destination.dx;
  const int dy = destination.dy;
  gSoftDrawFamilies.drawScaled(destination.Get(), source.Get(), x1 - dx, y1 - dy, x2 - dx, y2 - dy, transparent, blend);
  return 0;
}

int DrawGraphicRotated2D(float x, float y, float scale, float angle, const GraphicEntry* graphic, int transparent,
                         int turn) {
  if (!HasScreenDevice()) return -1;
  const Surface2D* s = FirstPart(graphic);
  if (!s) return -1;
  const MemImg* blend = GetBlendGraphicImage2D();
  const int cx = FloatToInt(x);
  const int cy = FloatToInt(y);
  IntRect box = {0, 0, 0, 0};
  if (!DrawImage()) {
    EndDeviceWork();
    // The turned corners' bounding box, one pixel wider so that every pixel
    // the draw writes lies in what is locked.
    const float c = std::cos(angle);
    const float n = std::sin(angle);
    int64_t left = 1000000;
    int64_t top = 1000000;
    int64_t right = -1000000;
    int64_t bottom = -1000000;
    for (int i = 0; i < 4; ++i) {
      const float u = (i & 1 ? 1.0f : -1.0f) * static_cast<float>(graphic->width) * scale / 2.0f;
      const float v = (i & 2 ? 1.0f : -1.0f) * static_cast<float>(graphic->height) * scale / 2.0f;
      const int64_t px = int64_t{cx} + FloatToInt(c * u - n * v);
      const int64_t py = int64_t{cy} + FloatToInt(n * u + c * v);
      left = std::min(left, px);
      top = std::min(top, py);
      right = Largest(right, px);
      bottom = Largest(bottom, py);
    }
    box = IntRect{ClampToInt(left - 1), ClampToInt(top - 1), ClampToInt(right + 2), ClampToInt(bottom + 2)};
  }
  Surface2DImage source(s);
  TargetImage2D destination(box, true);
  if (!destination.Get() || !source.Get() || !gSoftDrawFamilies.drawRotated) return DrawImage() ? -1 : 0;
  gSoftDrawFamilies.drawRotated(destination.Get(), source.Get(), cx - destination.dx, cy - destination.dy, angle, scale,
                                transparent, turn, blend);
  return 0;
}

int DrawTriangle2D(const TexturedVertex* vertices, const GraphicEntry* graphic, int transparent, uint32_t color) {
  if (!HasScreenDevice()) return -1;
  const Surface2D* s = nullptr;
  if (graphic) {
    s = FirstPart(graphic);
    if (!s) return -1;
  }
  IntRect box = {0, 0, 0, 0};
  if (!DrawImage()) {
    EndDeviceWork();
    int64_t left = 1000000;
    int64_t top = 1000000;
    int64_t right = -1000000;
    int64_t bottom = -1000000;
    for (int i = 0; i < 3; ++i) {
      left = std::min<int64_t>(left, vertices[i].x);
      top = std::min<int64_t>(top, vertices[i].y);
      right = Largest(right, vertices[i].x);
      bottom = Largest(bottom, vertices[i].y);
    }
    box = IntRect{ClampToInt(left), ClampToInt(top), ClampToInt(right + 1), ClampToInt(bottom + 1)};
  }
  TargetImage2D destination(box, true);
  if (!destination.Get() || !gSoftDrawFamilies.drawTriangle) return DrawImage() ? -1 : 0;
  TexturedVertex moved[3];
  for (int i = 0; i < 3; ++i) {
    moved[i] = vertices[i];
    moved[i].x -= destination.dx;
    moved[i].y -= destination.dy;
  }
  if (!s) {
    gSoftDrawFamilies.drawTriangle(destination.Get(), nullptr, moved, transparent, nullptr, color);
    return 0;
  }
  Surface2DImage source(s);
  if (!source.Get()) return -1;
  gSoftDrawFamilies.drawTriangle(destination.Get(), source.Get(), moved, transparent, GetBlendGraphicImage2D(), color);
  return 0;
}

int DrawQuad2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, const GraphicEntry* graphic,
               int transparent) {
  const int w = graphic ? graphic->width : 0;
  const int h = graphic ? graphic->height : 0;
  const TexturedVertex v[4] = {{x1, y1, 0, 0}, {x2, y2, w, 0}, {x3, y3, 0, h}, {x4, y4, w, h}};
  DrawTriangle2D(&v[0], graphic, transparent, 0);
  DrawTriangle2D(&v[1], graphic, transparent, 0);
  return 0;
}

int DrawQuadF2D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                const GraphicEntry* graphic, int transparent) {
  return DrawQuad2D(FloatToInt(x1), FloatToInt(y1), FloatToInt(x2), FloatToInt(y2), FloatToInt(x3), FloatToInt(y3),
                    FloatToInt(x4), FloatToInt(y4), graphic, transparent);
}

int FillBox2D(int x1, int y1, int x2, int y2, uint32_t color) {
  if (!HasScreenDevice()) return -1;
  if (!DrawImage()) EndDeviceWork();
  const IntRect rect = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  TargetImage2D destination(rect, NeedsBlend(nullptr));
  if (!destination.Get() || !gSoftDrawFamilies.fillRect) return DrawImage() ? -1 : 0;
  const IntRect moved = {x1 - destination.dx, y1 - destination.dy, x2 - destination.dx, y2 - destination.dy};
  gSoftDrawFamilies.fillRect(destination.Get(), &moved, color);
  return 0;
}

int DrawLines2D(const LineSegment* lines, int count) {
  if (!HasScreenDevice()) return -1;
  IntRect box = {0, 0, 0, 0};
  if (!DrawImage()) {
    EndDeviceWork();
    int64_t left = 1000000;
    int64_t top = 1000000;
    int64_t right = -1000000;
    int64_t bottom = -1000000;
    for (int i = 0; i < count; ++i) {
      left = std::min<int64_t>({left, lines[i].x1, lines[i].x2});
      top = std::min<int64_t>({top, lines[i].y1, lines[i].y2});
      right = std::max<int64_t>({right, lines[i].x1, lines[i].x2});
      bottom = std::max<int64_t>({bottom, lines[i].y1, lines[i].y2});
    }
    // The end points are pixels too: the box takes them in.
    box = IntRect{ClampToInt(left), ClampToInt(top), ClampToInt(right + 1), ClampToInt(bottom + 1)};
  }
  TargetImage2D destination(box, true);
  if (!destination.Get() || !gSoftDrawFamilies.drawLines) return DrawImage() ? -1 : 0;
  if (destination.dx == 0 && destination.dy == 0) {
    gSoftDrawFamilies.drawLines(destination.Get(), lines, count);
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    LineSegment moved = lines[i];
    moved.x1 -= destination.dx;
    moved.x2 -= destination.dx;
    moved.y1 -= destination.dy;
    moved.y2 -= destination.dy;
    gSoftDrawFamilies.drawLines(destination.Get(), &moved, 1);
  }
  return 0;
}

int DrawBoxOutline2D(int x1, int y1, int x2, int y2, uint32_t color) {
  const int p = gDrawState.blendParameter;
  // Clockwise; each line leaves out its end point, so every corner is drawn once.
  const LineSegment lines[4] = {
      {x1, y1, x2 - 1, y1, color, p},
      {x2 - 1, y1, x2 - 1, y2 - 1, color, p},
      {x2 - 1, y2 - 1, x1, y2 - 1, color, p},
      {x1, y2 - 1, x1, y1, color, p},
  };
  return DrawLines2D(lines, 4);
}

int ClearTarget2D() {
  MemImg* destination = DrawImage();
  if (destination) {
    FillMemImg(destination, nullptr, EncodePixel(*destination->store->colorFormat, 0, 0, 0, 0));
    if (gScreen.drawDepthImage && IsMemImgValid(gScreen.drawDepthImage)) {
      FillMemImg(gScreen.drawDepthImage, nullptr, 0xFFFF);
    }
    return 0;
  }
  const int target = gDrawState.drawTarget;
  if (target >= 0) {
    const GraphicEntry* g = GetGraphicRecord(target);
    if (!g) return -1;
    if (g->format.texture) return 0;
  }
  HostSurface* surface = gScreen.drawSurface;
  if (!surface) return 0;
  EndDeviceWork();
  const uint32_t black = PackColor(0, 0, 0);
  if (target == -4 || target == -2) {
    IntRect rect = {0, 0, 0, 0};
    GetScreenSize(&rect.right, &rect.bottom);
    if (target == -4 && IsWindowMode()) GetFrontClientRect(&rect);
    const HostRect r = {rect.left, rect.top, rect.right, rect.bottom};
    HostSurfaceColorFill(surface, &r, black);
    if (gScreen.zbuffer) HostSurfaceDepthFill(gScreen.zbuffer, nullptr, 0xFFFF);
    return 0;
  }
  const Surface2D* part = FirstPart(GetGraphicRecord(target));
  if (!part) return -1;
  HostSurfaceColorFill(surface, nullptr, black);
  return 0;
}
