#include "tests/support/PixelImage.h"

#include <algorithm>

#include "tests/support/BmpFileWriter.h"

PixelImage::PixelImage(int32_t width, int32_t height, uint32_t rgb)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), rgb) {}

void PixelImage::FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb) {
  const int32_t left = std::max(0, x);
  const int32_t top = std::max(0, y);
  const int32_t right = std::min(width_, x + width);
  const int32_t bottom = std::min(height_, y + height);
  for (int32_t row = top; row < bottom; ++row) {
    for (int32_t column = left; column < right; ++column) pixels_[Index(column, row)] = rgb;
  }
}

void PixelImage::FrameRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb) {
  FillRect(x, y, width, 1, rgb);
  FillRect(x, y + height - 1, width, 1, rgb);
  FillRect(x, y, 1, height, rgb);
  FillRect(x + width - 1, y, 1, height, rgb);
}

std::string PixelImage::ToBmp() const {
  std::vector<std::vector<uint32_t>> rows;
  rows.reserve(static_cast<size_t>(height_));
  for (int32_t y = 0; y < height_; ++y) {
    rows.emplace_back(pixels_.begin() + static_cast<long>(Index(0, y)), pixels_.begin() + static_cast<long>(Index(0, y) + static_cast<size_t>(width_)));
  }
  BmpFileFields fields;
  fields.width = width_;
  fields.height = -height_;  // top row first
  fields.bitCount = 24;
  fields.data = PackBmpRows(24, rows);
  return BmpFile(fields);
}
