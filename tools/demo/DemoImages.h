#pragma once
// The demo game's pictures, drawn here from shapes: tiles, character
// sheets and the window images. Each comes back as the bytes of a 24-bit
// BMP file; the transparent colour is RGB(254, 0, 254).

#include <cstdint>
#include <string>
#include <vector>

// A picture in 0xRRGGBB, filled with the transparent colour.
class Canvas {
 public:
  static constexpr uint32_t kTransparent = 0xFE00FE;

  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  void Set(int x, int y, uint32_t rgb);
  uint32_t Get(int x, int y) const;
  void FillRect(int x, int y, int width, int height, uint32_t rgb);
  void FillEllipse(int centreX, int centreY, int radiusX, int radiusY, uint32_t rgb);
  // The bytes of a top-down 24-bit BMP file.
  std::string Bmp() const;

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

// The tiles, 32 x 32 each, eight to a row, numbered as the map uses them.
enum DemoTile : int32_t {
  kGrassTile = 0,
  kPathTile = 1,
  kTreeTile = 2,
  kWaterTile = 3,
  kFlowerTile = 4,
  kStoneTile = 5,
  kDemoTileCount = 6,
};
std::string DemoTileSheet();

// A character sheet of three patterns by four directions (down, left,
// right, up), 32 x 48 cells: body, head, hair and legs in the colours given.
std::string DemoCharacterSheet(uint32_t body, uint32_t hair, uint32_t legs);

// The window images: the message wait cursor (a vertical strip of four
// frames), the choice window's nine-piece skin and its nine-piece cursor.
std::string DemoWaitCursor();
std::string DemoWindowSkin();
std::string DemoChoiceCursor();
