#include <gtest/gtest.h>

#include "runtime/WildcardMatch.h"

namespace {

TEST(WildcardMatchTest, MatchesLikeDirectorySearches) {
  struct Case {
    const char* pattern;
    const char* name;
    int result;
  } cases[] = {
      {"*", "ANYTHING", 0},
      {"*", "", 0},
      {"*.PNG", "A.PNG", 0},
      {"*.PNG", "A.B.PNG", 0},  // the star takes more than the first dot
      {"*.PNG", "A.PNG.BAK", -1},
      {"ICON???.PNG", "ICON001.PNG", 0},
      {"ICON???.PNG", "ICON01.PNG", -1},
      {"A*B*C", "AXBYBZC", 0},
      {"A*B*C", "AXBYBZ", -1},
      {"ABC", "ABC", 0},
      {"ABC", "ABCD", -1},
      {"ABCD", "ABC", -1},
      {"ABC*", "ABC", 0},
      {"ABC?", "ABC", -1},
      {"**.TXT", "X.TXT", 0},
      {"\x83\x5C*", "\x83\x5C\x41", 0},     // a two-byte character as a whole
      {"\x83\x5C*", "\x83\x41\x5C", -1},
      {"*\x5C", "\x83\x5C", -1},             // a 0x5C trail byte never matches a lone 0x5C
      {"*A", "\x83\x41", -1},                // nor a trail byte that looks like 'A'
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.result) << c.pattern << " / " << c.name;
  }
}

}  // namespace
