#include "runtime/graphics/graphic/DrawPath2D.h"

#include "runtime/Movan.h"

#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/softrender/SoftDraw.h"

namespace {

void ReleaseDrawView() {
  if (IsMemImgValid(&gScreen.drawView)) ReleaseMemImg(&gScreen.drawView);
  gScreen.drawView = MemImg{};
}

MemImg* Destination() {
  MemImg* image = gScreen.drawImage;
  return image && IsMemImgValid(image) ? image : nullptr;
}

const Surface2D* FirstPart(const GraphicEntry* graphic) {
  return graphic && graphic->partCount > 0 ? GetSurface2D(graphic->parts[0]) : nullptr;
}

}  // namespace

int SelectDrawSurface(int target, int previous) {
  (void)previous;
  ReleaseDrawView();
  gScreen.drawImage = nullptr;
  gScreen.drawDepthImage = nullptr;
  if (target == -4) {
    if (gScreen.softwareScreens) gScreen.drawImage = &gScreen.front;
    return 0;
  }
  if (target == -2) {
    if (gScreen.softwareScreens) {
      gScreen.drawImage = &gScreen.back;
      gScreen.drawDepthImage = &gScreen.depth;
    }
    return 0;
  }
  const GraphicEntry* g = GetGraphicRecord(target);
  if (!g || g->format.texture) return -1;
  const Surface2D* part = FirstPart(g);
  if (!part) return -1;
  ImageRecord* record = GetImageRecord(part->imageRecord);
  if (!record || !record->software || !IsMemImgValid(&record->image)) return -1;
  MemImg* image = &record->image;
  // A derived graphic draws into its own rectangle of the shared record.
  if (part->sourceX != 0 || part->sourceY != 0 || part->width != image->width || part->height != image->height) {
    MakeMemImgView(&gScreen.drawView, image, part->sourceX, part->sourceY, part->width, part->height);
    if (!IsMemImgValid(&gScreen.drawView)) return -1;
    image = &gScreen.drawView;
  }
  gScreen.drawImage = image;
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
  MemImg* destination = Destination();
  Surface2DImage source(s);
  if (!destination || !source.Get()) return -1;
  SoftDrawImage(destination, source.Get(), x, y, transparent, blend);
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
  MemImg* destination = Destination();
  Surface2DImage source(s);
  if (!destination || !source.Get()) return -1;
  if (gSoftDrawFamilies.drawScaled) {
    // A part without pixels draws nothing: the scaled draw divides by its size.
    if (source.Get()->width <= 0 || source.Get()->height <= 0) return 0;
    gSoftDrawFamilies.drawScaled(destination, source.Get(), x1, y1, x2, y2, transparent, blend);
    return 0;
  }
  // Until the scaled draws are in, a rectangle of the source's own size
  // draws unscaled and any other is not drawn.
  if (static_cast<int64_t>(x2) - x1 != s->width || static_cast<int64_t>(y2) - y1 != s->height) return -1;
  SoftDrawImage(destination, source.Get(), x1, y1, transparent, blend);
  return 0;
}

int DrawGraphicRotated2D(float x, float y, float scale, float angle, const GraphicEntry* graphic, int transparent,
                         int turn) {
  if (!HasScreenDevice()) return -1;
  const Surface2D* s = FirstPart(graphic);
  if (!s) return -1;
  const MemImg* blend = GetBlendGraphicImage2D();
  MemImg* destination = Destination();
  Surface2DImage source(s);
  if (!destination || !source.Get() || !gSoftDrawFamilies.drawRotated) return -1;
  gSoftDrawFamilies.drawRotated(destination, source.Get(), FloatToInt(x), FloatToInt(y), angle, scale, transparent,
                                turn, blend);
  return 0;
}

int DrawTriangle2D(const TexturedVertex* vertices, const GraphicEntry* graphic, int transparent, uint32_t color) {
  if (!HasScreenDevice()) return -1;
  MemImg* destination = Destination();
  if (!destination || !gSoftDrawFamilies.drawTriangle) return -1;
  if (!graphic) {
    gSoftDrawFamilies.drawTriangle(destination, nullptr, vertices, transparent, nullptr, color);
    return 0;
  }
  const Surface2D* s = FirstPart(graphic);
  if (!s) return -1;
  Surface2DImage source(s);
  if (!source.Get()) return -1;
  gSoftDrawFamilies.drawTriangle(destination, source.Get(), vertices, transparent, GetBlendGraphicImage2D(), color);
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
  MemImg* destination = Destination();
  if (!destination || !gSoftDrawFamilies.fillRect) return -1;
  const IntRect rect = {x1, y1, x2, y2};
  gSoftDrawFamilies.fillRect(destination, &rect, color);
  return 0;
}

int DrawLines2D(const LineSegment* lines, int count) {
  if (!HasScreenDevice()) return -1;
  MemImg* destination = Destination();
  if (!destination || !gSoftDrawFamilies.drawLines) return -1;
  gSoftDrawFamilies.drawLines(destination, lines, count);
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
  MemImg* destination = Destination();
  if (!destination) return gDrawState.drawTarget >= 0 && !GetGraphicRecord(gDrawState.drawTarget) ? -1 : 0;
  FillMemImg(destination, nullptr, EncodePixel(*destination->store->colorFormat, 0, 0, 0, 0));
  if (gScreen.drawDepthImage && IsMemImgValid(gScreen.drawDepthImage)) {
    FillMemImg(gScreen.drawDepthImage, nullptr, 0xFFFF);
  }
  return 0;
}
