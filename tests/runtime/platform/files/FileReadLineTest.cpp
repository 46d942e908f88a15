#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/runtime/platform/files/FileFixture.h"

namespace {

class FileReadLineTest : public FileFixture {
 protected:
  // Every line of the file read with a buffer of the size, then the -1.
  std::vector<std::string> Lines(const std::string& bytes, size_t size) {
    dir.Write("t.txt", bytes);
    std::vector<std::string> lines;
    const FileHandle file = FileOpenRead("t.txt", 0);
    std::vector<char> buffer(size);
    for (int guard = 0; guard < 100; ++guard) {
      const int n = FileReadLine(buffer.data(), size, file);
      if (n < 0) break;
      EXPECT_EQ(static_cast<size_t>(n), std::string(buffer.data()).size());
      lines.emplace_back(buffer.data(), static_cast<size_t>(n));
    }
    FileCloseRead(file);
    return lines;
  }
};

using LineList = std::vector<std::string>;

TEST_F(FileReadLineTest, SplitsAtCrLfOnly) {
  EXPECT_EQ(Lines("first\r\nsecond\r\n", 64), (LineList{"first", "second"}));
  EXPECT_EQ(Lines("a\r\n\r\nb", 64), (LineList{"a", "", "b"}));
  EXPECT_EQ(Lines("abcdefgh\nij\n", 5), (LineList{"abcd", "efgh", "\nij\n"}));  // LF alone: blocks of size - 1
  EXPECT_EQ(Lines("a\rb\r\n", 64), (LineList{"a\rb"}));
  EXPECT_EQ(Lines("", 64), LineList{});
}

TEST_F(FileReadLineTest, KeepsTwoByteCharactersWhole) {
  // "表" ends in 0x5C, and "\x83\x0D" is a character, not a CR.
  EXPECT_EQ(Lines("\x95\x5C\x83\x0D\n\r\n", 64), (LineList{"\x95\x5C\x83\x0D\n"}));
  // A character cut by the block comes whole in the next piece.
  EXPECT_EQ(Lines("ab\x95\x5C", 4), (LineList{"ab", "\x95\x5C"}));
  // A lone lead byte at the end of the file ends it instead of looping.
  EXPECT_EQ(Lines("ab\x95", 64), (LineList{"ab\x95"}));
  EXPECT_EQ(Lines("\x95", 64), (LineList{"\x95"}));
  EXPECT_EQ(Lines("\x95\x5C", 2), (LineList{"\x95", "\x5C"}));  // no room for the character
}

TEST_F(FileReadLineTest, CrLfAcrossABlockEndStaysALineEnd) {
  EXPECT_EQ(Lines("abc\r\ndef", 5), (LineList{"abc", "def"}));
  EXPECT_EQ(Lines("abc\rdef", 5), (LineList{"abc\r", "def"}));
  EXPECT_EQ(Lines("abc\r", 5), (LineList{"abc\r"}));
}

TEST_F(FileReadLineTest, NulEndsTheLineAndSkipsTheRestOfTheBlock) {
  EXPECT_EQ(Lines(std::string("ab\0cd\r\nef", 9), 64), (LineList{"ab"}));
  EXPECT_EQ(Lines(std::string("ab\0cd\r\nef", 9), 4), (LineList{"ab", "cd", "ef"}));
}

}  // namespace
