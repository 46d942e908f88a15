#include "tests/engine/presentation/map/MapTestImages.h"

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF); }

uint32_t Darker(uint32_t rgb) { return (rgb >> 1) & 0x7F7F7F; }

uint32_t Shade(uint32_t rgb, int32_t step) {
  const auto channel = [&](int shift) {
    const int32_t v = static_cast<int32_t>(rgb >> shift & 0xFF) + step;
    return static_cast<uint32_t>(v < 0 ? 0 : v > 253 ? 253 : v);
  };
  return Rgb(channel(16), channel(8), channel(0));
}

}  // namespace

PixelImage TileSetImage(int32_t t) {
  PixelImage image(8 * t, 4 * t);
  for (int32_t v = 0; v < 32; ++v) {
    const int32_t x = v % 8 * t;
    const int32_t y = v / 8 * t;
    const uint32_t colour = Rgb(60 + v * 37 % 160, 60 + v * 73 % 160, 60 + v * 19 % 160);
    switch (v / 8) {
      case 0:
        image.FillRect(x, y, t, t, colour);
        image.FrameRect(x, y, t, t, Darker(colour));
        image.FillRect(x + v % 8 * 3 + 2, y + 2, 3, 3, 0xFFFFFF);
        break;
      case 1:
        image.FillRect(x + t / 4, y + t / 8, t / 2, t / 2, colour);
        image.FillRect(x + t / 2 - 2, y + t / 2, 4, t / 2 - 2, Darker(colour));
        break;
      case 2:
        image.FillRect(x, y, t, t, colour);
        for (int32_t k = 0; k < t; k += 4) image.FillRect(x, y + k, t, 2, Darker(colour));
        break;
      default:
        image.FillRect(x, y + t / 2, t, t / 2, colour);
        for (int32_t k = 2; k < t; k += 6) image.FillRect(x + k, y + t / 4, 2, t / 4, colour);
        break;
    }
  }
  return image;
}

PixelImage AutotileImage(int32_t t, int32_t frames, uint32_t rgb) {
  const int32_t half = t / 2;
  PixelImage image(frames * t, 5 * t);
  for (int32_t d = 0; d < 5; ++d) {
    const uint32_t rowColour = Shade(rgb, d * 30 - 60);
    for (int32_t f = 0; f < frames; ++f) {
      for (int32_t q = 0; q < 4; ++q) {
        const int32_t x = f * t + q % 2 * half;
        const int32_t y = d * t + q / 2 * half;
        const uint32_t colour = Shade(rowColour, q * 12);
        image.FillRect(x, y, half, half, colour);
        image.FrameRect(x, y, half, half, Darker(colour));
        for (int32_t dot = 0; dot <= f; ++dot) image.FillRect(x + 2 + dot * 3, y + 2, 2, 2, 0xFFFFFF);
      }
    }
  }
  return image;
}

PixelImage SheetImage(int32_t columns, int32_t cellWidth, int32_t cellHeight, uint32_t bodyRgb) {
  PixelImage image(columns * cellWidth, 4 * cellHeight);
  const uint32_t rowColours[4] = {Shade(bodyRgb, 0), Shade(bodyRgb, 50), Shade(bodyRgb, -50),
                                  Shade(bodyRgb ^ 0x3F3F00, 0)};
  for (int32_t r = 0; r < 4; ++r) {
    for (int32_t c = 0; c < columns; ++c) {
      const int32_t x = c * cellWidth;
      const int32_t y = r * cellHeight;
      const uint32_t body = c >= columns / 2 && columns > 1 ? Darker(rowColours[r]) : rowColours[r];
      const int32_t headTop = cellHeight / 12;
      const int32_t bodyTop = cellHeight / 3;
      image.FillRect(x + cellWidth / 4 + 2, y + headTop, cellWidth / 2 - 4, bodyTop - headTop, 0xF0C8A0);
      image.FillRect(x + cellWidth / 4, y + bodyTop, cellWidth / 2, cellHeight - bodyTop - 1, body);
      image.FrameRect(x + cellWidth / 4, y + bodyTop, cellWidth / 2, cellHeight - bodyTop - 1, Darker(body));
      for (int32_t mark = 0; mark <= c % 8; ++mark) {
        image.FillRect(x + cellWidth / 4 + 1 + mark * 2, y + cellHeight - 5, 1, 3, 0xFFFFFF);
      }
    }
  }
  return image;
}

PixelImage ShadowImage(int32_t columns, int32_t cellWidth, int32_t cellHeight) {
  PixelImage image(columns * cellWidth, 4 * cellHeight);
  for (int32_t r = 0; r < 4; ++r) {
    for (int32_t c = 0; c < columns; ++c) {
      const int32_t x = c * cellWidth;
      const int32_t y = r * cellHeight;
      image.FillRect(x + 4, y + 2, cellWidth - 8, cellHeight - 4, 0x202020);
      image.FillRect(x + 2, y + 4, cellWidth - 4, cellHeight - 8, 0x202020);
    }
  }
  return image;
}

PixelImage PanoramaImage(int32_t width, int32_t height) {
  PixelImage image(width, height, 0);
  for (int32_t y = 0; y < height; ++y) {
    image.FillRect(0, y, width, 1, Rgb(40 + y * 120 / height, 80 + y * 100 / height, 200 - y * 80 / height));
  }
  for (int32_t x = 0; x < width; x += 40) image.FillRect(x, 0, 1, height, 0xE0E0E0);
  for (int32_t y = 0; y < height; y += 40) image.FillRect(0, y, width, 1, 0xE0E0E0);
  image.FillRect(0, 0, 12, 12, 0xFF2020);  // the image's own corner
  return image;
}

PixelImage FogImage(int32_t width, int32_t height) {
  PixelImage image(width, height, 0xC0C0C8);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if ((x + y) / 24 % 2 == 0) image.Set(x, y, 0x9090A0);
    }
  }
  return image;
}
