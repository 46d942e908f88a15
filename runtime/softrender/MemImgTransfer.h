#pragma once
// Pixels into and out of memory images, converted between formats. Nothing
// is clipped: rectangles must lie inside their images.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/base/IntRect.h"
#include "runtime/softrender/MemImg.h"

// Fills a memory image from a GraphImage (alpha may be null). A palette store
// also gets the image's 256 palette entries converted. Negative when the
// conversion fails, else 0.
int TransferGraphImageToMemImg(const GraphImage& image, const GraphImage* alpha, MemImg* destination, int sourceX,
                               int sourceY, int width, int height, int destinationX, int destinationY,
                               int keyFlag);
// Copies a rectangle of a 16- or 32-bit memory image without palette or
// alpha into a GraphImage; with skipKey, pixels equal to key stay unwritten.
void TransferMemImgToGraphImage(GraphImage* image, const MemImg* source, int sourceX, int sourceY, int width,
                                int height, int destinationX, int destinationY, uint32_t key, int skipKey);
// Null sourceRect: the whole source view. 0, or -1 for an empty rectangle.
int CopyMemImgRect(MemImg* destination, const MemImg* source, const IntRect* sourceRect, int x, int y);
