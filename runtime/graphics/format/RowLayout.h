#pragma once
// Where the rows of an image lie in its buffer: the pitch and the size of
// the whole buffer, both held in 32 bits.

#include <cstdint>

struct RowLayout {
  int32_t pitch;  // bytes from one row to the next
  int32_t size;   // pitch x height
};

// Pads each row to a multiple of the alignment.
constexpr int kPaddedPitch = -1;

// Rows of width pixels of bytesPerPixel bytes, height of them. pitch is
// kPaddedPitch or a byte count, which is kept. False (and the layout left
// alone) for a negative size, a pitch below -1 or too short for a row, and a
// pitch or size that 32 bits cannot hold. alignment is a power of two.
bool LayOutRows(int width, int height, int bytesPerPixel, int pitch, int alignment, RowLayout* layout);
