#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "runtime/platform/files/PlainFile.h"
#include "runtime/platform/files/StreamOps.h"
#include "runtime/platform/files/TempFile.h"
#include "tests/runtime/platform/files/FileFixture.h"
#include "tests/support/ThreadCount.h"

namespace {

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  std::mt19937 random(7);
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

using PlainFileTest = FileFixture;

TEST_F(PlainFileTest, ThreadModesGiveTheSameBytesOverRandomSeeks) {
  const std::string bytes = Pattern(300000);
  dir.Write("Data/big.bin", bytes);
  const int threadsBefore = ThreadCount();
  struct Mode {
    int cache, thread;
  } modes[] = {{0, 0}, {0, 1}, {1, 0}};
  for (const Mode& mode : modes) {
    const FileHandle file = PlainFileOpen("data\\BIG.BIN", mode.cache, 0, mode.thread);
    ASSERT_NE(file, 0u);
    if (mode.cache || mode.thread) {
      EXPECT_EQ(ThreadCount(), threadsBefore + 1);
    }
    std::mt19937 random(11);
    std::vector<char> buffer(70000);
    for (int i = 0; i < 200; ++i) {
      const int64_t at = static_cast<int64_t>(random() % bytes.size());
      const size_t n = random() % buffer.size() + 1;
      ASSERT_EQ(PlainFileSeek(file, at, kSeekStart), 0);
      const size_t got = PlainFileRead(buffer.data(), 1, n, file);
      if (mode.thread) {
        ASSERT_EQ(PlainFileCompleteRead(file), static_cast<int64_t>(got));
      }
      const size_t expected = std::min(n, bytes.size() - static_cast<size_t>(at));
      ASSERT_EQ(got, expected);
      ASSERT_EQ(std::memcmp(buffer.data(), bytes.data() + at, got), 0) << "mode " << mode.cache << mode.thread;
      ASSERT_EQ(PlainFileTell(file), at + static_cast<int64_t>(got));
    }
    EXPECT_EQ(PlainFileClose(file), 0);
    EXPECT_EQ(ThreadCountOnceSettledAt(threadsBefore), threadsBefore) << "the file-access thread is joined on close";
  }
}

TEST_F(PlainFileTest, ReadsWholeElementsOnlyAndKeepsTheEndState) {
  dir.Write("f.bin", "0123456789");
  for (const int thread : {0, 1}) {
    const FileHandle file = PlainFileOpen("f.bin", 0, 0, thread);
    ASSERT_NE(file, 0u);
    char buffer[16] = {};
    ASSERT_EQ(PlainFileSeek(file, 4, kSeekStart), 0);
    EXPECT_EQ(PlainFileRead(buffer, 4, 3, file), 1u);  // 6 left: one element
    PlainFileCompleteRead(file);
    EXPECT_EQ(std::string(buffer, 4), "4567");
    EXPECT_EQ(PlainFileEof(file), 0);
    std::memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(PlainFileRead(buffer, 4, 1, file), 0u);  // 2 left: nothing delivered
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(PlainFileEof(file), -1);
    EXPECT_EQ(PlainFileTell(file), 8);

    EXPECT_EQ(PlainFileSeek(file, -2, kSeekEnd), 0);
    EXPECT_EQ(PlainFileEof(file), 0);
    EXPECT_EQ(PlainFileSeek(file, 5, kSeekCurrent), 0);  // beyond the end is allowed
    EXPECT_EQ(PlainFileTell(file), 13);
    EXPECT_EQ(PlainFileRead(buffer, 1, 1, file), 0u);
    EXPECT_EQ(PlainFileSeek(file, -14, kSeekCurrent), -1);  // before the start is not
    EXPECT_EQ(PlainFileSeek(file, 0, 7), -1);
    EXPECT_EQ(PlainFileTell(file), 13);
    EXPECT_EQ(PlainFileClose(file), 0);
  }
}

TEST_F(PlainFileTest, FailedOpensLeaveNothingBehind) {
  dir.Write("Folder/x", "");
  const int threadsBefore = ThreadCount();
  for (const int thread : {0, 1}) {
    EXPECT_EQ(PlainFileOpen("missing.bin", 0, 0, thread), 0u);
    EXPECT_EQ(PlainFileOpen("Folder", 0, 0, thread), 0u);
  }
  EXPECT_EQ(ThreadCountOnceSettledAt(threadsBefore), threadsBefore);
  EXPECT_EQ(LogText(), "");  // a missing file is no log line
}

TEST_F(PlainFileTest, EntryPointsOverPlainFiles) {
  dir.Write("Data/f.bin", std::string(160, 'x'));
  EXPECT_EQ(FileSizeOf("DATA\\F.BIN"), 160);
  EXPECT_EQ(FileSizeOf("DATA\\none.bin"), -1);
  const FileHandle file = FileOpenRead("data\\f.bin", 0);
  ASSERT_NE(file, 0u);
  char buffer[100];
  EXPECT_EQ(FileReadBytes(buffer, 100, file), 1);
  std::memset(buffer, 0, sizeof buffer);
  EXPECT_EQ(FileReadBytes(buffer, 100, file), 0);  // 60 left: nothing read
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(FileCloseRead(file), 0);
  EXPECT_EQ(FileCloseRead(0), -1);
}

TEST_F(PlainFileTest, DirectoryOperationsGiveZeroOrMinusOneInBothSets) {
  dir.Write("Sub/a.txt", "abc");
  for (const int archives : {1, 0}) {
    EnableArchiveAccess(archives);
    char start[kFilePathSize];
    ASSERT_EQ(GetDirVia(start), 0);
    EXPECT_EQ(ChangeDirVia("SUB"), 0);
    EXPECT_EQ(FileSizeOf("A.TXT"), 3);
    EXPECT_EQ(ChangeDirVia("nowhere"), -1);
    EXPECT_EQ(ChangeDirVia(start), 0);
    EXPECT_EQ(FileSizeOf("sub\\a.txt"), 3);

    FileInfo info;
    const FindHandle find = FindFirstVia("sub\\*.TXT", &info);
    ASSERT_NE(find, -1);
    EXPECT_STREQ(info.name, "a.txt");
    EXPECT_EQ(info.sizeLow, 3u);
    EXPECT_GE(info.lastWriteTime.year, 2020);
    EXPECT_EQ(FindNextVia(find, &info), -1);
    EXPECT_EQ(FindCloseVia(find), 0);
    EXPECT_EQ(FindFirstVia("sub\\*.png", &info), -1);
  }
}

TEST_F(PlainFileTest, ArchiveModeSwitchesOnlyTheStandardTable) {
  EXPECT_EQ(IsStandardFileTableInstalled(), 1);
  EnableArchiveAccess(0);
  EXPECT_EQ(IsStandardFileTableInstalled(), 1);
  FileAccessTable own = PlainFileTable();
  own.idle = [](FileHandle) { return 1; };  // idle does not count
  InstallFileAccessTable(&own);
  EXPECT_EQ(IsStandardFileTableInstalled(), 1);
  own.tell = [](FileHandle) -> int64_t { return 42; };
  InstallFileAccessTable(&own);
  EXPECT_EQ(IsStandardFileTableInstalled(), 0);
  EnableArchiveAccess(1);  // a caller's own table stays
  EXPECT_EQ(FileTellVia(1), 42);
  InstallFileAccessTable(nullptr);
  EXPECT_EQ(IsStandardFileTableInstalled(), 1);
}

TEST_F(PlainFileTest, TempFileIsCreatedEmpty) {
  char name[kFilePathSize];
  const HostFile file = CreateTempFile(name, sizeof name);
  ASSERT_NE(file, kNoHostFile);
  EXPECT_EQ(name[0], '/');
  EXPECT_EQ(FileSizeOf(name), 0);
  HostCloseFile(file);
  EXPECT_TRUE(HostDeleteFile(name));
  char tiny[4];
  EXPECT_EQ(CreateTempFile(tiny, sizeof tiny), kNoHostFile);
}

}  // namespace
