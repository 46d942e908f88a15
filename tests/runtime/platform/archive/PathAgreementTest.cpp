// Paths that the archive lookup and the host could read differently: each is
// read the same way whether the folder is packed into an archive or not.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/runtime/platform/files/FileFixture.h"
#include "tests/support/ArchiveWriter.h"

namespace {

class PathAgreementTest : public FileFixture {
 protected:
  // The Data folder with one file, plain or as Data.mva.
  void WriteData(bool packed, const std::string& name, const std::string& bytes) {
    if (packed) {
      ArchiveWriter writer(3);
      writer.AddFile(name, bytes, true);
      dir.Write("Data.mva", writer.Build());
    } else {
      dir.Write("Data/" + name, bytes);
    }
  }
  void Clear() {
    ResetArchives();
    std::filesystem::remove_all(dir.File("Data"));
    std::filesystem::remove(dir.File("Data.mva"));
  }
};

TEST_F(PathAgreementTest, ASeparatorAfterTheNameIsIgnored) {
  for (const bool packed : {false, true}) {
    Clear();
    WriteData(packed, "a.txt", "text");
    EXPECT_EQ(ReadThrough("Data\\a.txt\\"), "text") << packed;
    EXPECT_EQ(ReadThrough("Data/a.txt/"), "text") << packed;
    EXPECT_EQ(FileSizeOf("Data\\a.txt\\"), 4) << packed;
    EXPECT_EQ(ReadThrough("Data\\"), "<none>") << packed;
  }
}

TEST_F(PathAgreementTest, ADriveIsTheRoot) {
  std::string gamePath = dir.Path();
  for (char& c : gamePath) {
    if (c == '/') c = '\\';
  }
  for (const bool packed : {false, true}) {
    Clear();
    WriteData(packed, "a.txt", packed ? "packed" : "plain");
    const std::string expected = packed ? "packed" : "plain";
    EXPECT_EQ(ReadThrough(("C:" + gamePath + "\\Data\\a.txt").c_str()), expected) << packed;
    EXPECT_EQ(ReadThrough(("c:" + gamePath + "/data/A.TXT").c_str()), expected) << packed;
    // Not a folder "C:" below the current one.
    dir.Write("C:/Data/a.txt", "relative");
    EXPECT_EQ(ReadThrough("C:\\Data\\a.txt"), "<none>") << packed;
    std::filesystem::remove_all(dir.File("C:"));
  }
}

TEST_F(PathAgreementTest, ASlashAfterALeadByteSeparatesNothing) {
  // 0x81 0x2F is one (unassigned) two-byte character: the name is "\x81/a.txt"
  // in the folder Data, never a.txt in a folder "\x81".
  const char* path = "Data\\\x81/a.txt";
  dir.Write("Data/\x81/a.txt", "split by the host");
  dir.Write("Data/?/a.txt", "split after conversion");
  EXPECT_EQ(ReadThrough(path), "<none>");
  EXPECT_EQ(FileSizeOf(path), -1);

  ArchiveWriter writer(3);
  writer.AddFile("\x81/a.txt", "one name", true);
  writer.AddFile("\x81\\a.txt", "in a folder", true);
  dir.Write("Data.mva", writer.Build());
  EXPECT_EQ(ReadThrough(path), "one name");
  EXPECT_EQ(ReadThrough("Data\\\x81\\a.txt"), "in a folder");
}

TEST_F(PathAgreementTest, ALongestArchiveNameOpensBelowADeepCurrentFolder) {
  // A current folder of more than 1,024 bytes, five elements of 250.
  std::string deep = dir.Path();
  for (int i = 0; i < 5; ++i) deep += "/" + std::string(250, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  ScopedCurrentDirectory inside(deep);
  ASSERT_GT(deep.size(), 1024u);

  const std::string name(1020, 'n');
  ArchiveWriter writer(3);
  writer.AddFile(name, "longest", true);
  WriteWholeFile(deep + "/Data.mva", writer.Build());
  EXPECT_EQ(ReadThrough(("Data\\" + name).c_str()), "longest");
  EXPECT_EQ(FileSizeOf(("Data\\" + name).c_str()), 7);
  // One byte more is not a name an archive can hold.
  EXPECT_EQ(ReadThrough(("Data\\" + name + "x").c_str()), "<none>");
}

}  // namespace
