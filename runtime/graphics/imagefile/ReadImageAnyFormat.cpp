#include <cstring>

#include "runtime/graphics/imagefile/ImageReaders.h"

const ImageReader ImageReaderTable[] = {ReadBmpImage, ReadJpegImage, ReadPngImage, ReadBgraImage,
                                        ReadTgaImage, ReadDdsImage,  nullptr};

int ReadImageAnyFormat(const ImageStream& stream, GraphImage* image) {
  for (const ImageReader* reader = ImageReaderTable; *reader != nullptr; ++reader) {
    SeekStream(stream, 0, 0);
    std::memset(image, 0, sizeof(*image));
    if ((*reader)(stream, image) == 0) return 0;
  }
  return -1;
}
