#pragma once
// The pictures of the map drawing tests, drawn by the tests themselves: a
// tile set, an animated autotile, character sheets of every layout, a
// shadow, and a panorama and a fog. Every cell differs from its neighbours
// in a way a look at the frame shows (colour by row, marks by column).

#include <cstdint>

#include "tests/support/PixelImage.h"

// 8 x 4 tiles of t x t: 0-7 ground (opaque), 8-15 objects on the
// transparent colour, 16-23 wall tops (opaque, striped), 24-31 tall grass
// (the lower half filled).
PixelImage TileSetImage(int32_t t);
// An autotile of `frames` animation frames side by side and five tile rows;
// every quarter tile has a shade of its own and frame f carries f + 1 dots.
PixelImage AutotileImage(int32_t t, int32_t frames, uint32_t rgb);
// A sheet of `columns` x 4 cells of cellWidth x cellHeight: a figure whose
// body colour tells the row, darker in the right half of an eight-direction
// sheet, with column + 1 white marks at its feet.
PixelImage SheetImage(int32_t columns, int32_t cellWidth, int32_t cellHeight, uint32_t bodyRgb);
// A shadow sheet: a dark flat oval in every cell.
PixelImage ShadowImage(int32_t columns, int32_t cellWidth, int32_t cellHeight);
// A far view: bands of colour with a grid every 40 pixels.
PixelImage PanoramaImage(int32_t width, int32_t height);
// Fog: soft diagonal stripes.
PixelImage FogImage(int32_t width, int32_t height);
