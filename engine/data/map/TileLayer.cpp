#include "engine/data/map/TileLayer.h"

#include <algorithm>

void TileLayer::Resize(size_t width, size_t height, size_t keptWidth, size_t keptHeight, int32_t fill) {
  keptWidth = std::min({keptWidth, width, width_});
  keptHeight = std::min({keptHeight, height, height_});
  if (keptWidth == 0 || keptHeight == 0) {
    cells_.assign(width * height, fill);
  } else {
    std::vector<int32_t> cells(width * height, fill);
    for (size_t x = 0; x < keptWidth; ++x) {
      std::copy_n(cells_.begin() + static_cast<std::ptrdiff_t>(x * height_), keptHeight,
                  cells.begin() + static_cast<std::ptrdiff_t>(x * height));
    }
    cells_ = std::move(cells);
  }
  width_ = width;
  height_ = height;
}
