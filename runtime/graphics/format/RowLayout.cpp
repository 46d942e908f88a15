#include "runtime/graphics/format/RowLayout.h"

bool LayOutRows(int width, int height, int bytesPerPixel, int pitch, int alignment, RowLayout* layout) {
  if (width < 0 || height < 0 || pitch < kPaddedPitch) return false;
  const int64_t rowBytes = static_cast<int64_t>(bytesPerPixel) * width;
  const int64_t fullPitch = pitch == kPaddedPitch ? (rowBytes + alignment - 1) & -int64_t{alignment} : pitch;
  // A short pitch would make each row run into the next and the last past the buffer.
  if (height > 0 && fullPitch < rowBytes) return false;
  const int64_t size = fullPitch * height;
  if (fullPitch > INT32_MAX || size > INT32_MAX) return false;
  layout->pitch = static_cast<int32_t>(fullPitch);
  layout->size = static_cast<int32_t>(size);
  return true;
}
