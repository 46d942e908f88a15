#include "runtime/graphics/graphic/GraphicFromImage.h"

#include "runtime/Movan.h"

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageTransfer2D.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "runtime/platform/window/MessagePump.h"

int CreateGraphicForImage(const GraphImage& image, const GraphImage* alpha, int textureRequest) {
  EndScene3D();
  WaitWhileInactive();
  if (alpha && (alpha->width != image.width || alpha->height != image.height)) return -1;
  const int alphaFlag = image.format.alphaWidth != 0 || alpha ? 1 : 0;
  const int paletteFlag = image.format.bytesPerPixel == 1 && !alphaFlag ? 1 : 0;
  return CreateGraphic(image.width, image.height, textureRequest, alphaFlag, paletteFlag);
}

int CreateGraphicFromGraphImage(GraphImage* image, GraphImage* alpha, int textureRequest) {
  RecomputeUnusedMask(&image->format);
  if (alpha) RecomputeUnusedMask(&alpha->format);
  EndScene3D();
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
  if (g->format.texture) {
    // A blend graphic's grey values become its texture's alpha.
    return UploadImageToGraphic3D(image, alpha, sourceX, sourceY, g, UploadOptions{1, g->blendImageSetting});
  }
  return TransferImageToGraphic2D(sourceX, sourceY, g, image, alpha);
}

int TransferImageRectToGraphic(const GraphImage& image, const GraphImage* alpha, const char* fileName,
                               const IntRect& sourceRect, int x, int y, int graphic, int imageOption) {
  GraphicEntry* g = GetGraphicRecord(graphic);
  if (!g) return -1;
  SetGraphicSourceName(graphic, fileName ? fileName : "", -1);
  g->imageOption = imageOption;
  if (g->format.texture) {
    return UploadImageRectToGraphic3D(image, alpha, sourceRect, x, y, g, UploadOptions{1, g->blendImageSetting});
  }
  return TransferImageRectToGraphic2D(sourceRect, x, y, g, image, alpha);
}

int CreateGraphicFromImage(const void* image, uint32_t imageSize, const void* alpha, uint32_t alphaSize,
                           int textureRequest, int mirror) {
  EndScene3D();
  GraphImage read = {};
  GraphImage readAlpha = {};
  const int loaded =
      LoadImageFileWithAlpha(nullptr, image, imageSize, 1, alpha, alphaSize, 1, &read, &readAlpha, mirror);
  if (loaded < 0) return -1;
  const int graphic = CreateGraphicFromGraphImage(&read, loaded == 0 ? &readAlpha : nullptr, textureRequest);
  FreeGraphImage(&read);
  if (loaded == 0) FreeGraphImage(&readAlpha);
  return graphic;
}

int DeleteAllGraphImageHandles() { return 0; }
