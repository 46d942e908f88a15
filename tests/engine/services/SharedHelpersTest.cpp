#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "engine/services/DecimalText.h"
#include "engine/services/EngineRandom.h"
#include "engine/services/MessageTextScan.h"
#include "engine/services/ShiftJisPosition.h"
#include "engine/services/StartupSettings.h"

namespace {

TEST(EngineRandomTest, FollowsItsFormula) {
  // A first call in mode 2 seeds from the tick and then sets the value.
  EXPECT_EQ(EngineRandom(kRandomSet, 12345), 12345u);
  uint32_t expected = 12345;
  for (int i = 0; i < 1000; ++i) {
    expected = (expected * 1103515245u + 94123u) >> 4;
    ASSERT_EQ(EngineRandom(kRandomStep), expected);
    ASSERT_LT(expected, 1u << 28);
  }
  EXPECT_EQ(EngineRandom(kRandomRead), expected);
  EXPECT_EQ(EngineRandom(7), expected) << "any other mode reads";
  EngineRandom(kRandomSet, 0xFFFFFFFFu);
  EXPECT_EQ(EngineRandom(kRandomStep), (0xFFFFFFFFu * 1103515245u + 94123u) >> 4);
}

TEST(DecimalTextTest, TenResultsStayValidTogether) {
  EXPECT_STREQ(DecimalText(-5), "-5");
  EXPECT_STREQ(DecimalText(INT32_MIN), "-2147483648");
  const char* first = DecimalText(1);
  std::set<const char*> buffers{first};
  for (int i = 2; i <= 10; ++i) buffers.insert(DecimalText(i));
  EXPECT_EQ(buffers.size(), 10u);
  EXPECT_STREQ(first, "1");
  EXPECT_EQ(DecimalText(11), first) << "the eleventh call reuses the first buffer";
}

TEST(ShiftJisPositionTest, ClassifiesEveryPosition) {
  struct Case {
    const char* text;
    std::vector<int> states;
  } cases[] = {
      {"\x82\xA0", {1, 2}},
      {"\x82\x7F", {1, 0}},                       // 0x7F cannot be a trail byte
      {"\x82\x82\x40", {1, 2, 0}},                // a lead byte after a lead byte is its trail
      {"\x95\x5C" "a\\", {1, 2, 0, 0}},           // trail byte 0x5C
      {"\x83\x81\x81\x40", {1, 2, 1, 2}},         // trail bytes inside the lead range
      {"a\x82", {0, 1}},
      {"\x82\x0A", {1, 0}},
  };
  for (const Case& c : cases) {
    for (size_t i = 0; i < c.states.size(); ++i) {
      EXPECT_EQ(ShiftJisPositionState(c.text, static_cast<int>(i)), c.states[i]) << "position " << i;
    }
    EXPECT_EQ(ShiftJisPositionState(c.text, static_cast<int>(std::strlen(c.text))), 0) << "the NUL";
    EXPECT_EQ(ShiftJisPositionState(c.text, 100), 0);
    EXPECT_EQ(ShiftJisPositionState(c.text, -1), 0);
  }
}

}  // namespace

namespace {

TEST(MessageTextScanTest, StepsOverCharactersAndControlSequences) {
  const struct {
    std::string text;
    std::vector<size_t> units;
    size_t characters;
  } cases[] = {
      {"ab", {1, 1}, 2},
      {"漢a", {2, 1}, 2},
      {std::string("\x01\x02\x81", 3) + "x", {3, 1}, 1},          // a colour argument in the lead range
      {std::string("\x01\x0C\x00\x0D", 4) + "\\", {4, 1}, 1},    // a NUL and a CR among the arguments
      {std::string("\x01\x05\x01\x01", 4), {2, 2}, 0},
      {std::string("\x01\x16\x0E", 3), {3}, 0},                  // cut at the end of the text
      {std::string("\x81\x0A", 2), {1, 1}, 2},                   // a lead byte before a line feed
      {std::string("\x01", 1), {1}, 0},
  };
  for (const auto& c : cases) {
    std::vector<size_t> units;
    for (size_t i = 0; i < c.text.size();) {
      const size_t n = MessageUnitLength(c.text.data() + i, c.text.size() - i);
      units.push_back(n);
      i += n;
    }
    EXPECT_EQ(units, c.units);
    EXPECT_EQ(CountMessageCharacters(c.text.data(), c.text.size()), c.characters);
  }
  EXPECT_EQ(MessageUnitLength("", 0), 0u);
}

TEST(StartupSettingsTest, TestPlayNeedsTheExactCommandLine) {
  EXPECT_TRUE(IsTestPlayCommandLine("Test_Of_Main"));
  EXPECT_FALSE(IsTestPlayCommandLine("Test_Of_Main "));
  EXPECT_FALSE(IsTestPlayCommandLine("\"Test_Of_Main\""));
  EXPECT_FALSE(IsTestPlayCommandLine(""));
  EXPECT_FALSE(IsTestPlayCommandLine(nullptr));
}

}  // namespace
