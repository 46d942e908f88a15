// What a picture draws: layers by number, fades, zooms about the anchor,
// the rotated path and its rectangle, colours in one or two passes, blend
// indexes, nine-piece frames, the looping map and arguments far out of
// range.

#include <gtest/gtest.h>

#include "tests/engine/presentation/pictures/PictureFixture.h"

namespace {

class PictureDrawTest : public PictureFixture {
 protected:
  void Show(int32_t number, const std::string& file, const PictureShowArguments& a, int32_t zoom = 100) {
    GamePictures.Show(number, number, file, a, zoom, 0, false);
  }
  static uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }
};

TEST_F(PictureDrawTest, NumbersChooseTheirLayer) {
  const std::string file = Solid("dot", 4, 4, 0xFFFFFF);
  const int32_t numbers[] = {-100001, -100000, -99999, -1, 0, 99999, 100000, 250000};
  const int32_t layers[] = {-2, -2, -1, -1, 0, 0, 1, 1};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(PictureLayer(numbers[i]), layers[i]) << numbers[i];
    Show(numbers[i], file, At(static_cast<int32_t>(i) * 10, 0));
  }
  for (int32_t layer = -3; layer <= 2; ++layer) {
    ClearBack();
    GamePictures.Draw(layer);
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_EQ(BackPixel(static_cast<int>(i) * 10, 0), layers[i] == layer ? 0xFFFFFFu : 0u) << numbers[i] << " " << layer;
    }
  }
}

TEST_F(PictureDrawTest, AnEraseWithoutFramesIsGoneBeforeTheDraw) {
  Show(1, Solid("dot", 4, 4, 0xFFFFFF), At(0, 0));
  GamePictures.Erase(1, 1, 0, 0, picture::kNoColor);
  Frame();
  EXPECT_TRUE(GamePictures.pictures.empty());
  EXPECT_EQ(BackPixel(0, 0), 0u);
}

TEST_F(PictureDrawTest, AnEraseFadesOutLinearlyTowardsItsColour) {
  Show(1, Solid("dot", 4, 4, 0xFFFFFF), At(0, 0));
  GamePictures.Erase(1, 1, 30, 0, 0x006464);  // red -255
  const int32_t frames[] = {1, 15, 29};
  int32_t done = 0;
  for (int32_t f : frames) {
    while (done < f) {
      GamePictures.Update();
      ++done;
    }
    DrawAll();
    const int alpha = 255 * (30 - f) / 30;
    const int red = 255 * (30 - f) / 30;  // the red offset reaches -255 with the fade
    EXPECT_NEAR(static_cast<int>(BackPixel(0, 0) >> 16), red * alpha / 255, 2) << f;
    EXPECT_NEAR(static_cast<int>(BackPixel(0, 0) & 0xFF), alpha, 2) << f;
  }
}

TEST_F(PictureDrawTest, ACentredPictureZoomingFrom100To200GrowsAboutItsPosition) {
  PictureShowArguments a = At(100, 100);
  a.anchor = 1;
  Show(1, Solid("box", 40, 20, 0xFFFFFF), a);
  PictureMoveArguments m = MoveTo(100, 100, 10);
  m.zoomX = m.zoomY = 200;
  GamePictures.Move(1, 1, m, 200, 0);
  for (int32_t f = 0; f <= 10; ++f) {
    DrawAll();
    const Picture& p = *Find(1);
    EXPECT_NEAR((p.drawnLeft + p.drawnRight) / 2.0, 100, 1) << f;
    EXPECT_NEAR((p.drawnTop + p.drawnBottom) / 2.0, 100, 1) << f;
    GamePictures.Update();
  }
  EXPECT_EQ(Find(1)->drawnRight - Find(1)->drawnLeft, 80);
}

TEST_F(PictureDrawTest, TheRotatedPathAndItsRectangle) {
  const std::string file = Solid("bar", 40, 20, 0xFFFFFF);
  // A turn that ended at a full circle is still drawn turned: the turned
  // draw zooms both axes by the one zoom.
  PictureShowArguments a = At(100, 100);
  Show(1, file, a);
  PictureMoveArguments turn = MoveTo(100, 100, 2);
  turn.angle = 3600;
  GamePictures.Move(1, 1, turn, picture::kNotGiven, 0);
  GamePictures.Update();
  GamePictures.Update();
  GamePictures.Move(1, 1, [] {
    PictureMoveArguments m = MoveTo(100, 100);
    m.angle = picture::kNotGiven;
    return m;
  }(), 200, PictureList::kZoomHeight);
  Find(1)->angleFrom = 0;
  DrawAll();
  const Picture& p = *Find(1);
  EXPECT_EQ(p.drawnRight - p.drawnLeft, 80) << "zoom y 200 turns both axes";
  EXPECT_EQ(p.drawnBottom - p.drawnTop, 40);

  // A quarter turn: the rectangle is the turned piece's bounding box.
  PictureShowArguments q = At(200, 200);
  q.angle = 900;
  Show(2, file, q);
  DrawAll();
  const Picture& r = *Find(2);
  EXPECT_EQ(r.drawnRight - r.drawnLeft, 20);
  EXPECT_EQ(r.drawnBottom - r.drawnTop, 40);
  EXPECT_EQ((r.drawnLeft + r.drawnRight) / 2, 220);
  EXPECT_EQ((r.drawnTop + r.drawnBottom) / 2, 210);
  EXPECT_EQ(BackPixel(220, 192), 0xFFFFFFu);
  EXPECT_EQ(BackPixel(200, 210), 0u);
  Input.mouseX = 221;
  Input.mouseY = 225;
  EXPECT_EQ(GamePictures.QueryProperty(2, 8), 1);
  Input.mouseX = 205;
  EXPECT_EQ(GamePictures.QueryProperty(2, 8), 0);
}

TEST_F(PictureDrawTest, ColourOffsetsDarkenThroughTheBrightnessAndBrightenInASecondPass) {
  struct Case {
    int32_t color[3];
    uint32_t expected;
  };
  const Case cases[] = {
      {{0, 0, 0}, Rgb(100, 100, 100)},
      {{-255, 0, 0}, Rgb(0, 100, 100)},
      {{100, 0, 0}, Rgb(100 + 100 * 100 / 255, 100, 100)},
      {{-100, 50, 0}, Rgb(100 * 155 / 255, 100 + 100 * 50 / 255, 100)},
  };
  Show(1, Solid("grey", 4, 4, 0x646464), At(0, 0));
  for (const Case& c : cases) {
    std::copy(std::begin(c.color), std::end(c.color), Find(1)->color);
    DrawAll();
    const uint32_t got = BackPixel(1, 1);
    for (int shift : {16, 8, 0}) {
      EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((c.expected >> shift) & 0xFF), 1)
          << c.color[0] << "," << c.color[1] << "," << c.color[2];
    }
  }
}

TEST_F(PictureDrawTest, BlendIndexesOutsideTheTableBlendTranslucently) {
  const std::string file = Solid("dot", 4, 4, 0xFFFFFF);
  for (int32_t blend : {0, 5, 14, -7, INT32_MAX}) {
    PictureShowArguments a = At(0, 0);
    a.opacity = 128;
    Show(1, file, a);
    Find(1)->blend = blend;
    DrawAll();
    EXPECT_NEAR(static_cast<int>(BackPixel(0, 0) & 0xFF), 128, 1) << blend;
  }
  PictureShowArguments add = At(0, 0);
  add.blend = 1;
  Show(1, file, add);
  DrawAll();
  EXPECT_EQ(BackPixel(0, 0), 0xFFFFFFu);
}

TEST_F(PictureDrawTest, PatternsOutsideThePiecesDrawNothing) {
  PictureShowArguments a = At(0, 0);
  a.divX = 2;
  Show(1, Solid("pair", 8, 4, 0xFFFFFF), a);
  for (int32_t pattern : {0, -1, INT32_MIN, 3}) {
    Find(1)->pattern = pattern;
    DrawAll();
    EXPECT_EQ(BackPixel(0, 0), 0u) << pattern;
  }
  Find(1)->pattern = 2;
  DrawAll();
  EXPECT_EQ(BackPixel(0, 0), 0xFFFFFFu);
}

TEST_F(PictureDrawTest, ANinePieceFrameKeepsItsCornersAndStretchesTheRest) {
  PictureShowArguments a = At(10, 10);
  a.divX = 100;
  a.divY = 60;
  GamePictures.Show(1, 1, NineGrid("grid", 8), a, 100, 0, true);
  DrawAll();
  struct Probe {
    int x, y, piece;
  };
  const Probe probes[] = {{10, 10, 0}, {17, 17, 0}, {18, 10, 1}, {101, 17, 1}, {102, 10, 2}, {109, 17, 2},
                          {10, 18, 3}, {60, 40, 4}, {109, 61, 5}, {10, 62, 6}, {60, 69, 7}, {109, 69, 8}};
  for (const Probe& p : probes) EXPECT_EQ(BackPixel(p.x, p.y), NineColor(p.piece)) << p.x << "," << p.y;
  EXPECT_EQ(BackPixel(110, 70), 0u);

  // An image smaller than 3 x 3 has no nine pieces and draws nothing.
  GamePictures.Show(2, 2, Solid("tiny", 2, 2, 0xFFFFFF), At(300, 300), 100, 0, true);
  DrawAll();
  EXPECT_EQ(BackPixel(300, 300), 0u);
}

TEST_F(PictureDrawTest, OnALoopingMapAPictureThatLeftOnTheLeftComesInFromTheRight) {
  PictureShowArguments a = At(0, 0);
  a.blend = picture::kFollowMap;
  Show(1, Solid("dot", 4, 4, 0xFFFFFF), a);
  CurrentMap.scrollX = 4 * 10;
  struct Case {
    int32_t width;
    uint8_t loops;
    int32_t left;
  };
  // A map wider than the screen would put it past the right edge: it
  // stays where it is.
  const Case cases[] = {{20, 1, -10 + 20 * 32}, {25, 1, -10}, {20, 0, -10}};
  for (const Case& c : cases) {
    CurrentMap.mapData.header.width = c.width;
    CurrentMap.loopX = c.loops;
    DrawAll();
    const Picture& p = *Find(1);
    EXPECT_EQ(p.drawnLeft, c.left) << c.width << " " << int{c.loops};
    EXPECT_EQ(p.wrapX, c.left + 10);
    EXPECT_EQ(GamePictures.QueryProperty(1, 0), c.left);
  }
}

TEST_F(PictureDrawTest, ArgumentsFarOutOfRangeDrawWithoutHarm) {
  const std::string file = Solid("dot", 4, 4, 0xFFFFFF);
  const int32_t extremes[] = {INT32_MIN, -2000000000, -1, 2000000000, INT32_MAX};
  for (int32_t v : extremes) {
    PictureShowArguments a = At(v, v, v);
    a.opacity = v;
    a.angle = v;
    a.anchor = v;
    a.color = v;
    Show(1, file, a, v);
    GamePictures.ApplyEffect(1, 1, PictureEffects::kZoom, v, v, v, v);
    GamePictures.ApplyEffect(1, 1, PictureEffects::kShake, v, v, v, v);
    GamePictures.ApplyEffect(1, 1, PictureEffects::kOffset, v, v, v, v);
    Frame();
    GamePictures.Move(1, 1, MoveTo(v, ~v, v), v, 0);
    Frame();
    GamePictures.ShowText(2, 2, "text", At(v, v, v), v, 0);
    Frame();
  }
  SUCCEED();
}

}  // namespace
