#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "runtime/host/files/HostFile.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

class WriteLinkTest : public ::testing::Test {
 protected:
  TestDirectory dir;
  TestDirectory elsewhere;
  ScopedCurrentDirectory cwd{dir.Path()};
};

TEST_F(WriteLinkTest, AppendRefusesALinkAtTheName) {
  const std::string target = elsewhere.Write("victim.txt", "kept");
  ASSERT_EQ(symlink(target.c_str(), dir.File("Log.txt").c_str()), 0);
  EXPECT_FALSE(HostAppendToFile("Log.txt", "x", 1));
  EXPECT_EQ(ReadWholeFile(target), "kept");

  // A dangling link does not create its target either.
  const std::string missing = elsewhere.File("made.txt");
  ASSERT_EQ(symlink(missing.c_str(), dir.File("Other.txt").c_str()), 0);
  EXPECT_FALSE(HostAppendToFile("OTHER.TXT", "x", 1));
  EXPECT_FALSE(FileExists(missing));

  // A plain file is written as before.
  EXPECT_TRUE(HostAppendToFile("Plain.txt", "ab", 2));
  EXPECT_TRUE(HostAppendToFile("Plain.txt", "c", 1));
  EXPECT_EQ(ReadWholeFile(dir.File("Plain.txt")), "abc");
}

TEST_F(WriteLinkTest, RecreateReplacesTheLinkNotItsTarget) {
  const std::string target = elsewhere.Write("victim.txt", "kept");
  ASSERT_EQ(symlink(target.c_str(), dir.File("Log.txt").c_str()), 0);
  EXPECT_TRUE(HostRecreateFile("Log.txt"));
  EXPECT_EQ(ReadWholeFile(target), "kept");
  char buffer[8];
  EXPECT_EQ(readlink(dir.File("Log.txt").c_str(), buffer, sizeof buffer), -1);  // a plain file now
  EXPECT_EQ(ReadWholeFile(dir.File("Log.txt")), "");
}

}  // namespace
