#pragma once
// A fresh game folder as the current folder, the log in it, the file access
// table and the archive module at their defaults.

#include <string>

#include "runtime/Movan.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/base/LogFixture.h"
#include "tests/support/CurrentDirectory.h"

class FileFixture : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    ResetArchives();
  }
  void TearDown() override {
    ResetArchives();
    EXPECT_EQ(TrackedBlockCount(), 0) << "blocks left behind";
    LogFixture::TearDown();
  }
  static void ResetArchives() {
    ResetArchiveState();
    SetArchiveExtension(nullptr);
    SetArchiveKeyString(nullptr);
    EnableArchiveAccess(1);
    InstallFileAccessTable(nullptr);
  }

  // The whole file read through the entry points, or "<none>".
  static std::string ReadThrough(const char* name) {
    const FileHandle file = FileOpenRead(name, 0);
    if (!file) return "<none>";
    const int64_t size = FileSizeOf(name);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0) FileReadBytes(bytes.data(), bytes.size(), file);
    FileCloseRead(file);
    return bytes;
  }

  ScopedCurrentDirectory cwd{dir.Path()};
};
