#include <gtest/gtest.h>

#include <string>

#include "engine/presentation/map/SheetLayout.h"

namespace {

TEST(SheetLayoutTest, TheNameTellsTheCut) {
  struct Case {
    std::string name;
    int32_t patterns;
    bool eight;
    SheetLayout layout;
    int32_t columns;
  };
  const Case cases[] = {
      {"Chara\\hero.png", 3, true, kSheetPlain, 6},
      {"Chara\\hero.png", 3, false, kSheetPlain, 3},
      {"Chara\\heroT.png", 3, true, kSheetT, 8},
      {"Chara\\heroT.png", 3, false, kSheetT, 4},
      {"Chara\\heroT.PNG", 5, true, kSheetT, 12},
      {"Chara\\heroTX.png", 3, true, kSheetTX, 12},
      {"Chara\\heroTX.PNG", 3, false, kSheetTX, 6},
      {"Chara\\hero$.png", 3, true, kSheetSingle, 1},
      {"Chara\\hero$.PNG", 3, false, kSheetSingle, 1},
      // The last match wins: "$" over "TX" over "T".
      {"Chara\\T.pngTX.png", 3, true, kSheetTX, 12},
      {"Chara\\TX.png$.png", 3, true, kSheetSingle, 1},
      // "T" as the second half of a two-byte character is no mark.
      {"Chara\\\x83T.png", 3, true, kSheetPlain, 6},
      {"Chara\\\x83\x41T.png", 3, true, kSheetT, 8},
      // Lower case "t" and other extensions are plain.
      {"Chara\\heroT.bmp", 3, true, kSheetPlain, 6},
      {"Chara\\herot.png", 3, true, kSheetPlain, 6},
      // No patterns: no columns (the sprite takes at least one).
      {"Chara\\hero.png", 0, true, kSheetPlain, 0},
  };
  for (const Case& c : cases) {
    const SheetCut cut = ChooseSheetCut(c.name, c.patterns, c.eight);
    EXPECT_EQ(cut.layout, c.layout) << c.name << " p=" << c.patterns << " eight=" << c.eight;
    EXPECT_EQ(cut.columns, c.columns) << c.name << " p=" << c.patterns << " eight=" << c.eight;
  }
}

}  // namespace
