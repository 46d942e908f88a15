#pragma once
// Graphics made from images in memory.

#include "runtime/graphics/format/GraphImage.h"

int CreateGraphicForImage(const GraphImage& image, const GraphImage* alpha, int textureRequest);
int CreateGraphicFromGraphImage(GraphImage* image, GraphImage* alpha, int textureRequest);
int MakeGraphicFromGraphImage(GraphImage* image);
// Copies the image from (sourceX, sourceY) into the graphic. 0 or -1.
int TransferImageToGraphic(const GraphImage& image, const GraphImage* alpha, const char* fileName, int sourceX,
                           int sourceY, int graphic, int imageOption);
// No operation makes GraphImage handles: there are none to delete. 0.
int DeleteAllGraphImageHandles();
