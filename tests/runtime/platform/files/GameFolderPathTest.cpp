#include <gtest/gtest.h>

#include "runtime/Movan.h"

namespace {

// The rule for names game content gives: no absolute path, drive or ".."
// element, whatever escape conversion made of the name.
TEST(GameFolderPath, OnlyPathsBelowTheGameFolderPass) {
  struct Case {
    const char* path;
    bool allowed;
  };
  const Case cases[] = {
      {"shot.png", true},
      {"Save\\shot.png", true},
      {"Save/Sub/shot.png", true},
      {"..shot.png", true},
      {"a\\..b\\c", true},
      {"\x83\x5C\\file.txt", true},  // 0x5C as the second byte of a character is no separator
      {"\x83\x5C..\\x", true},
      {"..", false},
      {"..\\shot.png", false},
      {"Save\\..\\..\\shot.png", false},
      {"Save/../shot.png", false},
      {"Save\\..", false},
      {"\\shot.png", false},
      {"/tmp/shot.png", false},
      {"C:\\shot.png", false},
      {"c:shot.png", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPathInGameFolder(c.path), c.allowed ? 1 : 0) << c.path;
  EXPECT_EQ(IsPathInGameFolder(nullptr), 0);
}

}  // namespace
