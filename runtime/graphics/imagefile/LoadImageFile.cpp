#include "runtime/graphics/imagefile/LoadImageFile.h"

#include <cstring>

#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

int MirrorInto(GraphImage* image) {
  const size_t size = static_cast<size_t>(int64_t{image->pitch} * image->height);
  auto* mirrored = static_cast<uint8_t*>(TrackedAlloc(size, __FILE__, __LINE__));
  if (mirrored == nullptr) return -1;
  const IntRect whole{0, 0, image->width, image->height};
  if (ConvertImagePixels(mirrored, image->pitch, image->format, image->pixels, image->pitch, image->format, nullptr, 0,
                         nullptr, 0, 0, whole, 1, 0, 0, 0, 0, 0, 0) < 0) {
    TrackedFree(mirrored);
    return -1;
  }
  TrackedFree(image->pixels);
  image->pixels = mirrored;
  return 0;
}

}  // namespace

int LoadImageFile(const char* fileName, const void* memory, uint32_t memorySize, int fromMemory, int mirror,
                  GraphImage* image) {
  ImageStream stream{};
  if (fromMemory) {
    if (memory == nullptr && memorySize > 0) return -1;
    MemStream* memoryStream = MemStreamOpen(memory, memorySize);
    if (memoryStream == nullptr) return -1;
    stream = {GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memoryStream)};
  } else {
    if (fileName == nullptr) return -1;
    const FileHandle file = FileOpenVia(fileName, 0, 0, 0);
    if (file == 0) return -1;
    stream = {GetFileStreamOps(), file};
  }
  GraphImage local;
  const int read = ReadImageAnyFormat(stream, &local);
  stream.ops->close(stream.handle);
  if (read != 0) return -1;
  if (mirror && MirrorInto(&local) != 0) {
    FreeGraphImage(&local);
    return -1;
  }
  *image = local;
  return 0;
}

bool AlphaCompanionName(const char* fileName, char (&companion)[kCompanionNameSize]) {
  const size_t length = std::strlen(fileName);
  if (length + 3 > kCompanionNameSize) return false;
  // '.' is never the second byte of a Shift-JIS character, so a byte search is safe.
  const char* dot = std::strrchr(fileName, '.');
  const size_t at = dot != nullptr ? static_cast<size_t>(dot - fileName) : length;
  std::memcpy(companion, fileName, at);
  std::memcpy(companion + at, "_a", 2);
  std::memcpy(companion + at + 2, fileName + at, length - at + 1);
  return true;
}

int LoadImageFileWithAlpha(const char* fileName, const void* memory, uint32_t memorySize, int fromMemory,
                           const void* alphaMemory, uint32_t alphaMemorySize, int alphaMode, GraphImage* image,
                           GraphImage* alphaImage, int mirror) {
  if (LoadImageFile(fileName, memory, memorySize, fromMemory, mirror, image) != 0) return -1;
  if (alphaMode == 0) {
    char companion[kCompanionNameSize];
    if (fileName == nullptr || !AlphaCompanionName(fileName, companion)) return 1;
    return LoadImageFile(companion, nullptr, 0, 0, mirror, alphaImage) == 0 ? 0 : 1;
  }
  if (alphaMode == 1 && alphaMemory != nullptr) {
    return LoadImageFile(nullptr, alphaMemory, alphaMemorySize, 1, mirror, alphaImage) == 0 ? 0 : 1;
  }
  return 1;
}
