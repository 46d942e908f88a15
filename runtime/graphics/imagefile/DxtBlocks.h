#pragma once
// Decoding of DXT1 to DXT5 blocks into 32-bit pixels stored as blue, green,
// red, alpha bytes.

#include <cstddef>
#include <cstdint>

// 1 to 5; the block size is 8 bytes for DXT1 and 16 for the others.
int DxtBlockSize(int variant);

// Decodes blocksWide x blocksHigh blocks (row after row) into pixels of the
// given pitch; each block fills a 4 x 4 square. DXT2 and DXT4 colours are
// divided by their alpha (alpha 0 gives colour 0, quotients are limited to 255).
void DecodeDxtBlocks(int variant, const uint8_t* blocks, int64_t blocksWide, int64_t blocksHigh, uint8_t* pixels,
                     int64_t pitch);
