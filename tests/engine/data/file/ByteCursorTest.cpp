#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/file/FileBuffer.h"
#include "engine/data/map/MoveRoute.h"
#include "engine/data/file/SaveBuffer.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

TEST(ByteCursorTest, AReadEndingAtTheSizeSucceedsAndOneByteMoreFailsInPlace) {
  SaveBuffer save(std::vector<uint8_t>{1, 0, 0, 0, 2, 0, 0});
  int32_t value = 0;
  ASSERT_TRUE(save.ReadI32(value));
  uint8_t rest[4] = {};
  ASSERT_TRUE(save.ReadBytes(rest, 3));
  EXPECT_EQ(save.Position(), 7);
  EXPECT_FALSE(save.Overrun());

  save.Seek(4);
  EXPECT_FALSE(save.ReadBytes(rest, 4));
  EXPECT_TRUE(save.Overrun());
  EXPECT_EQ(save.Position(), 4);
  // Nothing after a missing field can be trusted: the flag stays and later reads fail too.
  uint8_t b = 0;
  EXPECT_FALSE(save.ReadU8(b));
  EXPECT_EQ(save.Position(), 4);
  save.ClearOverrun();
  EXPECT_TRUE(save.ReadU8(b));
  EXPECT_EQ(b, 2);
}

TEST(ByteCursorTest, RefusesNegativeAndOversizedLengthsAndCounts) {
  struct Case {
    std::string bytes;
    int32_t limit;
    bool ok;
    std::string text;
  } strings[] = {
      {ByteWriter().Text("abc").Bytes(), ByteCursor::kNoLimit, true, "abc"},
      {ByteWriter().I32(5).Raw(std::string("ab\0cd", 5)).Bytes(), ByteCursor::kNoLimit, true, "ab"},
      {ByteWriter().I32(0).Bytes(), ByteCursor::kNoLimit, true, ""},
      {ByteWriter().I32(3).Raw("abc").Bytes(), ByteCursor::kNoLimit, true, "abc"},  // no NUL: all the bytes
      {ByteWriter().Text(std::string(511, 'x')).Bytes(), 512, true, std::string(511, 'x')},
      {ByteWriter().Text(std::string(512, 'x')).Bytes(), 512, false, ""},
      {ByteWriter().I32(-1).Raw("abc").Bytes(), ByteCursor::kNoLimit, false, ""},
      {ByteWriter().I32(5).Raw("abc").Bytes(), ByteCursor::kNoLimit, false, ""},
      {ByteWriter().I32(INT32_MAX).Bytes(), ByteCursor::kNoLimit, false, ""},
  };
  for (const Case& c : strings) {
    FileBuffer in = BufferOf(c.bytes);
    std::string text = "unchanged";
    EXPECT_EQ(in.ReadString(text, c.limit), c.ok) << c.bytes.size();
    EXPECT_EQ(text, c.ok ? c.text : "unchanged");
    EXPECT_EQ(in.Position(), c.ok ? in.Size() : 0);
  }

  const struct {
    int32_t count;
    int32_t maxCount;
    bool ok;
  } counts[] = {{0, 10, true}, {2, 10, true}, {3, 10, false}, {-1, 10, false}, {2, 1, false}, {INT32_MAX, INT32_MAX, false}};
  for (const auto& c : counts) {
    FileBuffer in = BufferOf(ByteWriter().I32(c.count).Raw("12345678").Bytes());
    int32_t count = -7;
    EXPECT_EQ(in.ReadCount(count, 4, c.maxCount), c.ok) << c.count;
    EXPECT_EQ(count, c.ok ? c.count : -7);
    EXPECT_EQ(in.Position(), c.ok ? 4 : 0);
  }

  FileBuffer in = BufferOf("abcd");
  EXPECT_TRUE(in.Seek(4));
  EXPECT_FALSE(in.Seek(5));
  EXPECT_EQ(in.Position(), 4);
}

TEST(ByteCursorTest, ListReadsFillThePrefixOrReplaceTheList) {
  const std::string bytes = ByteWriter()
                                .I32(2).U8(7).U8(8)
                                .I32(1).U16(0x1234)
                                .I32(2).I32(-1).I32(5)
                                .I32(2).Text("a").Text("bc")
                                .Bytes();
  FileBuffer in = BufferOf(bytes);
  std::vector<uint8_t> bytesList{1, 2, 3};
  std::vector<uint16_t> words{9, 9};
  std::vector<int32_t> ints{4};
  std::vector<std::string> texts{"x", "y", "z"};
  EXPECT_EQ(in.ReadByteListPrefix(bytesList), 2);
  EXPECT_EQ(in.ReadU16ListPrefix(words), 1);
  EXPECT_EQ(in.ReadI32ListPrefix(ints), 2);
  EXPECT_EQ(in.ReadStringListPrefix(texts), 2);
  EXPECT_EQ(bytesList, (std::vector<uint8_t>{7, 8, 3}));
  EXPECT_EQ(words, (std::vector<uint16_t>{0x1234, 9}));
  EXPECT_EQ(ints, (std::vector<int32_t>{-1, 5}));
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "bc", "z"}));
  EXPECT_EQ(in.Position(), in.Size());

  FileBuffer again = BufferOf(ByteWriter().I32(2).U8(7).U8(8).I32(1).I32(-1).I32(2).Text("a").Text("bc").Bytes());
  bytesList = {1, 2, 3};
  ints = {4, 4};
  texts = {"x", "y", "z"};
  EXPECT_TRUE(again.ReadByteList(bytesList));
  EXPECT_TRUE(again.ReadI32List(ints));
  EXPECT_TRUE(again.ReadStringList(texts));
  EXPECT_EQ(bytesList, (std::vector<uint8_t>{7, 8}));
  EXPECT_EQ(ints, (std::vector<int32_t>{-1}));
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "bc"}));
}

TEST(ByteCursorTest, ListReadsRefuseCountsAndLengthsOverTheirLimits) {
  const std::string twoTexts = ByteWriter().I32(2).Text("a").Text("bc").Bytes();
  std::vector<std::string> texts{"x"};
  FileBuffer longText = BufferOf(twoTexts);
  EXPECT_EQ(longText.ReadStringListPrefix(texts, 2), -1) << "\"bc\" takes 3 bytes with its NUL";
  EXPECT_TRUE(longText.Overrun());
  FileBuffer manyTexts = BufferOf(twoTexts);
  EXPECT_FALSE(manyTexts.ReadStringList(texts, ByteCursor::kNoLimit, 1));
  EXPECT_EQ(manyTexts.Position(), 0);

  std::vector<int32_t> ints{4};
  FileBuffer manyInts = BufferOf(ByteWriter().I32(2).I32(1).I32(2).Bytes());
  EXPECT_EQ(manyInts.ReadI32ListPrefix(ints, 1), -1);
  EXPECT_EQ(ints, std::vector<int32_t>{4});
  std::vector<uint8_t> bytesList{1};
  FileBuffer pastTheEnd = BufferOf(ByteWriter().I32(5).U8(1).Bytes());
  EXPECT_FALSE(pastTheEnd.ReadByteList(bytesList));
  EXPECT_EQ(bytesList, std::vector<uint8_t>{1});
  FileBuffer negative = BufferOf(ByteWriter().I32(-1).Bytes());
  EXPECT_EQ(negative.ReadByteListPrefix(bytesList), -1);
}

TEST(SaveBufferTest, WritesWhatItReadsBackAndNeverPassesTheBodyLimit) {
  SaveBuffer save;
  save.WriteU8(0xFE);
  save.WriteI16(-2);
  save.WriteI32(-123456789);
  save.WriteString("名前");
  ASSERT_FALSE(save.Overrun());
  EXPECT_EQ(save.Size(), 1 + 2 + 4 + 4 + 5);

  save.Seek(0);
  uint8_t b = 0;
  int16_t s = 0;
  int32_t i = 0;
  std::string text;
  EXPECT_TRUE(save.ReadU8(b) && save.ReadI16(s) && save.ReadI32(i) && save.ReadString(text));
  EXPECT_EQ(b, 0xFE);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(i, -123456789);
  EXPECT_EQ(text, "名前");

  SaveBuffer full;
  const std::vector<uint8_t> body(SaveBuffer::kBodyLimit - 1, 0);
  EXPECT_TRUE(full.WriteBytes(body.data(), static_cast<int64_t>(body.size())));
  EXPECT_TRUE(full.WriteU8(1));
  EXPECT_FALSE(full.WriteU8(2));
  EXPECT_TRUE(full.Overrun());
  EXPECT_EQ(full.Size(), SaveBuffer::kBodyLimit);
}

TEST(FileBufferTest, LoadsTheWholeFileOrNothing) {
  TestDirectory dir;
  const std::string path = dir.Write("Data/a.bin", std::string("\x01\x02\x00\x03", 4));
  FileBuffer file;
  ASSERT_TRUE(file.Load(path.c_str()));
  EXPECT_EQ(std::vector<uint8_t>(file.Data(), file.Data() + file.Size()), (std::vector<uint8_t>{1, 2, 0, 3}));
  EXPECT_EQ(file.Position(), 0);

  EXPECT_FALSE(file.Load(dir.File("Data/missing.bin").c_str()));
  EXPECT_EQ(file.Size(), 0);
  ASSERT_TRUE(file.Load(dir.Write("empty.bin", "").c_str()));
  EXPECT_EQ(file.Size(), 0);
}

TEST(MoveRouteTest, WritesAndReadsItsRecordThroughTheSaveBuffer) {
  MoveRoute route;
  route.options = {1, 2, 3, 4, 0x55, 6};
  route.steps.push_back({7, {1, -2, 300000}, "歩く"});
  route.steps.push_back({200, {}, ""});
  SaveBuffer save;
  ASSERT_TRUE(route.Write(save));
  // Options in record order 1, 2, 3, 0, 4, 5; the text length counts its NUL.
  const std::string expected = ByteWriter()
                                   .Raw("\x02\x03\x04\x01\x55\x06")
                                   .I32(2)
                                   .U8(7).U8(3).I32(1).I32(-2).I32(300000).U8(5).Raw("歩く").U8(0)
                                   .U8(200).U8(0).U8(1).U8(0)
                                   .Bytes();
  EXPECT_EQ(std::string(save.Data(), save.Data() + save.Size()), expected);

  save.Seek(0);
  MoveRoute back;
  ASSERT_TRUE(back.Read(save));
  EXPECT_EQ(back, route);
  EXPECT_EQ(back.FlagBit0(), 1);
  EXPECT_EQ(back.FlagBit1(), 0);
  EXPECT_EQ(back.FlagBit6(), 1);
}

TEST(MoveRouteTest, KeepsOnlyWhatTheRecordCanCarry) {
  MoveRoute route;
  MoveRouteStep step;
  step.arguments.assign(300, 9);
  step.text = std::string(253, 'a') + "漢";  // 255 bytes: the two-byte character does not fit
  route.steps.push_back(step);
  SaveBuffer save;
  ASSERT_TRUE(route.Write(save));
  save.Seek(0);
  MoveRoute back;
  ASSERT_TRUE(back.Read(save));
  ASSERT_EQ(back.steps.size(), 1u);
  EXPECT_EQ(back.steps[0].arguments, std::vector<int32_t>(255, 9));
  EXPECT_EQ(back.steps[0].text, std::string(253, 'a'));
  EXPECT_EQ(save.Position(), save.Size());
}

TEST(MoveRouteTest, ADamagedRecordFailsAndLeavesTheOverrunFlag) {
  const std::string options("\x03\x03\x03\x00\x03\x02", 6);
  const std::string cases[] = {
      ByteWriter().Raw(options).I32(65537).Raw(std::string(300000, '\0')).Bytes(),
      ByteWriter().Raw(options).I32(-1).Bytes(),
      ByteWriter().Raw(options).I32(2).U8(1).U8(0).U8(1).U8(0).U8(1).U8(2).I32(5).Bytes(),  // second step cut short
      ByteWriter().Raw(options.substr(0, 4)).Bytes(),
  };
  for (const std::string& bytes : cases) {
    FileBuffer in = BufferOf(bytes);
    MoveRoute route;
    EXPECT_FALSE(route.Read(in));
    EXPECT_TRUE(in.Overrun());
  }
  // 65536 steps is the most a route holds.
  ByteWriter most;
  most.Raw(options).I32(65536);
  for (int i = 0; i < 65536; ++i) most.U8(0).U8(0).U8(1).U8(0);
  FileBuffer in = BufferOf(most.Bytes());
  MoveRoute route;
  EXPECT_TRUE(route.Read(in));
  EXPECT_EQ(route.steps.size(), 65536u);
}

TEST(ByteCursorTest, TerminatedStringsMustCarryTheirNul) {
  const struct {
    std::string bytes;
    int lengthBytes;
    int32_t limit;
    bool ok;
    std::string text;
  } cases[] = {
      {std::string("\x03\x00\x00\x00" "ab\0", 7), 4, ByteCursor::kNoLimit, true, "ab"},
      {std::string("\x03\x00" "a\0b", 5), 2, ByteCursor::kNoLimit, true, "a"},
      {std::string("\x02\x00" "ab", 4), 2, ByteCursor::kNoLimit, false, ""},
      {std::string("\x00\x00", 2), 2, ByteCursor::kNoLimit, false, ""},
      {std::string("\xff\xff" "a\0", 4), 2, ByteCursor::kNoLimit, false, ""},
      {std::string("\x04\x00" "a\0", 4), 2, ByteCursor::kNoLimit, false, ""},
      {std::string("\x03\x00" "ab\0", 5), 2, 2, false, ""},
  };
  for (const auto& c : cases) {
    SaveBuffer in = BufferOf<SaveBuffer>(c.bytes);
    std::string text;
    EXPECT_EQ(in.ReadTerminatedString(text, c.lengthBytes, c.limit), c.ok) << c.bytes.size();
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(in.Overrun(), !c.ok);
    EXPECT_EQ(in.Position(), c.ok ? static_cast<int32_t>(c.bytes.size()) : 0);
  }
}

}  // namespace
