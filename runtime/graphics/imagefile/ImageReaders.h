#pragma once
// The image readers. Each takes the stream at its start and an image record
// cleared to zero; 0 when it accepted the data and filled the image (format,
// size, pitch, pixels owned by the image), -1 otherwise with everything it
// allocated freed. A reader is never chosen by the file's extension.

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/imagefile/ImageStream.h"

using ImageReader = int (*)(const ImageStream& stream, GraphImage* image);

int ReadBmpImage(const ImageStream& stream, GraphImage* image);
int ReadJpegImage(const ImageStream& stream, GraphImage* image);
int ReadPngImage(const ImageStream& stream, GraphImage* image);
int ReadBgraImage(const ImageStream& stream, GraphImage* image);
int ReadTgaImage(const ImageStream& stream, GraphImage* image);
int ReadDdsImage(const ImageStream& stream, GraphImage* image);

// Tried in this order; null-terminated.
extern const ImageReader ImageReaderTable[];

// Every reader in turn on the same stream, rewound and with the record
// cleared before each; 0 at the first that accepts, -1 when none does.
int ReadImageAnyFormat(const ImageStream& stream, GraphImage* image);
