#include "tools/demo/DemoImages.h"

#include <algorithm>

#include "tests/support/BmpFileWriter.h"

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), kTransparent) {}

void Canvas::Set(int x, int y, uint32_t rgb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = rgb;
}

uint32_t Canvas::Get(int x, int y) const {
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Canvas::FillRect(int x, int y, int width, int height, uint32_t rgb) {
  for (int j = y; j < y + height; ++j) {
    for (int i = x; i < x + width; ++i) Set(i, j, rgb);
  }
}

void Canvas::FillEllipse(int centreX, int centreY, int radiusX, int radiusY, uint32_t rgb) {
  for (int j = -radiusY; j <= radiusY; ++j) {
    for (int i = -radiusX; i <= radiusX; ++i) {
      // Inside when (i/rx)^2 + (j/ry)^2 <= 1, in integers.
      if (int64_t{i} * i * radiusY * radiusY + int64_t{j} * j * radiusX * radiusX <=
          int64_t{radiusX} * radiusX * radiusY * radiusY) {
        Set(centreX + i, centreY + j, rgb);
      }
    }
  }
}

std::string Canvas::Bmp() const {
  std::vector<std::vector<uint32_t>> rows;
  for (int y = 0; y < height_; ++y) {
    rows.emplace_back(pixels_.begin() + static_cast<long>(y) * width_, pixels_.begin() + static_cast<long>(y + 1) * width_);
  }
  BmpFileFields fields;
  fields.width = width_;
  fields.height = -height_;
  fields.bitCount = 24;
  fields.data = PackBmpRows(24, rows);
  return BmpFile(fields);
}

namespace {

constexpr int kTile = 32;

// A small fixed pattern so that a field of one tile does not look flat.
bool Speckle(int x, int y, int seed) { return ((x * 7 + y * 13 + seed) * 2654435761u >> 28) == 0; }

void Grass(Canvas& c, int ox, int oy) {
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) c.Set(ox + x, oy + y, Speckle(x, y, 1) ? 0x3C8C2C : 0x50A83C);
  }
}

void DrawTile(Canvas& c, int tile) {
  const int ox = tile % 8 * kTile;
  const int oy = tile / 8 * kTile;
  switch (tile) {
    case kGrassTile:
      Grass(c, ox, oy);
      break;
    case kPathTile:
      for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) c.Set(ox + x, oy + y, Speckle(x, y, 5) ? 0xB89860 : 0xD8BC84);
      }
      break;
    case kTreeTile:  // drawn over the grass of layer 0
      c.FillRect(ox + 13, oy + 20, 6, 12, 0x6B4423);
      c.FillEllipse(ox + 16, oy + 13, 13, 12, 0x1E6B28);
      c.FillEllipse(ox + 12, oy + 10, 5, 4, 0x2F8A3A);
      break;
    case kWaterTile:
      for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) c.Set(ox + x, oy + y, (y + x / 6) % 8 == 0 ? 0x6EB4F0 : 0x2E6EC8);
      }
      break;
    case kFlowerTile:  // drawn over the grass of layer 0
      struct Flower {
        int x, y;
        uint32_t rgb;
      };
      for (const Flower f : {Flower{7, 8, 0xF04060}, Flower{22, 6, 0xF0E040}, Flower{14, 20, 0xF8F8F8},
                             Flower{25, 24, 0xF04060}}) {
        c.FillEllipse(ox + f.x, oy + f.y, 2, 2, f.rgb);
        c.Set(ox + f.x, oy + f.y, 0xF8C000);
      }
      break;
    case kStoneTile:
      c.FillRect(ox, oy, kTile, kTile, 0x8C8C94);
      for (int y = 0; y < kTile; y += 8) {
        c.FillRect(ox, oy + y, kTile, 1, 0x5A5A64);
        const int shift = (y / 8) % 2 * 8;
        for (int x = shift; x < kTile; x += 16) c.FillRect(ox + x, oy + y, 1, 8, 0x5A5A64);
      }
      break;
    default:
      break;
  }
}

}  // namespace

std::string DemoTileSheet() {
  Canvas c(8 * kTile, kTile);
  for (int tile = 0; tile < kDemoTileCount; ++tile) DrawTile(c, tile);
  return c.Bmp();
}

std::string DemoCharacterSheet(uint32_t body, uint32_t hair, uint32_t legs) {
  constexpr int kWidth = 32;
  constexpr int kHeight = 48;
  constexpr uint32_t kSkin = 0xF8D0A8;
  constexpr uint32_t kEye = 0x202020;
  Canvas c(3 * kWidth, 4 * kHeight);
  // Rows: down, left, right, up; patterns: step, stand, other step.
  for (int row = 0; row < 4; ++row) {
    for (int pattern = 0; pattern < 3; ++pattern) {
      const int ox = pattern * kWidth;
      const int oy = row * kHeight;
      const int stride = pattern == 1 ? 0 : (pattern == 0 ? -3 : 3);
      // Legs, body, head, hair, then the eyes that show the direction.
      c.FillRect(ox + 11 + (row == 1 || row == 2 ? stride : 0), oy + 36, 4, 11 - (stride < 0 ? 2 : 0), legs);
      c.FillRect(ox + 17 - (row == 1 || row == 2 ? stride : 0), oy + 36, 4, 11 - (stride > 0 ? 2 : 0), legs);
      c.FillRect(ox + 9, oy + 24, 14, 14, body);
      c.FillEllipse(ox + 16, oy + 16, 8, 8, kSkin);
      c.FillEllipse(ox + 16, oy + 11, 9, 5, hair);
      if (row == 0) {
        c.FillRect(ox + 12, oy + 17, 2, 3, kEye);
        c.FillRect(ox + 18, oy + 17, 2, 3, kEye);
      } else if (row == 1) {
        c.FillRect(ox + 10, oy + 17, 2, 3, kEye);
      } else if (row == 2) {
        c.FillRect(ox + 20, oy + 17, 2, 3, kEye);
      } else {
        c.FillEllipse(ox + 16, oy + 15, 8, 6, hair);
      }
    }
  }
  return c.Bmp();
}

std::string DemoWaitCursor() {
  Canvas c(16, 4 * 16);
  for (int frame = 0; frame < 4; ++frame) {
    const int oy = frame * 16 + (frame == 1 || frame == 2 ? 2 : 0);
    for (int j = 0; j < 6; ++j) c.FillRect(2 + j, oy + 4 + j, 12 - 2 * j, 1, 0xF8F8F8);
  }
  return c.Bmp();
}

std::string DemoWindowSkin() {
  Canvas c(48, 48);
  c.FillRect(0, 0, 48, 48, 0xE8E8F8);
  c.FillRect(2, 2, 44, 44, 0x182860);
  c.FillRect(4, 4, 40, 40, 0x203478);
  return c.Bmp();
}

std::string DemoChoiceCursor() {
  Canvas c(48, 48);
  c.FillRect(0, 0, 48, 48, 0x90A8F0);
  c.FillRect(2, 2, 44, 44, 0x5068C0);
  return c.Bmp();
}
