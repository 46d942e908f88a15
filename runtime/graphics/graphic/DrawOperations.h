#pragma once
// The layer's drawing operations on graphics and boxes: the checks every
// draw makes first, in a fixed order, and the dispatch to the 2D path.

#include <cstdint>

int DrawGraphicAt(int x, int y, int graphic, int transparent);
int DrawGraphicStretched(int x1, int y1, int x2, int y2, int graphic, int transparent);
int DrawGraphicRotated(float x, float y, double scale, double angle, int graphic, int transparent, int turn);
int DrawGraphicRotatedInt(int x, int y, double scale, double angle, int graphic, int transparent, int turn);
int DrawGraphicFreeForm(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int graphic,
                        int transparent);
int DrawGraphicFlipped(int x, int y, int graphic, int transparent);
int DrawGraphicPart(int x, int y, int sourceX, int sourceY, int width, int height, int graphic, int transparent,
                    int turn);
int DrawGraphicPartStretched(int x1, int y1, int x2, int y2, int sourceX, int sourceY, int sourceWidth,
                             int sourceHeight, int graphic, int transparent);
int DrawBlendGraph(int x, int y, int graphic, int transparent, int blendGraphic, int border, int range);
int DrawRectangle(int x1, int y1, int x2, int y2, uint32_t color, int fill);
int DrawBoxFilled(int x1, int y1, int x2, int y2, uint32_t color);
int DrawBoxOutline(int x1, int y1, int x2, int y2, uint32_t color);
int ClearDrawTarget();
int UpdateGraphicMovie(int graphic);
