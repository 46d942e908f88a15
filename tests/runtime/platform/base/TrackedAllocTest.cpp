#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/base/LogFixture.h"

namespace {

class TrackedAllocTest : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    ASSERT_EQ(TrackedBlockCount(), 0) << "an earlier test left blocks behind";
  }
  // Block addresses differ from run to run.
  static std::string MaskAddresses(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
      if (text.compare(i, 5, "addr:") == 0) {
        out += "addr:#";
        i += 5;
        while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i]))) ++i;
      } else {
        out += text[i++];
      }
    }
    return out;
  }
  static TrackedBlockHeader* HeaderOf(void* block) {
    return reinterpret_cast<TrackedBlockHeader*>(static_cast<char*>(block) - sizeof(TrackedBlockHeader));
  }
};

TEST_F(TrackedAllocTest, DumpListsTheLiveBlocksAndTotals) {
  void* a = TrackedAlloc(100, "", 0);
  char* b = static_cast<char*>(TrackedAlloc(28, "src/Sound/Sound.cpp", 70000));
  std::memcpy(b, "ABC\x01\xFFxyz0123456789abcdefghijklmnopq", 28);
  TrackedFree(a);
  EXPECT_EQ(TrackedBlockCount(), 1);
  EXPECT_EQ(TrackedTotalSize(), 28);

  EXPECT_EQ(DumpAllocations(), -1);
  const std::string id = std::to_string(HeaderOf(b)->allocId);
  EXPECT_EQ(MaskAddresses(LogText()),
            "0:\r\n"
            "0:Alloc memory dump\tsize:28(0.027kb)  file:Sound/Sound.cpp  line:4464  ID:" + id +
                "  addr:#  data:<ABC..xyz01234567> [41 42 43 01 ff 78 79 7a 30 31 32 33 34 35 36 37]\r\n"
                "0:\tTotal size:28(0.027kb)  Alloc num:1\r\n"
                "0:\r\n");
  TrackedFree(b);
}

TEST_F(TrackedAllocTest, CheckFindsADamagedHeader) {
  char* block = static_cast<char*>(TrackedAlloc(4));
  std::memcpy(block, "wxyz", 4);
  EXPECT_EQ(CheckAllocations(), 0);

  TrackedBlockHeader* header = HeaderOf(block);
  header->sourceLine ^= 0x40;
  EXPECT_EQ(CheckAllocations(), -1);
  EXPECT_NE(LogText().find("以下のメモリ確保情報が破損しました\tsize:4(0.004kb)"), std::string::npos);
  EXPECT_NE(LogText().find("line:64  "), std::string::npos);
  EXPECT_NE(LogText().find("data:<wxyz> [77 78 79 7a]\r\n"), std::string::npos);

  header->sourceLine ^= 0x40;
  EXPECT_EQ(CheckAllocations(), 0);
  TrackedFree(block);
}

TEST_F(TrackedAllocTest, FreeAndReallocKeepTheListAndTotalsRight) {
  EXPECT_EQ(TrackedFree(nullptr), 0);

  char* a = static_cast<char*>(TrackedRealloc(nullptr, 8));  // null reallocates as a new block
  ASSERT_NE(a, nullptr);
  std::memcpy(a, "12345678", 8);
  void* b = TrackedAlloc(16);
  void* c = TrackedAlloc(32);

  a = static_cast<char*>(TrackedRealloc(a, 4096));  // the oldest block moves
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(std::memcmp(a, "12345678", 8), 0);
  for (int i = 8; i < 4096; ++i) ASSERT_EQ(a[i], 0) << "growth is zero-filled";
  EXPECT_EQ(TrackedTotalSize(), 4096 + 16 + 32);
  EXPECT_EQ(TrackedBlockCount(), 3);
  EXPECT_EQ(CheckAllocations(), 0);

  TrackedFree(b);  // from the middle
  c = TrackedRealloc(c, 1);  // the head moves
  EXPECT_EQ(CheckAllocations(), 0);
  TrackedFree(c);
  TrackedFree(a);
  EXPECT_EQ(TrackedBlockCount(), 0);
  EXPECT_EQ(TrackedTotalSize(), 0);
}

TEST_F(TrackedAllocTest, AFailedAllocationDumpsAndReturnsNull) {
  void* kept = TrackedAllocZero(3);
  SetTrackedAllocFailureCountdown(0);
  EXPECT_EQ(TrackedAlloc(10), nullptr);
  EXPECT_NE(LogText().find("Alloc memory dump\tsize:3(0.003kb)"), std::string::npos);

  SetTrackedAllocFailureCountdown(0);
  EXPECT_EQ(TrackedRealloc(kept, 50), nullptr);  // the old block stays valid
  EXPECT_EQ(TrackedTotalSize(), 3);
  TrackedFree(kept);
}

TEST_F(TrackedAllocTest, ZeroByteAllocationsAreTraced) {
  void* block = TrackedAlloc(0, "Trace.cpp", 12);
  TrackedFree(block);
  EXPECT_EQ(MaskAddresses(LogText()).find("mem alloc  \tsize:0(0.000kb)  file:Trace.cpp  line:12"),
            std::string("0:").size());
  EXPECT_NE(LogText().find("mem free  \tsize:0"), std::string::npos);
  EXPECT_NE(LogText().find("data:<> []\r\n"), std::string::npos);
}

}  // namespace
