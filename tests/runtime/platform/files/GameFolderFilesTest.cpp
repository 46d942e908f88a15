#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "tests/runtime/platform/files/FileFixture.h"
#include "tests/support/TestDirectory.h"

namespace {

using GameFolderFilesTest = FileFixture;

std::vector<std::string> Listing(const char* path, int* count = nullptr) {
  std::vector<std::string> names;
  const int n = ListGameFolder(
      path, [](const char* name, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(name); },
      &names);
  if (count) *count = n;
  return names;
}

size_t EntryCount(const std::string& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST_F(GameFolderFilesTest, PathRule) {
  TestDirectory outside;
  ASSERT_EQ(symlink(outside.Path().c_str(), dir.File("out").c_str()), 0);
  ASSERT_EQ(symlink(dir.File("sub").c_str(), dir.File("in").c_str()), 0);
  ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
  const struct {
    const char* path;
    int inside;
  } cases[] = {
      {"", 1},          {"a.txt", 1},         {"sub\\a.txt", 1},      {"SUB\\new\\deeper.txt", 1},
      {"in\\a.txt", 1},  // a link that stays inside
      {"x\\..\\..\\evil.txt", 0}, {"\\..\\x", 0}, {"..", 0},          {"a\\..", 0},
      {"C:evil.txt", 0}, {"C:\\evil.txt", 0},  {"\\evil.txt", 0},    {"/tmp/evil.txt", 0},
      {"out\\evil.txt", 0}, {"out", 0},        {"..a\\b..", 1},       {"ソ\\a.txt", 1},  // 0x5C as a second half
  };
  for (const auto& c : cases) EXPECT_EQ(IsPathInGameFolder(c.path), c.inside) << c.path;
  EXPECT_EQ(IsPathInGameFolder(nullptr), 0);
}

TEST_F(GameFolderFilesTest, TextWritesEndLinesWithCrLfAndReplaceWhole) {
  const std::string text = "a\nb\r\nc\n";
  ASSERT_EQ(WriteGameTextFile("t.txt", text.data(), text.size()), 0);
  EXPECT_EQ(ReadWholeFile(dir.File("t.txt")), "a\r\nb\r\nc\r\n");
  ASSERT_EQ(WriteGameTextFile("T.TXT", "x", 1), 0);  // the name on disk, any case
  EXPECT_EQ(ReadWholeFile(dir.File("t.txt")), "x");
  ASSERT_EQ(WriteGameTextFile("e.txt", "", 0), 0);
  EXPECT_TRUE(FileExists(dir.File("e.txt")));
  struct stat info;
  ASSERT_EQ(stat(dir.File("t.txt").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & 0044, 0u);  // readable as a new file would be, not private to the temporary's mode

  // A write that cannot finish leaves what was there and no temporary file.
  ASSERT_EQ(mkdir(dir.File("d").c_str(), 0755), 0);
  const size_t before = EntryCount(dir.Path());
  EXPECT_EQ(WriteGameTextFile("d", "x", 1), -1);
  EXPECT_EQ(WriteGameTextFile("missing\\a.txt", "x", 1), -1);
  EXPECT_EQ(WriteGameTextFile("t.txt\\a.txt", "x", 1), -1);
  EXPECT_EQ(EntryCount(dir.Path()), before);
  EXPECT_EQ(ReadWholeFile(dir.File("t.txt")), "x");

  // Refused paths and a link to a file outside: nothing written anywhere.
  TestDirectory outside;
  outside.Write("target.txt", "keep");
  ASSERT_EQ(symlink(outside.File("target.txt").c_str(), dir.File("link.txt").c_str()), 0);
  for (const char* path : {"link.txt", "x\\..\\..\\evil.txt", "\\..\\x", "C:\\evil.txt", "", "/tmp/evil.txt"}) {
    EXPECT_EQ(WriteGameTextFile(path, "bad", 3), -2) << path;
  }
  EXPECT_EQ(ReadWholeFile(outside.File("target.txt")), "keep");
  EXPECT_EQ(EntryCount(outside.Path()), 1u);
}

TEST_F(GameFolderFilesTest, ListingIsSortedAndLeavesTheCurrentFolder) {
  dir.Write("b.txt", "");
  dir.Write("A.txt", "");
  dir.Write("sub/c.txt", "");
  ASSERT_EQ(mkdir(dir.File("empty").c_str(), 0755), 0);
  int count = 0;
  // The game folder also holds the fixture's log: compare the entries made here.
  std::vector<std::string> top = Listing("", &count);
  EXPECT_EQ(count, static_cast<int>(top.size()));
  std::erase(top, "Log.txt");
  EXPECT_EQ(top, (std::vector<std::string>{"A.txt", "b.txt", "empty", "sub"}));  // by name, letter case aside
  EXPECT_EQ(Listing("sub"), std::vector<std::string>{"c.txt"});
  EXPECT_EQ(Listing("SUB\\"), std::vector<std::string>{"c.txt"});
  EXPECT_TRUE(Listing("empty", &count).empty());
  EXPECT_EQ(count, 0);
  Listing("nowhere", &count);
  EXPECT_EQ(count, -1);
  Listing("..", &count);
  EXPECT_EQ(count, -1);
  EXPECT_EQ(std::filesystem::current_path().string(), dir.Path());
}

}  // namespace
