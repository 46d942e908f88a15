// The effects' counters and the values the drawing folds in each frame.

#include <gtest/gtest.h>

#include "tests/engine/presentation/pictures/PictureFixture.h"

namespace {

// `n` frames of the effects.
void Advance(PictureEffects& e, int32_t n) {
  for (int32_t i = 0; i < n; ++i) e.Advance();
}

TEST(PictureEffects, AFlashStartsAtFullStrengthAndFadesAway) {
  PictureEffects e;
  e.Apply(PictureEffects::kFlash, 100, 100, 100, 30);
  // (200 - 100) x 2.55 is a hair below 255 in binary: truncated, 254.
  EXPECT_EQ(e.Current().colorOffsets, (std::array<int32_t, 3>{254, 254, 254}));
  Advance(e, 15);
  EXPECT_EQ(e.Current().colorOffsets[0], 127);
  Advance(e, 15);
  EXPECT_EQ(e.Current().colorOffsets, (std::array<int32_t, 3>{0, 0, 0}));

  PictureEffects none;
  none.Apply(PictureEffects::kFlash, 100, 100, 100, 0);
  EXPECT_EQ(none.Current().colorOffsets, (std::array<int32_t, 3>{0, 0, 0})) << "0 frames: no flash";
}

TEST(PictureEffects, ATintStaysAndTheNextStartsFromIt) {
  PictureEffects e;
  e.Apply(PictureEffects::kTint, 100, -100, 0, 0);
  EXPECT_EQ(e.Current().colorOffsets, (std::array<int32_t, 3>{254, -254, 0}));
  Advance(e, 100);
  EXPECT_EQ(e.Current().colorOffsets, (std::array<int32_t, 3>{254, -254, 0}));
  e.Apply(PictureEffects::kTint, 0, 0, 0, 60);
  EXPECT_EQ(e.tintFrom, 200 * 65536 + 0 * 256 + 100);
  Advance(e, 30);
  EXPECT_EQ(e.Current().colorOffsets, (std::array<int32_t, 3>{127, -127, 0}));
  Advance(e, 30);
  EXPECT_EQ(e.Current().colorOffsets, (std::array<int32_t, 3>{0, 0, 0})) << "back to the picture's own colours";

  e.Apply(PictureEffects::kTint, 500, -500, 7, 0);
  EXPECT_EQ(e.tint, 200 * 65536 + 0 * 256 + 107) << "clamped to -100..100";
}

TEST(PictureEffects, AnOffsetSlidesAndASecondStartsWhereTheFirstHadGot) {
  PictureEffects e;
  e.Apply(PictureEffects::kOffset, 40, 0, 99, 20);
  EXPECT_EQ(e.Current().offsetX, 0);
  Advance(e, 1);
  EXPECT_EQ(e.Current().offsetX, 2);
  Advance(e, 9);
  EXPECT_EQ(e.Current().offsetX, 20);
  e.Apply(PictureEffects::kOffset, 0, 10, 0, 10);
  EXPECT_EQ(e.Current().offsetX, 20);
  Advance(e, 10);
  EXPECT_EQ(e.Current().offsetX, 0);
  EXPECT_EQ(e.Current().offsetY, 10);
}

TEST(PictureEffects, AShakeSwingsOutAndBackOnAlternatingSides) {
  PictureEffects e;
  e.Apply(PictureEffects::kShake, 8, 0, 3, 4);
  std::vector<int32_t> path;
  for (int32_t f = 0; f < 26; ++f) {
    path.push_back(e.Current().offsetX);
    e.Advance();
  }
  const std::vector<int32_t> expected = {0, 2, 4, 6, 8, 6, 4, 2,        // right
                                         0, -2, -4, -6, -8, -6, -4, -2,  // left
                                         0, 2, 4, 6, 8, 6, 4, 2,        // right
                                         0, 0};
  EXPECT_EQ(path, expected);
  EXPECT_EQ(e.shakeCount, 0);
  EXPECT_EQ(e.Current().offsetY, 0);

  for (int32_t period : {0, -5}) {
    PictureEffects short_;
    short_.Apply(PictureEffects::kShake, 8, 8, 2, period);
    EXPECT_EQ(short_.shakePeriod, 1) << "a period below one frame counts as one";
    Advance(short_, 4);
    EXPECT_EQ(short_.shakeCount, 0);
  }
}

TEST(PictureEffects, AZoomGrowsAboutItsPointAndShrinksBackAboutTheSamePoint) {
  PictureEffects e;
  e.Apply(PictureEffects::kZoom, 320, 240, 200, 60);
  PictureEffects::Values v = e.Current();
  EXPECT_EQ(v.zoom, 100);
  EXPECT_EQ(v.zoomCenterX, 320) << "an unzoomed picture starts about the new point";
  Advance(e, 30);
  EXPECT_EQ(e.Current().zoom, 150);
  Advance(e, 30);
  EXPECT_EQ(e.effectZoomFrom, 200);
  e.Apply(PictureEffects::kZoom, 320, 240, 100, 60);
  Advance(e, 30);
  v = e.Current();
  EXPECT_EQ(v.zoom, 150);
  EXPECT_EQ(v.zoomCenterX, 320);
  Advance(e, 30);
  EXPECT_EQ(e.Current().zoom, 100);
}

TEST(PictureEffects, TotalsOfZeroWithFramesLeftDivideByOne) {
  // As a saved game may bring them.
  PictureEffects e;
  e.tint = 0x000000;
  e.tintFrom = 0xC8C8C8;
  e.tintLeft = 5;
  e.effectZoom = 300;
  e.effectZoomLeft = 5;
  e.offsetX = 10;
  e.offsetLeft = 5;
  const PictureEffects::Values v = e.Current();
  EXPECT_EQ(v.colorOffsets[0], TruncateToInt32((0 + (200 - 0) * 5 - 100) * 2.55));
  EXPECT_EQ(v.zoom, 300 + (100 - 300) * 5);
  EXPECT_EQ(v.offsetX, 10 - 10 * 5);
}

class PictureEffectsOnPictures : public PictureFixture {};

TEST_F(PictureEffectsOnPictures, EffectsReachOnlyTheRangeAndStandStillWhileThePictureFades) {
  const std::string file = Solid("dot", 4, 4, 0xFFFFFF);
  GamePictures.Show(1, 3, file, At(0, 0), 100, 0, false);
  GamePictures.ApplyEffect(2, 9, PictureEffects::kOffset, 30, 0, 0, 30);
  GamePictures.ApplyEffect(2, 1, PictureEffects::kOffset, 99, 0, 0, 1);  // first above last: nothing
  EXPECT_EQ(Find(1)->effects.offsetX, 0);
  EXPECT_EQ(Find(3)->effects.offsetX, 30);
  GamePictures.Erase(2, 2, 20, 0, picture::kNoColor);
  for (int32_t f = 0; f < 10; ++f) GamePictures.Update();
  EXPECT_EQ(Find(2)->effects.offsetLeft, 30) << "frozen while erasing";
  EXPECT_EQ(Find(3)->effects.offsetLeft, 20);
  DrawAll();
  EXPECT_EQ(Find(3)->drawnLeft, 10);
}

}  // namespace
