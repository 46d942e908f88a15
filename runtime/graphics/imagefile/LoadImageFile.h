#pragma once
// Loading an image from a file or from memory through the reader table, with
// an optional alpha companion whose red channel the caller uses as alpha.

#include <cstddef>
#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"

// 0, or -1 when the source cannot be opened or no reader accepts it. With
// mirror every row comes out reversed.
int LoadImageFile(const char* fileName, const void* memory, uint32_t memorySize, int fromMemory, int mirror,
                  GraphImage* image);

// Alpha modes: 0 the companion file named after the image (see
// AlphaCompanionName), 1 the second memory image when given, others none.
// 0 with both images read, 1 with the image only, -1 when the image could
// not be read.
int LoadImageFileWithAlpha(const char* fileName, const void* memory, uint32_t memorySize, int fromMemory,
                           const void* alphaMemory, uint32_t alphaMemorySize, int alphaMode, GraphImage* image,
                           GraphImage* alphaImage, int mirror);

constexpr size_t kCompanionNameSize = 260;
// "_a" before the last "." of the whole name (at the end without one):
// pic.png gives pic_a.png. False, with nothing written, when the result does
// not fit kCompanionNameSize bytes.
bool AlphaCompanionName(const char* fileName, char (&companion)[kCompanionNameSize]);
