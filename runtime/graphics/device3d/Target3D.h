#pragma once
// Where the 3D path meets surfaces other than its batches: the draw target,
// clearing a drawable texture graphic, screen grabs into texture graphics
// and pixel uploads into texture tiles.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/base/IntRect.h"

struct GraphicEntry;
struct MovieRecord;

int SetDrawTarget3D(int target, int previous);
int ClearDrawTarget3D();
int CaptureScreen3D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic, int clientFlag);

// Transparent: pixels of the transparent colour become transparent (when
// the texture has alpha and the source none). alphaFromRed: the source's
// red becomes the alpha (blend-graphic images).
struct UploadOptions {
  int transparent;
  int alphaFromRed;
};

int UploadToSurface3DData(const GraphImage& image, const GraphImage* alpha, const IntRect& sourceRect, int x, int y,
                          int tile, const UploadOptions& options);
int UploadImageToGraphic3D(const GraphImage& image, const GraphImage* alpha, int sourceX, int sourceY,
                           const GraphicEntry* graphic, const UploadOptions& options);
int UploadImageRectToGraphic3D(const GraphImage& image, const GraphImage* alpha, const IntRect& sourceRect, int x,
                               int y, const GraphicEntry* graphic, const UploadOptions& options);
int UpdateMovieTexture3D(MovieRecord* movie, void* userData);
