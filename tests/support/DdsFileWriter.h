#pragma once
// DDS files and DXT blocks for the image reader tests.

#include <cstdint>
#include <string>

struct DdsFileFields {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t headerFlags = 0x1007;  // caps, height, width, pixel format
  uint32_t pitch = 0;             // used with header flag 0x8
  uint32_t formatFlags = 0;       // 0x1 alpha pixels, 0x4 FourCC, 0x40 RGB
  std::string fourCc;             // four characters, or empty
  uint32_t bitCount = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  std::string data;
};

std::string DdsFile(const DdsFileFields& fields);
constexpr size_t kDdsPitchField = 20;

// A colour block: two 5-6-5 colours and sixteen 2-bit indices (texel i at bits 2i).
std::string DxtColourBlock(uint16_t colour0, uint16_t colour1, uint32_t indices);
// DXT2/3 alpha half: sixteen 4-bit values, texel i at bits 4i.
std::string DxtExplicitAlpha(uint64_t values);
// DXT4/5 alpha half: two ramp ends and sixteen 3-bit indices (texel i at bits 3i).
std::string DxtInterpolatedAlpha(uint8_t alpha0, uint8_t alpha1, uint64_t indices);
