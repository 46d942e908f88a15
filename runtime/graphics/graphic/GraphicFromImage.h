#pragma once
// Graphics made from images in memory.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/base/IntRect.h"

int CreateGraphicForImage(const GraphImage& image, const GraphImage* alpha, int textureRequest);
int CreateGraphicFromGraphImage(GraphImage* image, GraphImage* alpha, int textureRequest);
int MakeGraphicFromGraphImage(GraphImage* image);
// Copies the image from (sourceX, sourceY) into the graphic. 0 or -1.
int TransferImageToGraphic(const GraphImage& image, const GraphImage* alpha, const char* fileName, int sourceX,
                           int sourceY, int graphic, int imageOption);
// The rectangle of the image to (x, y) of the graphic (glyph cache
// updates); the graphic's name becomes fileName or empty. 0 or -1.
int TransferImageRectToGraphic(const GraphImage& image, const GraphImage* alpha, const char* fileName,
                               const IntRect& sourceRect, int x, int y, int graphic, int imageOption);
// A graphic from an image file held in memory, with an optional second
// buffer as its alpha companion; -1 when the image cannot be read.
int CreateGraphicFromImage(const void* image, uint32_t imageSize, const void* alpha, uint32_t alphaSize,
                           int textureRequest, int mirror);
// No operation makes GraphImage handles: there are none to delete. 0.
int DeleteAllGraphImageHandles();
