#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/host/files/HostDirectory.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

std::vector<std::string> Search(const char* pattern) {
  std::vector<std::string> names;
  HostFindData data;
  HostFindState* find = HostFindFirstFile(pattern, &data);
  if (!find) return names;
  do {
    names.push_back(data.name);
  } while (HostFindNextFile(find, &data));
  HostFindClose(find);
  return names;
}

TEST(FolderSearchTest, ListsMatchesInAFixedOrderIgnoringCase) {
  TestDirectory dir;
  dir.Write("Fonts/b.TTF", "12345");
  dir.Write("Fonts/A.ttf", "");
  dir.Write("Fonts/x.y.TTF", "");
  dir.Write("Fonts/readme.txt", "");
  dir.Write("Fonts/Sub/c.ttf", "");
  ScopedCurrentDirectory cwd(dir.Path());

  EXPECT_EQ(Search("FONTS\\*.ttf"), (std::vector<std::string>{"A.ttf", "b.TTF", "x.y.TTF"}));
  EXPECT_EQ(Search("fonts\\*"), (std::vector<std::string>{".", "..", "A.ttf", "b.TTF", "readme.txt", "Sub", "x.y.TTF"}));
  EXPECT_TRUE(Search("fonts\\*.otf").empty());
  EXPECT_TRUE(Search("nothere\\*").empty());

  HostFindData data;
  HostFindState* find = HostFindFirstFile("Fonts\\B.ttf", &data);
  ASSERT_NE(find, nullptr);
  EXPECT_STREQ(data.name, "b.TTF");
  EXPECT_EQ(data.size, 5u);
  EXPECT_EQ(data.isDirectory, 0);
  EXPECT_GT(data.lastWriteTime, 0u);
  EXPECT_FALSE(HostFindNextFile(find, &data));
  HostFindClose(find);
  find = HostFindFirstFile("fonts\\sub", &data);
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(data.isDirectory, 1);
  HostFindClose(find);
}

TEST(FolderSearchTest, CurrentDirectoryRoundTrips) {
  TestDirectory dir;
  dir.Write("Game/x", "");
  ScopedCurrentDirectory cwd(dir.Path());
  char buffer[260];
  ASSERT_TRUE(HostGetCurrentDirectory(buffer, sizeof buffer));
  const std::string start = buffer;
  EXPECT_TRUE(HostSetCurrentDirectory("GAME"));
  ASSERT_TRUE(HostGetCurrentDirectory(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), start + "/Game");
  EXPECT_FALSE(HostSetCurrentDirectory("nowhere"));
  EXPECT_TRUE(HostSetCurrentDirectory(start.c_str()));
  EXPECT_FALSE(HostGetCurrentDirectory(buffer, 3));
}

}  // namespace
