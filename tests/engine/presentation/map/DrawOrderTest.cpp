#include <gtest/gtest.h>

#include <vector>

#include "engine/map/MapScene.h"
#include "engine/presentation/map/DrawOrder.h"
#include "tests/engine/presentation/PresentationFixture.h"

namespace {

struct Step {
  DrawEntry entry;
  int32_t band;  // the cursor's band when the entry came
};

class DrawOrderTest : public PresentationTest {
 protected:
  void SetUp() override {
    PresentationTest::SetUp();
    UseMap(20, 15);
    hero = nullptr;
  }

  std::vector<Step> Walk(int32_t scrollY) {
    order_.Build();
    std::vector<Step> steps;
    for (DrawEntry e = order_.Next(scrollY); e.kind != DrawEntry::kEnd; e = order_.Next(scrollY)) {
      steps.push_back({e, order_.cursorBand});
      if (steps.size() > 1000) break;
    }
    return steps;
  }
  static std::vector<DrawEntry> Characters(const std::vector<Step>& steps) {
    std::vector<DrawEntry> out;
    for (const Step& s : steps) {
      if (s.entry.kind != DrawEntry::kTileRow) out.push_back(s.entry);
    }
    return out;
  }
  // A map event whose foot line lies at screen y.
  static MapEventState& EventWithFootAt(int32_t id, int32_t footY) {
    MapEventState& e = AddEvent(id, 1, 0, "");
    e.quarterY = 4 * (footY - 32);
    return e;
  }

  DrawOrder order_;
};

TEST_F(DrawOrderTest, AtScrollZeroTheRowsComeAtBandsTwoSixTen) {
  const std::vector<Step> steps = Walk(0);
  ASSERT_EQ(steps.size(), 17u);
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].entry, (DrawEntry{DrawEntry::kTileRow, static_cast<int32_t>(i) - 1}));
    EXPECT_EQ(steps[i].band, 2 + 4 * static_cast<int32_t>(i));
  }
}

TEST_F(DrawOrderTest, BandsPerMap) {
  struct Case {
    int32_t height;
    int32_t tileUnit;
    int32_t bands;
  };
  // A map exactly 15 tiles high gets two tiles more, so characters at its
  // bottom edge do not wrap into the top bands.
  const Case cases[] = {{15, 32, 68}, {14, 32, 56}, {16, 32, 64}, {15, 16, 34}, {1, 32, 4}, {500, 16, 1000}};
  for (const Case& c : cases) {
    CurrentMapSettings.tileUnit = c.tileUnit;
    UseMap(20, c.height);
    order_.Build();
    EXPECT_EQ(order_.bandCount, c.bands) << c.height << " tiles of " << c.tileUnit;
  }
}

TEST_F(DrawOrderTest, EveryRowOnTheScreenComesOnceRightAfterTheCharactersStandingOnIt) {
  // A row's level-1 tiles come after the characters whose foot is on the
  // row (or above it) and before those a tile lower: the split between the
  // bands lies just below the row's lower edge, at most half a tile.
  for (const int32_t t : {32, 16}) {
    CurrentMapSettings.tileUnit = t;
    UseMap(20, 40);
    const int32_t screenHeight = t == 16 ? 240 : 480;
    for (int32_t scroll = -100; scroll <= 100; ++scroll) {
      const std::vector<Step> steps = Walk(scroll);
      std::vector<int32_t> rows;
      for (const Step& s : steps) {
        ASSERT_EQ(s.entry.kind, DrawEntry::kTileRow);
        rows.push_back(s.entry.value);
        const int32_t lowerEdge = (s.entry.value + 1) * t - scroll;
        const int32_t split = 8 * (s.band - 1);
        EXPECT_GT(split, lowerEdge) << "t " << t << " scroll " << scroll << " row " << s.entry.value;
        EXPECT_LE(split, lowerEdge + t / 2) << "t " << t << " scroll " << scroll << " row " << s.entry.value;
      }
      for (size_t i = 1; i < rows.size(); ++i) ASSERT_EQ(rows[i], rows[i - 1] + 1);
      const int32_t firstShown = (scroll >= 0 ? scroll / t : -((-scroll + t - 1) / t));
      const int32_t lastShown = (scroll + screenHeight - 1 >= 0 ? (scroll + screenHeight - 1) / t : -1);
      EXPECT_LE(rows.front(), firstShown) << "t " << t << " scroll " << scroll;
      EXPECT_GE(rows.back(), lastShown) << "t " << t << " scroll " << scroll;
    }
  }
}

TEST_F(DrawOrderTest, ThreeListsTopToBottom) {
  hero = &hero_;
  followerCount = 2;
  MapEventState& passThrough = AddEvent(0, 1, 2, "");
  passThrough.passThrough = 1;
  AddEvent(1, 2, 2, "");
  AddEvent(2, 3, 2, "").alwaysAbove = 1;
  MapEventState& both = AddEvent(3, 4, 2, "");
  both.passThrough = 1;
  both.alwaysAbove = 1;
  EventWithFootAt(4, -16);  // 16 pixels or more above the screen: not drawn
  EventWithFootAt(5, -15);
  hero_.quarterY = 4 * -132;  // far above: the hero is drawn all the same
  PlaceOnTile(followers_[0], 6, 2);
  PlaceOnTile(followers_[1], 7, 2);
  const std::vector<DrawEntry> expected = {
      {DrawEntry::kMapEvent, 0}, {DrawEntry::kMapEvent, 5}, {DrawEntry::kHero, 0},     {DrawEntry::kMapEvent, 1},
      {DrawEntry::kFollower, 0}, {DrawEntry::kFollower, 1}, {DrawEntry::kMapEvent, 2}, {DrawEntry::kMapEvent, 3},
  };
  EXPECT_EQ(Characters(Walk(0)), expected);
}

TEST_F(DrawOrderTest, ARowFarAboveALoopingMapNeverNamesACharacter) {
  // Rows and characters come tagged: a row of a map scrolled far up stays
  // a row, whatever its number.
  UseMap(20, 32767);
  CurrentMap.loopY = 1;
  const int32_t scroll = -1000000;
  const std::vector<Step> steps = Walk(scroll);
  ASSERT_EQ(steps.size(), 17u);
  for (const Step& s : steps) EXPECT_EQ(s.entry.kind, DrawEntry::kTileRow);
  EXPECT_EQ(steps.front().entry.value, (scroll + 32) / 32 - 2);
}

}  // namespace
