#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/platform/base/Format.h"
#include "runtime/platform/base/MemoryHelpers.h"
#include "runtime/platform/base/StringHelpers.h"

namespace {

// "表" is 0x95 0x5C and "ソ" 0x83 0x5C: both end in the byte of '\'.
TEST(StringHelpersTest, FindCharSkipsTrailBytes) {
  const char text[] = "\x95\x5C" "a\\b";
  EXPECT_EQ(StrFindChar(text, '\\'), text + 3);
  EXPECT_EQ(StrFindChar("\x83\x5C", '\\'), nullptr);
  EXPECT_EQ(StrFindChar("abc", 'z'), nullptr);
  const char lone[] = "a\x82";  // a lone lead byte at the end does not run past the NUL
  EXPECT_EQ(StrFindChar(lone, 'z'), nullptr);
}

TEST(StringHelpersTest, UpperLeavesTwoByteCharactersAlone) {
  char text[] = "ab\x82\x61z\x95\x5C" "c";
  StrUpper(text);
  EXPECT_STREQ(text, "AB\x82\x61Z\x95\x5C" "C");
}

TEST(StringHelpersTest, DiffersComparesBytes) {
  EXPECT_EQ(StrDiffers("abc", "abc"), 0);
  EXPECT_EQ(StrDiffers("abc", "abd"), 1);
  EXPECT_EQ(StrDiffers("abc", "ab"), 1);
}

TEST(StringHelpersTest, CopyAndAppendCutAtACharacterBoundary) {
  struct Case {
    size_t size;
    const char* source;
    const char* expected;
  } cases[] = {
      {8, "abc", "abc"},
      {4, "abcdef", "abc"},
      {4, "ab\x82\xA0", "ab"},      // the two-byte character does not fit whole
      {5, "ab\x82\xA0", "ab\x82\xA0"},
      {1, "abc", ""},
  };
  for (const Case& c : cases) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    const size_t n = StrCopy(buffer, c.size, c.source);
    EXPECT_STREQ(buffer, c.expected);
    EXPECT_EQ(n, std::strlen(c.expected));
    EXPECT_EQ(buffer[c.size], '#') << "nothing written past the buffer";
  }

  char buffer[8] = "ab";
  EXPECT_EQ(StrAppend(buffer, sizeof buffer, "cd"), 4u);
  EXPECT_EQ(StrAppend(buffer, sizeof buffer, "ef\x82\xA0xyz"), 6u);
  EXPECT_STREQ(buffer, "abcdef");
}

TEST(StringHelpersTest, FormatCutsInsteadOfOverrunning) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(FormatString(buffer, 6, "%d-%s", 12, "\x82\xA0\x82\xA0"), 0);
  EXPECT_STREQ(buffer, "12-\x82\xA0");
  EXPECT_EQ(buffer[6], '#');

  char small[4];
  EXPECT_EQ(FormatString(small, sizeof small, "%s", "abcdef"), 0);
  EXPECT_STREQ(small, "abc");
}

TEST(MemoryHelpersTest, MoveUpByOneDoesNotRepeatBytes) {
  char block[] = "abcdef";
  MemMove(block + 1, block, 5);
  EXPECT_STREQ(block, "aabcde");
  char down[] = "abcdef";
  MemCopy(down, down + 1, 5);
  EXPECT_STREQ(down, "bcdeff");
}

TEST(MemoryHelpersTest, ComparisonsAndFill) {
  EXPECT_EQ(MemPrefixDiffers("abcx", "abcy", 3), 0);
  EXPECT_EQ(MemPrefixDiffers("abcx", "abcy", 4), 1);
  EXPECT_EQ(MemBlockDiffers("ab", "ab", 2), 0);
  char block[4] = {1, 2, 3, 4};
  MemFill(block, 0x7F, 3);
  EXPECT_EQ(block[2], 0x7F);
  EXPECT_EQ(block[3], 4);
}

}  // namespace
