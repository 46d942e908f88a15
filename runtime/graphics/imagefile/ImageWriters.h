#pragma once
// Writing a GraphImage as a BMP, PNG or JPEG file. Each writes a temporary
// file beside the target and renames it over the old file only when every
// write and the close succeeded: 0, or -1 with the old file intact.

#include "runtime/graphics/format/GraphImage.h"

// 8-bit images keep their palette; 16, 24 and 32-bit images are written as
// 24 bits. Other depths are refused.
int SaveGraphImageBmp(const char* fileName, const GraphImage& image);
// RGB, 8 bits per channel, with the zlib compression level given.
int SaveGraphImagePng(const char* fileName, const GraphImage& image, int compressionLevel);
// RGB with the quality given (baseline quantisation tables).
int SaveGraphImageJpeg(const char* fileName, const GraphImage& image, int quality);
