#pragma once
// PNG and JPEG files made with libpng and libjpeg at test time, for the
// reader tests, the benchmarks and the fuzz seeds.

#include <cstdint>
#include <string>
#include <vector>

struct PngFixtureFields {
  uint32_t width = 0;
  uint32_t height = 0;
  int colourType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint32_t> palette;         // 0x00RRGGBB
  std::vector<uint8_t> paletteAlpha;     // tRNS of a palette image
  int greyTransparent = -1;              // tRNS of a grey image
  std::string rows;                      // height rows of packed samples, no filter bytes
  int compressionLevel = 6;
};

std::string EncodePngFixture(const PngFixtureFields& fields);

// components 1 (grey), 3 (RGB) or 4 (CMYK); pixels row after row.
std::string EncodeJpegFixture(uint32_t width, uint32_t height, int components, const std::string& pixels,
                              int quality = 90, bool progressive = false);

// The library's own decode of a PNG (RGB or RGBA rows, as it stores them)
// and of a JPEG (RGB or grey rows), for comparisons.
std::string DecodePngWithLibrary(const std::string& file, bool* hasAlpha = nullptr);
std::string DecodeJpegWithLibrary(const std::string& file, int* components = nullptr);
