#pragma once
// Pixels of loaded images into the image records behind 2D parts: a whole
// graphic from a position of the image, or a rectangle of the image (glyph
// cache updates) into a place of the graphic.

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/platform/base/IntRect.h"

// The source rectangle of the image to (x, y) of the part's own pixels, cut
// to what lies inside both the image and the part. A palette record takes
// the entry of the transparent colour as its key. 0; -1 without a screen
// device or for a bad part.
int TransferImageToSurface2D(const IntRect& sourceRect, int x, int y, int surface, const GraphImage& image,
                             const GraphImage* alpha);
// The part's own rectangle of the image, from (x, y).
int TransferImageToPart2D(int x, int y, int surface, const GraphImage& image, const GraphImage* alpha);
// Every part of the graphic from (x, y) of the image.
int TransferImageToGraphic2D(int x, int y, const GraphicEntry* graphic, const GraphImage& image,
                             const GraphImage* alpha);
// The rectangle of the image to (x, y) of the graphic; what falls outside
// the graphic is left out.
int TransferImageRectToGraphic2D(const IntRect& sourceRect, int x, int y, const GraphicEntry* graphic,
                                 const GraphImage& image, const GraphImage* alpha);
