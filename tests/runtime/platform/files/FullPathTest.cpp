#include <gtest/gtest.h>

#include <string>

#include "runtime/platform/files/FullPath.h"

namespace {

TEST(FullPathTest, ResolvesAgainstTheBase) {
  const struct {
    const char* path;
    const char* base;
    const char* expected;
  } cases[] = {
      {"a\\b.txt", "C:\\game", "C:\\game\\a\\b.txt"},
      {"a/b.txt", "C:\\game\\", "C:\\game\\a\\b.txt"},
      {".\\a\\..\\b", "C:\\game", "C:\\game\\b"},
      {"..\\..\\..\\x", "C:\\game", "C:\\x"},
      {"\\top\\x", "C:\\game", "C:\\top\\x"},
      {"D:\\other\\y", "C:\\game", "D:\\other\\y"},
      {"D:rel", "C:\\game", "D:\\rel"},
      {"dir\\", "C:\\game", "C:\\game\\dir"},
      {"a\\.", "C:\\game", "C:\\game\\a\\."},
      {"\\top", "\\home\\game", "\\top"},
      {"..\\x", "\\home\\game", "\\home\\x"},
      // The current folder of the plain files is written with '/'.
      {"..\\Save\\a", "/home/u/game", "/home/u\\Save\\a"},
      {"..\\..\\x", "/home/u/game/", "/home\\x"},
      // The second byte of a two-byte character is no separator.
      {"\x95\\\\f", "C:\\g", "C:\\g\\\x95\\\\f"},
  };
  for (const auto& c : cases) {
    char out[260];
    ASSERT_EQ(ConvertFullPath(c.path, out, sizeof out, c.base), 0) << c.path;
    EXPECT_EQ(std::string(out), c.expected) << c.path;
  }
  char out[260];
  EXPECT_EQ(ConvertFullPath(nullptr, out, sizeof out, "C:\\game"), 0);
  EXPECT_STREQ(out, "C:\\game");
  EXPECT_EQ(ConvertFullPath("a\\\\b", out, sizeof out, "C:\\game"), -1);
  EXPECT_EQ(ConvertFullPath("abcdef", out, 10, "C:\\game"), -1);
}

}  // namespace
