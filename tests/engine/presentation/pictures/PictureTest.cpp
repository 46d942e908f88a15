// Pictures and the list: ranges, transitions, the queue, anchors, map
// following, the keep markers, the property reads and the list's limit.

#include <gtest/gtest.h>

#include "tests/engine/presentation/pictures/PictureFixture.h"

namespace {

class PictureTest : public PictureFixture {
 protected:
  void SetUp() override {
    PictureFixture::SetUp();
    white = Solid("white", 40, 20, 0xFFFFFF);
  }
  void Show(int32_t first, int32_t last, const PictureShowArguments& a, int32_t zoom = 100, int32_t mode = 0) {
    GamePictures.Show(first, last, white, a, zoom, mode, false);
  }
  int32_t Property(int32_t number, int32_t kind) const { return GamePictures.QueryProperty(number, kind); }
  void Updates(int32_t n) {
    for (int32_t i = 0; i < n; ++i) GamePictures.Update();
  }
  std::string white;
};

TEST_F(PictureTest, ShowingARangeInsertsTheMissingPicturesInOrderAndReusesTheOthers) {
  Show(6, 6, At(1, 2));
  Find(6)->effects.Apply(PictureEffects::kOffset, 5, 5, 0, 0);
  Show(5, 7, At(10, 20));
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{5, 6, 7}));
  EXPECT_EQ(Find(6)->effects.offsetX, 5) << "picture 6 is the same record";
  EXPECT_EQ(GamePictures.count, 3);
  EXPECT_EQ(GamePictures.quarterIndex, (std::array<int32_t, 3>{5, 6, 7}));
  for (int32_t n : {5, 6, 7}) EXPECT_EQ(Property(n, 0), 10);

  // Ranges walk from the index: every number is found, none is made twice.
  Show(1, 3, At(0, 0));
  Show(9, 12, At(0, 0));
  Show(2, 10, At(0, 0));
  EXPECT_EQ(Numbers(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  GamePictures.Move(4, 9, MoveTo(33, 0), 100, 0);
  for (int32_t n = 1; n <= 12; ++n) EXPECT_EQ(Property(n, 0), n >= 4 && n <= 9 ? 33 : 0) << n;
  EXPECT_EQ(Property(13, 0), -1);
  EXPECT_EQ(Property(0, 4), -1);
}

TEST_F(PictureTest, ARangeThatWouldPassTheListLimitIsRefused) {
  const int32_t ranges[][2] = {{0, 2000000}, {INT32_MIN, INT32_MAX}, {1, picture::kMaxPictures + 1}};
  for (const auto& r : ranges) {
    errorScreens().clear();
    Show(r[0], r[1], At(0, 0));
    EXPECT_TRUE(GamePictures.pictures.empty()) << r[0] << ".." << r[1];
    EXPECT_EQ(errorScreens().size(), 1u);
  }
  Show(1, picture::kMaxPictures, At(0, 0));
  EXPECT_EQ(GamePictures.pictures.size(), static_cast<size_t>(picture::kMaxPictures));
  Show(picture::kMaxPictures, picture::kMaxPictures + 1, At(0, 0));
  EXPECT_EQ(GamePictures.pictures.size(), static_cast<size_t>(picture::kMaxPictures)) << "one more is too many";
  Show(5, 5, At(7, 7));
  EXPECT_EQ(Property(5, 0), 7) << "pictures already there can still be shown";
}

TEST_F(PictureTest, ANewPictureStandsAtItsTargetAndFadesIn) {
  Show(1, 1, At(30, 40, 30));
  GamePictures.Update();
  EXPECT_EQ(Property(1, 0), 30);
  EXPECT_EQ(Property(1, 1), 40);
  EXPECT_EQ(Property(1, 5), 255 - 255 * 29 / 30) << "one frame into the fade-in";
  Updates(29);
  EXPECT_EQ(Property(1, 5), 255);

  Show(2, 2, At(0, 0, 0));
  EXPECT_EQ(Property(2, 5), 255) << "with 0 frames at once";
}

TEST_F(PictureTest, ASecondShowDuringATransitionStartsFromTheValuesReached) {
  Show(1, 1, At(0, 0));
  Show(1, 1, At(600, 0, 60));
  Updates(30);
  EXPECT_EQ(Property(1, 0), 300);
  Show(1, 1, At(0, 300, 60));
  EXPECT_EQ(Find(1)->xFrom, 310) << "the show counts one more frame down first";
  Updates(60);
  EXPECT_EQ(Property(1, 0), 0);
  EXPECT_EQ(Property(1, 1), 300);
}

TEST_F(PictureTest, DelayedOperationsRunTheirDelayInFramesLaterAtEveryFrameStep) {
  struct Case {
    int32_t step;
    int32_t updatesBeforeRun;
  };
  for (const Case c : {Case{1, 2}, Case{2, 1}, Case{3, 0}}) {
    GamePictures.Clear(true);
    SetFrameStep(c.step);
    Show(1, 1, At(0, 0));
    PictureShowArguments delayed = At(99, 0);
    delayed.delay = 3;
    Show(1, 1, delayed);
    EXPECT_EQ(Property(1, 0), 0);
    Updates(c.updatesBeforeRun);
    EXPECT_EQ(Property(1, 0), 0) << "step " << c.step;
    GamePictures.Update();
    EXPECT_EQ(Property(1, 0), 99) << "step " << c.step;
  }
}

TEST_F(PictureTest, CancellingTheDelaysDropsTheQueuedShow) {
  Show(1, 1, At(0, 0));
  PictureShowArguments delayed = At(50, 0);
  delayed.delay = 10;
  Show(1, 1, delayed);
  GamePictures.Move(1, 1, [] {
    PictureMoveArguments m = MoveTo(5, 0);
    m.delay = 4;
    return m;
  }(), 100, 0);
  Updates(5);
  EXPECT_EQ(Property(1, 0), 5) << "the move ran";
  GamePictures.CancelDelays(1, 1);
  Updates(20);
  EXPECT_EQ(Property(1, 0), 5);
  EXPECT_TRUE(Find(1)->queue.empty());
}

TEST_F(PictureTest, AShowOnAPictureThatIsNotThereYetCanWaitInTheQueue) {
  PictureShowArguments delayed = At(12, 0);
  delayed.delay = 2;
  Show(4, 4, delayed);
  ASSERT_NE(Find(4), nullptr);
  EXPECT_TRUE(Find(4)->hidden);
  Updates(2);
  EXPECT_FALSE(Find(4)->hidden);
  EXPECT_EQ(Property(4, 0), 12);
}

TEST_F(PictureTest, TheKeepMarkersKeepTheCurrentValues) {
  PictureShowArguments a = At(0, 0);
  a.blend = 2;
  a.pattern = 1;
  a.angle = 450;
  a.opacity = 128;
  Show(1, 1, a, 150);
  PictureShowArguments keep = At(0, 0);
  keep.blend = picture::kKeepBlend;
  keep.pattern = picture::kNotGiven;
  keep.opacity = picture::kNotGiven;
  keep.angle = picture::kNotGiven;
  keep.color = picture::kNoColor;
  Show(1, 1, keep, picture::kNotGiven);
  const Picture& p = *Find(1);
  EXPECT_EQ(p.blend, 2);
  EXPECT_EQ(p.opacity, 128);
  EXPECT_EQ(p.angle, 450);
  EXPECT_EQ(p.zoomX, 150);
  EXPECT_EQ(p.zoomY, 150);

  // A first show's starts are its targets where it leaves them unsaid.
  Show(2, 2, keep, picture::kNotGiven);
  EXPECT_EQ(Find(2)->zoomXFrom, 100);
  EXPECT_EQ(Find(2)->angleFrom, 0);
}

TEST_F(PictureTest, ZoomModesAndTheSizeProperties) {
  struct Case {
    int32_t zoom, mode, zoomX, zoomY, property2, property7;
  };
  const Case cases[] = {
      {200, PictureList::kZoomBoth, 200, 200, 40, 200},
      {200, PictureList::kZoomHeight, 100, 200, 40, 200},
      {50, PictureList::kZoomWidth, 50, 100, 40, 50},
  };
  for (const Case& c : cases) {
    Show(1, 1, At(0, 0), c.zoom, c.mode);
    EXPECT_EQ(Find(1)->zoomX, c.zoomX);
    EXPECT_EQ(Find(1)->zoomY, c.zoomY);
    EXPECT_EQ(Property(1, 2), c.property2) << "an image reads its unzoomed piece width";
    EXPECT_EQ(Property(1, 7), c.property7);
  }
  PictureShowArguments frame = At(0, 0);
  frame.divX = 120;
  frame.divY = 90;
  GamePictures.Show(2, 2, NineGrid("grid", 4), frame, 150, PictureList::kZoomBoth, true);
  EXPECT_EQ(Property(2, 2), 180) << "a nine-piece frame reads its zoomed width";
  EXPECT_EQ(Property(2, 3), 135);
  EXPECT_EQ(Property(2, 99), -1);
}

TEST_F(PictureTest, APatternPastThePiecesShowsTheErrorScreenAndStartsNoTransition) {
  PictureShowArguments a = At(0, 0);
  a.divX = 2;
  Show(3, 3, a);
  PictureShowArguments b = At(100, 0, 20);
  b.divX = 2;
  b.pattern = 3;
  Show(3, 3, b);
  ASSERT_EQ(errorScreens().size(), 1u);
  EXPECT_EQ(errorScreens()[0].substr(0, errorScreens()[0].find('|')),
            "ｴﾗｰ【ピクチャ】パターン番号が大きすぎます！ >ID3 パターン3(Max2)");
  EXPECT_EQ(Find(3)->x, 100) << "the targets stand";
  EXPECT_EQ(Find(3)->framesTotal, 0) << "no transition";
}

TEST_F(PictureTest, SplitCountsBelowOneAreRaisedWithAnErrorScreenInTestPlayOnly) {
  for (int32_t testPlay : {0, 1}) {
    TestPlayFlag = testPlay;
    errorScreens().clear();
    PictureShowArguments a = At(0, 0);
    a.divX = 0;
    a.divY = -3;
    Show(1, 1, a);
    EXPECT_EQ(Find(1)->divX, 1);
    EXPECT_EQ(Find(1)->divY, 1);
    EXPECT_EQ(errorScreens().size(), static_cast<size_t>(testPlay));
  }
  TestPlayFlag = 0;
}

TEST_F(PictureTest, ChangingTheAnchorKeepsTheStartCorner) {
  Show(1, 1, At(100, 100));
  PictureShowArguments centred = At(300, 100, 10);
  centred.anchor = 1;
  Show(1, 1, centred);
  const Picture& p = *Find(1);
  EXPECT_EQ(p.xFrom, 120) << "the old top-left corner seen from the centre";
  EXPECT_EQ(p.yFrom, 110);
  GamePictures.Draw(0);
  EXPECT_EQ(p.drawnLeft, 100);
  EXPECT_EQ(p.drawnTop, 100);
}

TEST_F(PictureTest, AMapFollowingPictureLivesInMapPixels) {
  CurrentMap.scrollX = 4 * 160;
  CurrentMap.scrollY = 4 * 96;
  PictureShowArguments a = At(10, 20);
  a.blend = picture::kFollowMap;
  Show(1, 1, a);
  EXPECT_EQ(Find(1)->x, 170) << "screen position given, map position kept";
  EXPECT_EQ(Property(1, 0), 10);
  GamePictures.Move(1, 1, MoveTo(0, 0), 100, 0);
  EXPECT_EQ(Property(1, 0), -160) << "the map's corner";
  EXPECT_EQ(Property(1, 1), -96);
  GamePictures.Draw(0);
  EXPECT_EQ(Find(1)->drawnLeft, -160);

  // Relative shows keep map pixels; leaving the map turns them into screen
  // pixels again.
  PictureShowArguments more = At(5, 0);
  more.blend = picture::kFollowMap;
  more.relative = true;
  Show(1, 1, more);
  EXPECT_EQ(Find(1)->x, 5);
  PictureShowArguments leave = At(0, 0);
  leave.relative = true;
  Show(1, 1, leave);
  EXPECT_FALSE(Find(1)->followsMap);
  EXPECT_EQ(Find(1)->x, 5 - 160);
}

TEST_F(PictureTest, EraseFadesOnceAndAnErasingPictureIgnoresAnotherErase) {
  Show(1, 1, At(0, 0));
  GamePictures.Erase(1, 1, 30, 0, picture::kNoColor);
  Updates(10);
  GamePictures.Erase(1, 1, 5, 0, 0x006464);
  EXPECT_EQ(Find(1)->framesTotal, 30);
  EXPECT_EQ(Find(1)->color[0], 0);
  Updates(19);
  ASSERT_NE(Find(1), nullptr);
  GamePictures.Update();
  EXPECT_EQ(Find(1), nullptr);
}

TEST_F(PictureTest, AnErasedPictureWithAQueuedShowStaysUntilTheShowBringsItBack) {
  Show(1, 1, At(0, 0));
  PictureShowArguments later = At(8, 0);
  later.delay = 5;
  Show(1, 1, later);
  GamePictures.Erase(1, 1, 2, 0, picture::kNoColor);
  Updates(3);
  ASSERT_NE(Find(1), nullptr);
  EXPECT_TRUE(Find(1)->erased && Find(1)->hidden);
  Updates(2);
  EXPECT_FALSE(Find(1)->hidden);
  EXPECT_FALSE(Find(1)->erasing);
  EXPECT_EQ(Property(1, 0), 8);
  EXPECT_EQ(PictureFiles.entries.size(), 1u);
}

TEST_F(PictureTest, ATextPictureMeasuresItsTextAndTurnsBackIntoAnImage) {
  GamePictures.ShowText(1, 1, "abc", At(5, 6, 10), 100, 0);
  const Picture& p = *Find(1);
  EXPECT_TRUE(p.isText);
  EXPECT_GT(p.pieceWidth, 0);
  EXPECT_GT(p.pieceHeight, 0);
  EXPECT_EQ(p.text.originX, 5);
  EXPECT_EQ(Property(1, 0), 5);
  EXPECT_EQ(Property(1, 5), 0) << "fades in from 0";

  Show(1, 1, At(0, 0));
  EXPECT_FALSE(p.isText);
  GamePictures.ShowText(1, 1, "x", At(0, 0), 100, 0);
  EXPECT_TRUE(p.fileName.empty());
  EXPECT_TRUE(PictureFiles.entries.empty()) << "the image is released";
}

}  // namespace
