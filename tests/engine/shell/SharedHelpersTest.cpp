#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "engine/shell/DecimalText.h"
#include "engine/shell/EngineRandom.h"
#include "engine/shell/ShiftJisPosition.h"

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
