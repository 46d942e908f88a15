#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/platform/files/StreamOps.h"
#include "tests/runtime/platform/files/FileFixture.h"

namespace {

using StreamTest = FileFixture;

TEST_F(StreamTest, MemoryStreamReadsPartialElementsAndClampsSeeks) {
  const char bytes[] = "0123456789";
  const StreamOps* ops = GetMemoryStreamOps();
  const StreamHandle s = reinterpret_cast<StreamHandle>(MemStreamOpen(bytes, 10));
  ASSERT_NE(s, 0u);
  char buffer[8];
  EXPECT_EQ(ops->seek(s, 4, kSeekStart), 0);
  EXPECT_EQ(ops->read(buffer, 4, 3, s), 1u);  // 6 left: one whole element
  EXPECT_EQ(std::string(buffer, 4), "4567");
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(ops->read(buffer, 4, 1, s), 1u);  // the last 2 bytes, zero-filled
  EXPECT_EQ(std::string(buffer, 4), std::string("89\0\0", 4));
  EXPECT_EQ(ops->eof(s), 0);
  EXPECT_EQ(ops->read(buffer, 4, 1, s), 0u);
  EXPECT_NE(ops->eof(s), 0);

  EXPECT_EQ(ops->seek(s, -5, kSeekStart), 0);
  EXPECT_EQ(ops->tell(s), 0);
  EXPECT_EQ(ops->eof(s), 0);
  EXPECT_EQ(ops->seek(s, 5, kSeekEnd), 0);
  EXPECT_EQ(ops->tell(s), 10);
  EXPECT_EQ(ops->seek(s, -3, kSeekCurrent), 0);
  EXPECT_EQ(ops->tell(s), 7);
  EXPECT_EQ(ops->seek(s, INT64_MAX, kSeekCurrent), 0);
  EXPECT_EQ(ops->tell(s), 10);
  EXPECT_EQ(ops->seek(s, 0, 9), -1);
  EXPECT_EQ(ops->idle(s), 1);
  EXPECT_EQ(ops->close(s), 0);  // the memory stays the caller's
  EXPECT_EQ(bytes[0], '0');
}

TEST_F(StreamTest, FileStreamCountsWholeElementsInAndOutOfArchives) {
  dir.Write("Data/f.bin", "0123456789");
  const StreamOps* ops = GetFileStreamOps();
  const StreamHandle s = FileOpenVia("data\\f.bin", 0, 1, 0);
  ASSERT_NE(s, 0u);
  char buffer[8];
  EXPECT_EQ(ops->read(buffer, 4, 2, s), 2u);
  EXPECT_EQ(ops->tell(s), 8);
  EXPECT_EQ(ops->seek(s, -10, kSeekEnd), 0);
  EXPECT_EQ(ops->read(buffer, 2, 1, s), 1u);
  EXPECT_EQ(std::string(buffer, 2), "01");
  EXPECT_EQ(ops->idle(s), 1);
  EXPECT_EQ(ops->close(s), 0);
}

}  // namespace
