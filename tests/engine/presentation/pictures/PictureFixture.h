#pragma once
// The running layer of the rich-text fixture with an empty picture list and
// picture file table, no map (scroll 0, no loops), frame step 1, and image
// files written below the Data folder on demand: solid colours, a
// coordinate image whose every pixel tells where it lies, and a 3 x 3 grid
// of colours for nine-piece frames.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"
#include "tests/engine/presentation/RichTextFixture.h"
#include "tests/support/BmpFileWriter.h"

class PictureFixture : public RichTextFixture {
 protected:
  void SetUp() override {
    RichTextFixture::SetUp();
    GamePictures = PictureList();
    PictureFiles = PictureFileTable();
    CurrentMap = MapScene();
    graphicsAtStart = GetGraphicCount();
  }
  void TearDown() override {
    GamePictures.Clear(true);
    CurrentMap = MapScene();
    RichTextFixture::TearDown();
  }

  // A 24-bit BMP of the size whose pixel (x, y) has the colour rgb(x, y).
  static std::string Bmp(int32_t width, int32_t height, const std::function<uint32_t(int32_t, int32_t)>& rgb) {
    std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(height), std::vector<uint32_t>(static_cast<size_t>(width)));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = rgb(x, y);
    }
    BmpFileFields fields;
    fields.width = width;
    fields.height = -height;
    fields.data = PackBmpRows(24, rows);
    return BmpFile(fields);
  }

  // Writes Data\Picture\<name>.bmp and gives the name a show takes.
  std::string Image(const std::string& name, int32_t width, int32_t height,
                    const std::function<uint32_t(int32_t, int32_t)>& rgb) {
    dir.Write("Data/Picture/" + name + ".bmp", Bmp(width, height, rgb));
    return "Picture\\" + name + ".bmp";
  }
  std::string Solid(const std::string& name, int32_t width, int32_t height, uint32_t rgb) {
    return Image(name, width, height, [rgb](int32_t, int32_t) { return rgb; });
  }
  // Red is x, green is y.
  std::string Coordinates(const std::string& name, int32_t width, int32_t height) {
    return Image(name, width, height, [](int32_t x, int32_t y) { return static_cast<uint32_t>(x << 16 | y << 8); });
  }
  // Nine blocks of `cell` pixels, block k (row by row) coloured NineColor(k).
  static uint32_t NineColor(int32_t k) { return static_cast<uint32_t>(0x202020 * (k + 1)) & 0xFFFFFF; }
  std::string NineGrid(const std::string& name, int32_t cell) {
    return Image(name, 3 * cell, 3 * cell, [cell](int32_t x, int32_t y) { return NineColor(y / cell * 3 + x / cell); });
  }

  // Show arguments of a picture at (x, y), fully opaque, no transition.
  static PictureShowArguments At(int32_t x, int32_t y, int32_t frames = 0) {
    PictureShowArguments a;
    a.x = x;
    a.y = y;
    a.frames = frames;
    return a;
  }
  static PictureMoveArguments MoveTo(int32_t x, int32_t y, int32_t frames = 0) {
    PictureMoveArguments a;
    a.x = x;
    a.y = y;
    a.frames = frames;
    a.pattern = picture::kNotGiven;
    a.opacity = picture::kNotGiven;
    a.blend = picture::kKeepBlend;
    a.angle = picture::kNotGiven;
    a.color = picture::kNoColor;
    return a;
  }

  static Picture* Find(int32_t number) {
    for (Picture& p : GamePictures.pictures) {
      if (p.number == number) return &p;
    }
    return nullptr;
  }
  static std::vector<int32_t> Numbers() {
    std::vector<int32_t> numbers;
    for (const Picture& p : GamePictures.pictures) numbers.push_back(p.number);
    return numbers;
  }
  // One frame of the pictures, then a draw of every layer on a black screen.
  static void Frame() {
    GamePictures.Update();
    DrawAll();
  }
  static void DrawAll() {
    ClearBack();
    for (int32_t layer = -2; layer <= 1; ++layer) GamePictures.Draw(layer);
  }
  static void SetFrameStep(int32_t step) { GameInformation.settingBytes[GameInfo::kFramesPerSecond] = static_cast<uint8_t>(60 / step); }

  int graphicsAtStart = 0;
};
