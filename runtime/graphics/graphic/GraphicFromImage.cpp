#include "runtime/graphics/graphic/GraphicFromImage.h"

#include "runtime/Movan.h"

#include <algorithm>

#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/softrender/MemImgTransfer.h"

int CreateGraphicForImage(const GraphImage& image, const GraphImage* alpha, int textureRequest) {
  WaitWhileInactive();
  if (alpha && (alpha->width != image.width || alpha->height != image.height)) return -1;
  const int alphaFlag = image.format.alphaWidth != 0 || alpha ? 1 : 0;
  const int paletteFlag = image.format.bytesPerPixel == 1 && !alphaFlag ? 1 : 0;
  return CreateGraphic(image.width, image.height, textureRequest, alphaFlag, paletteFlag);
}

int CreateGraphicFromGraphImage(GraphImage* image, GraphImage* alpha, int textureRequest) {
  RecomputeUnusedMask(&image->format);
  if (alpha) RecomputeUnusedMask(&alpha->format);
  const int graphic = CreateGraphicForImage(*image, alpha, textureRequest);
  if (graphic < 0) return -1;
  TransferImageToGraphic(*image, alpha, nullptr, 0, 0, graphic, 0);
  return graphic;
}

int MakeGraphicFromGraphImage(GraphImage* image) { return CreateGraphicFromGraphImage(image, nullptr, 1); }

int TransferImageToGraphic(const GraphImage& image, const GraphImage* alpha, const char* fileName, int sourceX,
                           int sourceY, int graphic, int imageOption) {
  GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return -1;
  SetGraphicSourceName(graphic, fileName, -1);
  g->imageOption = imageOption;
  g->sourceX = sourceX;
  g->sourceY = sourceY;
  if (g->partCount < 1) return -1;
  Surface2DImage part(GetSurface2D(g->parts[0]));
  MemImg* destination = part.Get();
  if (!destination || sourceX < 0 || sourceY < 0 || sourceX >= image.width || sourceY >= image.height) return -1;
  // The part of the image that lies in both.
  const int width = std::min(destination->width, image.width - sourceX);
  const int height = std::min(destination->height, image.height - sourceY);
  return TransferGraphImageToMemImg(image, alpha, destination, sourceX, sourceY, width, height, 0, 0, 0) < 0 ? -1 : 0;
}

int DeleteAllGraphImageHandles() { return 0; }
