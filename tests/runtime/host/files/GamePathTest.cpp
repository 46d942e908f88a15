#include <gtest/gtest.h>

#include <string>

#include "runtime/host/files/GamePath.h"
#include "runtime/host/files/HostFile.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

class GamePathTest : public ::testing::Test {
 protected:
  TestDirectory dir;
  ScopedCurrentDirectory cwd{dir.Path()};
};

TEST_F(GamePathTest, FindsEachElementWhateverItsCase) {
  dir.Write("Data/BasicData/Game.dat", "x");
  EXPECT_EQ(HostPathFromGamePath("DATA\\basicdata\\GAME.DAT"), "Data/BasicData/Game.dat");
  EXPECT_EQ(HostPathFromGamePath("Data/BasicData/Game.dat"), "Data/BasicData/Game.dat");
  EXPECT_EQ(HostPathFromGamePath("data\\\\basicdata\\"), "Data/BasicData/");
  // An absolute host path, with a wrong case below it.
  EXPECT_EQ(HostPathFromGamePath((dir.Path() + "\\data\\BASICDATA\\game.dat").c_str()),
            dir.Path() + "/Data/BasicData/Game.dat");
}

TEST_F(GamePathTest, ShiftJisNamesFindTheirUtf8AndRawFiles) {
  // "ソ" and "表" end in 0x5C: never a separator.
  dir.Write("\xe3\x82\xbd/\xe8\xa1\xa8.txt", "utf8");
  EXPECT_EQ(HostPathFromGamePath("\x83\x5C\\\x95\x5C.TXT"), "\xe3\x82\xbd/\xe8\xa1\xa8.txt");
  EXPECT_EQ(HostPathFromGamePath("\x83\x5C/\x95\x5C.txt"), "\xe3\x82\xbd/\xe8\xa1\xa8.txt");

  dir.Write("Raw/\x95\x5C.DAT", "raw");
  EXPECT_EQ(HostPathFromGamePath("raw\\\x95\x5C.dat"), "Raw/\x95\x5C.DAT");

  // Second bytes that look like letters keep their case: "\x83\x61" and
  // "\x83\x41" are two characters.
  dir.Write("Raw/\x83\x41" "b.DAT", "raw");
  EXPECT_EQ(HostPathFromGamePath("raw\\\x83\x41" "B.dat"), "Raw/\x83\x41" "b.DAT");
  EXPECT_EQ(HostPathFromGamePath("raw\\\x83\x61" "B.dat"), "Raw/\xe3\x83\x82" "B.dat");
}

TEST_F(GamePathTest, KeepsWhatDoesNotExistAsWritten) {
  dir.Write("Save/a.txt", "");
  EXPECT_EQ(HostPathFromGamePath("SAVE\\New.sav"), "Save/New.sav");
  EXPECT_EQ(HostPathFromGamePath("Save\\Deeper\\New.sav"), "Save/Deeper/New.sav");
  EXPECT_EQ(HostPathFromGamePath("save\\Deeper\\..\\a.TXT"), "Save/Deeper/../a.TXT");
  EXPECT_EQ(HostPathFromGamePath("Missing\\Deeper\\x"), "Missing/Deeper/x");
  EXPECT_EQ(HostPathFromGamePath(""), "");
}

TEST_F(GamePathTest, ADriveIsTheRootAndASlashInACharacterNamesNothing) {
  EXPECT_EQ(HostPathFromGamePath("C:\\"), "/");
  EXPECT_EQ(HostPathFromGamePath((std::string("c:") + dir.Path() + "\\x").c_str()), dir.Path() + "/x");
  dir.Write("\x81/a.txt", "");
  EXPECT_EQ(HostPathFromGamePath("\x81/a.txt"), "");
  EXPECT_EQ(HostOpenFileRead("\x81/a.txt"), kNoHostFile);
  EXPECT_FALSE(HostAppendToFile("\x81/a.txt", "x", 1));
}

TEST_F(GamePathTest, APathPastTheHostsLimitStaysAsWritten) {
  dir.Write("Data/a.txt", "");
  std::string deep = "data";
  while (deep.size() < 1 << 20) deep += "\\x";
  std::string expected = deep;
  for (char& c : expected) {
    if (c == '\\') c = '/';
  }
  EXPECT_EQ(HostPathFromGamePath(deep.c_str()), expected);
  EXPECT_EQ(HostPathFromGamePath("data\\A.TXT"), "Data/a.txt");
}

TEST_F(GamePathTest, SeesFilesMadeAfterAnEarlierLookup) {
  dir.Write("Pictures/a.png", "");
  EXPECT_EQ(HostPathFromGamePath("pictures\\A.PNG"), "Pictures/a.png");
  EXPECT_EQ(HostPathFromGamePath("pictures\\B.PNG"), "Pictures/B.PNG");
  dir.Write("Pictures/b.png", "");
  EXPECT_EQ(HostPathFromGamePath("pictures\\B.PNG"), "Pictures/b.png");
}

TEST_F(GamePathTest, TempFileIsNewEmptyAndAbsolute) {
  std::string name;
  const HostFile file = HostCreateTempFile(&name);
  ASSERT_NE(file, kNoHostFile);
  EXPECT_EQ(name[0], '/');
  EXPECT_EQ(name.compare(name.rfind('/') + 1, 3, "tmp"), 0);
  EXPECT_EQ(HostFileSize(file), 0);
  EXPECT_TRUE(HostWriteFile(file, "abc", 3));
  EXPECT_TRUE(HostCloseFile(file));
  EXPECT_EQ(ReadWholeFile(name), "abc");
  EXPECT_TRUE(HostDeleteFile(name.c_str()));
  EXPECT_FALSE(FileExists(name));
}

}  // namespace
