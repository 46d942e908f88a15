#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/base/LogFixture.h"

namespace {

using LogTest = LogFixture;

TEST_F(LogTest, WritesStampsIndentsAndLineEndsExactly) {
  clock.AdvanceMs(5);
  EXPECT_EQ(LogWrite("a\nb\n"), -1);
  clock.AdvanceMs(10);
  LogIndentIn();
  LogIndentIn();
  LogWrite("first ");
  clock.AdvanceMs(1);  // a continued line keeps the stamp it started with
  LogWrite("second\n");
  LogIndentOut();
  LogWrite("x\r\ny\nz");
  LogWrite("\n");
  LogIndentOut();
  LogIndentOut();  // stays at 0
  LogFormat("n=%d", 7);
  LogPrintf("%s", "p");
  LogPrintf("q\n");

  EXPECT_EQ(LogText(),
            "5:a\r\n"
            "5:b\r\n"
            "15:\t\tfirst second\r\n"
            "16:\tx\r\n"
            "16:\ty\n"
            "16:\tz\r\n"
            "16:n=7\r\n"
            "16:pq\r\n");
}

TEST_F(LogTest, LineEndConversionSkipsTrailBytesAndStopsAtExistingCrLf) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a\nb\n", "a\r\nb\r\n"},
      {"x\r\ny\nz", "x\r\ny\nz"},           // stops at the first LF that has its CR
      {"\n", "\r\n"},                        // a leading LF has no byte before it
      {"\x82\n\n", "\x82\n\r\n"},           // the byte after a lead byte is never a line feed
      {"ab\x82", "ab\x82"},                  // a lone lead byte at the end stops at the NUL
      {"\r\n\n", "\r\n\n"},
  };
  for (const Case& c : cases) {
    char out[64];
    const int n = LogConvertLineEnds(c.in, out);
    EXPECT_EQ(std::string(out, static_cast<size_t>(n)), c.out) << c.in;
  }
}

TEST_F(LogTest, LongTextsUseTheHeapAndGiveItBack) {
  const int blocks = TrackedBlockCount();
  std::string text(1000, 'x');
  text += "\n";
  LogWrite(text.c_str());
  EXPECT_EQ(TrackedBlockCount(), blocks);
  EXPECT_EQ(LogText(), "0:" + std::string(1000, 'x') + "\r\n");
}

TEST_F(LogTest, NothingIsWrittenWhenTheLogIsOff) {
  EnableLogOutput(0);
  LogWrite("hidden\n");
  EnableLogOutput(1);
  LogWrite("shown\n");
  EXPECT_EQ(LogText(), "0:shown\r\n");
}

TEST_F(LogTest, OpeningRecreatesTheFileAndRestartsTheClock) {
  LogWrite("old\n");
  clock.AdvanceMs(250);
  LogIndentIn();
  OpenLogFile();
  LogWrite("new\n");
  EXPECT_EQ(LogText(), "0:new\r\n");
}

TEST_F(LogTest, StartDirectoryEndingInATwoByteCharacterGetsASeparator) {
  // "ソ" is 0x83 0x5C: its 0x5C is not a separator.
  TestDirectory parent;
  const std::string sub = parent.Path() + "/\xE3\x82\xBD";  // the folder name in UTF-8
  ASSERT_TRUE(std::filesystem::create_directory(sub));
  gPlatform = PlatformState();
  StrCopy(gPlatform.startDirectory, sizeof gPlatform.startDirectory, (parent.Path() + "/\x83\x5C").c_str());
  OpenLogFile();
  LogWrite("ok\n");
  EXPECT_EQ(ReadWholeFile(sub + "/Log.txt"), "0:ok\r\n");
}

TEST_F(LogTest, ALinkPlantedAtTheLogIsNotFollowed) {
  TestDirectory elsewhere;
  const std::string target = elsewhere.Write("victim.txt", "kept");
  std::filesystem::remove(dir.File("Log.txt"));
  ASSERT_EQ(symlink(target.c_str(), dir.File("Log.txt").c_str()), 0);
  LogWrite("line\n");
  EXPECT_EQ(ReadWholeFile(target), "kept");
  // Opening the log puts a plain file in the link's place.
  OpenLogFile();
  LogWrite("line\n");
  EXPECT_EQ(ReadWholeFile(target), "kept");
  EXPECT_EQ(LogText(), "0:line\r\n");
}

}  // namespace
