#include "runtime/graphics/imagefile/DxtBlocks.h"

#include <cstring>

#include "runtime/LittleEndian.h"

namespace {

// Entries as 0xAARRGGBB, which little-endian stores as blue, green, red, alpha.
uint32_t Pack(uint32_t r, uint32_t g, uint32_t b, uint32_t a) { return a << 24 | r << 16 | g << 8 | b; }

void ColourEntries(const uint8_t* block, bool dxt1, uint32_t entries[4]) {
  const uint16_t c0 = ReadLe16(block);
  const uint16_t c1 = ReadLe16(block + 2);
  const uint32_t r0 = (c0 >> 11) * 255 / 31, g0 = (c0 >> 5 & 63) * 255 / 63, b0 = (c0 & 31) * 255 / 31;
  const uint32_t r1 = (c1 >> 11) * 255 / 31, g1 = (c1 >> 5 & 63) * 255 / 63, b1 = (c1 & 31) * 255 / 31;
  entries[0] = Pack(r0, g0, b0, 255);
  entries[1] = Pack(r1, g1, b1, 255);
  if (!dxt1 || c0 > c1) {
    entries[2] = Pack((2 * r0 + r1) / 3, (2 * g0 + g1) / 3, (2 * b0 + b1) / 3, 255);
    entries[3] = Pack((r0 + 2 * r1) / 3, (g0 + 2 * g1) / 3, (b0 + 2 * b1) / 3, 255);
  } else {
    const uint32_t middle = Pack((r0 + r1) / 2, (g0 + g1) / 2, (b0 + b1) / 2, 0);
    entries[2] = middle | 0xFF000000u;
    entries[3] = middle;
  }
}

void AlphaRamp(uint32_t a0, uint32_t a1, uint8_t ramp[8]) {
  ramp[0] = static_cast<uint8_t>(a0);
  ramp[1] = static_cast<uint8_t>(a1);
  if (a1 < a0) {
    for (uint32_t i = 1; i <= 6; ++i) ramp[i + 1] = static_cast<uint8_t>(((7 - i) * a0 + i * a1) / 7);
  } else {
    for (uint32_t i = 1; i <= 4; ++i) ramp[i + 1] = static_cast<uint8_t>(((5 - i) * a0 + i * a1) / 5);
    ramp[6] = 0;
    ramp[7] = 255;
  }
}

// Colour = channel x 255 / alpha, limited to 255; alpha 0 gives 0.
uint32_t Unpremultiply(uint32_t pixel) {
  const uint32_t a = pixel >> 24;
  if (a == 0) return 0;
  uint32_t out = pixel & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t c = (pixel >> shift & 0xFF) * 255 / a;
    out |= (c > 255 ? 255 : c) << shift;
  }
  return out;
}

void DecodeBlock(int variant, const uint8_t* block, uint8_t* pixels, int64_t pitch) {
  const uint8_t* colour = variant == 1 ? block : block + 8;
  uint32_t entries[4];
  ColourEntries(colour, variant == 1, entries);
  uint32_t texels[16];
  const uint32_t indices = ReadLe32(colour + 4);
  for (int i = 0; i < 16; ++i) texels[i] = entries[indices >> (2 * i) & 3];

  if (variant == 2 || variant == 3) {
    const uint64_t alpha = ReadLe64(block);
    for (int i = 0; i < 16; ++i) {
      texels[i] = (texels[i] & 0x00FFFFFFu) | static_cast<uint32_t>((alpha >> (4 * i) & 15) * 17) << 24;
    }
  } else if (variant == 4 || variant == 5) {
    uint8_t ramp[8];
    AlphaRamp(block[0], block[1], ramp);
    const uint64_t bits = ReadLe64(block) >> 16;
    for (int i = 0; i < 16; ++i) {
      texels[i] = (texels[i] & 0x00FFFFFFu) | static_cast<uint32_t>(ramp[bits >> (3 * i) & 7]) << 24;
    }
  }
  if (variant == 2 || variant == 4) {
    for (uint32_t& t : texels) t = Unpremultiply(t);
  }
  for (int y = 0; y < 4; ++y) {
    uint8_t* row = pixels + y * pitch;
    for (int x = 0; x < 4; ++x) WriteLe32(row + 4 * x, texels[4 * y + x]);
  }
}

}  // namespace

int DxtBlockSize(int variant) { return variant == 1 ? 8 : 16; }

void DecodeDxtBlocks(int variant, const uint8_t* blocks, int64_t blocksWide, int64_t blocksHigh, uint8_t* pixels,
                     int64_t pitch) {
  const int size = DxtBlockSize(variant);
  for (int64_t by = 0; by < blocksHigh; ++by) {
    for (int64_t bx = 0; bx < blocksWide; ++bx) {
      DecodeBlock(variant, blocks, pixels + by * 4 * pitch + bx * 16, pitch);
      blocks += size;
    }
  }
}
