#pragma once
// The 2D draw path: chooses the image draws write to and carries out every
// draw of a 2D graphic, box, line and clear with the software renderer.

#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/SoftDrawFamilies.h"

// 0; -1 for a graphic without a valid part.
int SelectDrawSurface(int target, int previous);
// The blend graphic's memory image, or null.
const MemImg* GetBlendGraphicImage2D();

int DrawGraphic2D(int x, int y, int surface, int transparent);
int DrawGraphicFirstPart2D(int x, int y, const GraphicEntry* graphic, int transparent);
int DrawGraphicStretched2D(int x1, int y1, int x2, int y2, const GraphicEntry* graphic, int transparent,
                           int surface);
int DrawGraphicRotated2D(float x, float y, float scale, float angle, const GraphicEntry* graphic, int transparent,
                         int turn);
int DrawTriangle2D(const TexturedVertex* vertices, const GraphicEntry* graphic, int transparent, uint32_t color);
int DrawQuad2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, const GraphicEntry* graphic,
               int transparent);
int DrawQuadF2D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                const GraphicEntry* graphic, int transparent);
int FillBox2D(int x1, int y1, int x2, int y2, uint32_t color);
int DrawLines2D(const LineSegment* lines, int count);
int DrawBoxOutline2D(int x1, int y1, int x2, int y2, uint32_t color);
int ClearTarget2D();
