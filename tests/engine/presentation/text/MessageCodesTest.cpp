#include <gtest/gtest.h>

#include <string>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/presentation/text/MessageCodes.h"

namespace {

// What the expander writes for an escape is read back as the author's value.
TEST(MessageCodesTest, ValuesTheExpanderWritesReadBack) {
  struct Case {
    const char* escape;
    ControlCode code;
    std::string bytes;  // the argument bytes written
    int32_t read;
  };
  const Case cases[] = {
      {"\\c[150]", kCodeColor, "\xA4", 150},
      {"\\f[240]", kCodeFontSize, "\xFE", 240},
      {"\\sp[300]", kCodeSpeed, "\x0F\x3A", 300},
      {"\\sp[0]", kCodeSpeed, "\x0D\x0D", 65535},     // the default speed
      {"\\space[-6]", kCodeLineSpacing, "\x8A\x08", 31994},
      {"\\i[242]", kCodeIcon, std::string("\x0E\x00", 2), 242},  // a zero byte inside
      {"\\i[-1]", kCodeIcon, "\x35\x1E", 10000},
      {"\\mx[5]", kCodeMoveX, "\x0E\x13", 5},
  };
  for (const Case& c : cases) {
    const std::string text = ExpandMessageText(c.escape, 0, 0, 0);
    ASSERT_EQ(text.size(), 2 + c.bytes.size()) << c.escape;
    EXPECT_EQ(text[0], '\x01') << c.escape;
    EXPECT_EQ(static_cast<uint8_t>(text[1]), c.code) << c.escape;
    EXPECT_EQ(text.substr(2), c.bytes) << c.escape;
    const uint8_t* a = reinterpret_cast<const uint8_t*>(text.data() + 2);
    EXPECT_EQ(c.bytes.size() == 1 ? DecodeSmallValue(a[0]) : DecodeWideValue(a[0], a[1]), c.read) << c.escape;
  }
}

TEST(MessageCodesTest, SqueezeIsASignedByteWithZeroAs255) {
  const struct {
    const char* escape;
    uint8_t written;
    int32_t read;
  } cases[] = {{"\\-[0]", 255, 0}, {"\\-[-5]", 251, -5}, {"\\-[13]", 12, 12}, {"\\-[3]", 3, 3}};
  for (const auto& c : cases) {
    const std::string text = ExpandMessageText(c.escape, 0, 0, 0);
    ASSERT_EQ(text.size(), 3u) << c.escape;
    EXPECT_EQ(static_cast<uint8_t>(text[2]), c.written) << c.escape;
    EXPECT_EQ(DecodeSignedByte(static_cast<uint8_t>(text[2])), c.read) << c.escape;
  }
}

TEST(MessageCodesTest, OnlyShapingArgumentsCountAsControlBytes) {
  EXPECT_EQ(CountedArgumentBytes(kCodeColor), 1);
  EXPECT_EQ(CountedArgumentBytes(kCodeSqueeze), 1);
  EXPECT_EQ(CountedArgumentBytes(kCodeSpeed), 2);
  EXPECT_EQ(CountedArgumentBytes(kCodeLineSpacing), 2);
  EXPECT_EQ(CountedArgumentBytes(kCodeIcon), 0);
  EXPECT_EQ(CountedArgumentBytes(kCodeMoveY), 0);
  EXPECT_EQ(CountedArgumentBytes(kCodeRuby), 0);
}

}  // namespace
