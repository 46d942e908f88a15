#pragma once
// A rectangle in whole pixels: left and top inside, right and bottom outside.

#include <cstdint>

struct IntRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// The part of an area that lies inside one piece of a cut graphic. The area
// is `source` of an image placed with its corner at (x, y); the piece covers
// pieceWidth x pieceHeight pixels from (pieceX, pieceY). Gives false when
// they do not meet; else the source rectangle inside the piece and where it
// lands, relative to the piece's corner. 64-bit so no sum wraps.
struct PieceCut {
  IntRect source;
  int32_t x;
  int32_t y;
};

inline bool CutAreaToPiece(const IntRect& source, int32_t x, int32_t y, int32_t pieceX, int32_t pieceY,
                           int32_t pieceWidth, int32_t pieceHeight, PieceCut* cut) {
  const int64_t width = int64_t{source.right} - source.left;
  const int64_t height = int64_t{source.bottom} - source.top;
  const int64_t left = x > pieceX ? x : pieceX;
  const int64_t top = y > pieceY ? y : pieceY;
  const int64_t areaRight = int64_t{x} + width, pieceRight = int64_t{pieceX} + pieceWidth;
  const int64_t areaBottom = int64_t{y} + height, pieceBottom = int64_t{pieceY} + pieceHeight;
  const int64_t right = areaRight < pieceRight ? areaRight : pieceRight;
  const int64_t bottom = areaBottom < pieceBottom ? areaBottom : pieceBottom;
  if (right <= left || bottom <= top) return false;
  const int64_t sourceLeft = source.left + (left - x);
  const int64_t sourceTop = source.top + (top - y);
  cut->source = {static_cast<int32_t>(sourceLeft), static_cast<int32_t>(sourceTop),
                 static_cast<int32_t>(sourceLeft + (right - left)), static_cast<int32_t>(sourceTop + (bottom - top))};
  cut->x = static_cast<int32_t>(left - pieceX);
  cut->y = static_cast<int32_t>(top - pieceY);
  return true;
}
