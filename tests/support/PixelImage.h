#pragma once
// Small RGB pictures drawn by the tests themselves (rectangles of colour on
// a background), written as 24-bit BMP files for the image loaders. The
// transparent colour of the game's images is RGB(254, 0, 254).

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kTransparentRgb = 0xFE00FE;

class PixelImage {
 public:
  PixelImage(int32_t width, int32_t height, uint32_t rgb = kTransparentRgb);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  uint32_t At(int32_t x, int32_t y) const { return pixels_[Index(x, y)]; }
  void Set(int32_t x, int32_t y, uint32_t rgb) { pixels_[Index(x, y)] = rgb; }
  // Clipped to the picture.
  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb);
  // A one-pixel outline inside the rectangle.
  void FrameRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rgb);

  std::string ToBmp() const;

 private:
  size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }

  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;
};
