#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/ErrorLocation.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"
#include "tests/support/FakeMapHooks.h"

namespace {

class EscapeExpanderTest : public VariablesTest {
 protected:
  void SetUp() override {
    VariablesTest::SetUp();
    map.mapId = 1;
    Variables.SetVariable(2000003, 42);
    Variables.SetVariable(2200005, 25);
    Variables.SetStringVariable(3000001, "Alice");
    Variables.SetStringVariable(15000207, "third");
    Variables.SetVariable(15000212, 12);
    Variables.SetVariableOnMap(1000064, 64, 5);  // map 5, event 6, slot 4
  }
  FakeMapHooks map;
};

// A text as the events' commands give it: map event 6, common event 2, map 5.
std::string Expand(const std::string& text, bool referencesOnly = false) {
  return ExpandMessageText(text, 6, 2, 5, referencesOnly);
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST_F(EscapeExpanderTest, References) {
  const struct {
    const char* text;
    std::string expanded;
  } cases[] = {
      {"HP\\v[3]", "HP42"},
      {"\\v2[5]", "25"},
      {"\\v[ 3]\\v[-1]", "420"},
      {"\\self[4]", "64"},
      {"\\cself[7]", "third"},
      {"\\cself[12]", "12"},
      {"\\udb[2:3:0]", "32"},
      {"\\udb[2:3:1]", "t2r3"},
      {"\\cdb[1:2:0]\\sdb[0:0:1]", "21t0r0"},
      {"\\s[1] and \\s[2].", "Alice and ."},
      {"\\v[99999999999]", "0"},  // saturates beyond 32 bits: no variable
      {"\\\\v[3]", "\\42"},       // references do not look at backslash pairs
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Expand(c.text, true), c.expanded) << c.text;
    EXPECT_TRUE(TakeErrors().empty()) << c.text;
  }
  EXPECT_EQ(Variables.mapOverride, -1);
}

TEST_F(EscapeExpanderTest, InsertedTextIsExpandedByTheKindsThatFollow) {
  Variables.SetStringVariable(3000002, "\\v[3]\\c[1]");
  Variables.SetStringVariable(3000003, "\\s[1]!");
  EXPECT_EQ(Expand("\\s[2]", true), "\\v[3]\\c[1]") << "\\v comes before \\s";
  EXPECT_EQ(Expand("\\s[3]", true), "Alice!") << "the same kind goes on";
  EXPECT_EQ(Expand("\\s[2]"), Bytes({'\\', 'v', '[', '3', ']', 1, 2, 15}));
}

TEST_F(EscapeExpanderTest, SelfReferencesAreBounded) {
  Variables.SetStringVariable(3000004, "\\s[4]");
  EXPECT_EQ(Expand("<\\s[4]>", true), "<\\s[4]>");
  Variables.SetStringVariable(3000004, "ab\\s[4]");
  const std::string grown = Expand("\\s[4]", true);
  EXPECT_EQ(grown.size(), 2u * (kMaxRescansPerKind + 1) + 5) << "the last value is not scanned again";
  Variables.SetStringVariable(3000004, "\\s[4]\\s[4]");
  EXPECT_LT(Expand("\\s[4]", true).size(), 1000u);
  Variables.SetStringVariable(3000004, std::string(1 << 16, 'x'));
  std::string many;
  for (int i = 0; i < 100; ++i) many += "\\s[4]";
  const std::string big = Expand(many, true);
  EXPECT_LE(big.size(), many.size() + kMaxExpandedGrowth);
  EXPECT_GT(big.size(), kMaxExpandedGrowth - (1 << 16));
  // The allowance holds for the whole text, not for each kind.
  Variables.SetStringVariable(15000207, std::string(1 << 16, 'y'));
  std::string mixed;
  for (int i = 0; i < 20; ++i) mixed += "\\s[4]\\cself[7]";
  EXPECT_LE(Expand(mixed, true).size(), mixed.size() + kMaxExpandedGrowth);
}

TEST_F(EscapeExpanderTest, MissingMarks) {
  const std::string L = ErrorLocationText();
  const struct {
    const char* text;
    std::string expanded;
    std::vector<ErrorScreenLines> errors;
  } cases[] = {
      {"\\v[3", "42[3", {{"エラー：\\v[の「]」が見つかりません", L, ""}}},
      {"\\v2[5", "252[5", {{"エラー：\\v?の「]」が見つかりません", L, ""}}},
      {"\\self[4", "64elf[4", {{"エラー：\\selfの「]」が見つかりません", L, ""}}},
      {"\\cself[12", "12self[12", {{"エラー：\\cselfの「]」が見つかりません", L, ""}}},
      {"\\s[1", "Alice[1", {{"エラー：\\sの「]」が見つかりません", L, ""}}},
      {"\\udb[1:2]", "21", {{"エラー：\\?dbの「:」が見つかりません", L, ""}}},
      {"\\udb[1]", "1", {{"エラー：\\?dbの「:」が見つかりません", L, ""}, {"エラー：\\?dbの「:」が見つかりません", L, ""}}},
      {"\\udb[1", "1[1",
       {{"エラー：\\?dbの「:」が見つかりません", L, ""},
        {"エラー：\\?dbの「:」が見つかりません", L, ""},
        {"エラー：\\?dbの「]」が見つかりません", L, ""}}},
      {"\\c[5", Bytes({1, 2, 19}) + "[5", {{"エラー：\\cの「]」が見つかりません", L, ""}}},
      {"\\font[1", Bytes({1, 17, 15}) + "ont[1", {{"エラー：\\fontの「]」が見つかりません", L, ""}}},
      {"\\f[3", Bytes({1, 3, 17}) + "[3", {{"エラー：\\fの「]」が見つかりません", L, ""}}},
      {"\\m[3", Bytes({1, 4, 17}) + "[3", {{"エラー：\\mの「]」が見つかりません", L, ""}}},
      {"\\-[3", Bytes({1, 7, 3}) + "[3", {{"エラー：\\-の「]」が見つかりません", L, ""}}},
      {"\\sp[3", Bytes({1, 12, 14, 17}) + "p[3", {{"エラー：\\spの「]」が見つかりません", L, ""}}},
      {"\\space[3", Bytes({1, 18, 139, 17}) + "pace[3", {{"エラー：\\spaceの「]」が見つかりません", L, ""}}},
      {"\\i[3", Bytes({1, 22, 14, 17}) + "[3", {{"エラー：\\iの「]」が見つかりません", L, ""}}},
      {"\\mx[3", Bytes({1, 24, 14, 17}) + "x[3", {{"エラー：\\mxの「]」が見つかりません", L, ""}}},
      {"\\my[3", Bytes({1, 25, 14, 17}) + "y[3", {{"エラー：\\myの「]」が見つかりません", L, ""}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Expand(c.text), c.expanded) << c.text;
    EXPECT_EQ(TakeErrors(), c.errors) << c.text;
  }
}

TEST_F(EscapeExpanderTest, FormattingEscapes) {
  const struct {
    const char* text;
    std::string expanded;
  } cases[] = {
      {"\\c[2]A", Bytes({1, 2, 16}) + "A"},
      {"\\c[-4]", Bytes({1, 2, 14})},
      {"\\font[2]", Bytes({1, 17, 16})},
      {"\\f[0]\\f[999]", Bytes({1, 3, 15, 1, 3, 254})},
      {"\\m[12]", Bytes({1, 4, 26})},
      {"\\E\\N\\>\\<\\.\\!\\^", Bytes({1, 5, 1, 6, 1, 10, 1, 11, 1, 14, 1, 15, 1, 16})},
      {"<L><C><R>", Bytes({1, 19, 1, 20, 1, 21})},
      {"\\-[0]\\-[13]\\-[-3]\\-[5]", Bytes({1, 7, 255, 1, 7, 12, 1, 7, 253, 1, 7, 5})},
      {"\\r[漢,かん]", Bytes({1, 9}) + "漢,かん]"},
      {"\\img[a.png]", Bytes({1, 23}) + "a.png]"},
      {"\\sp[0]", Bytes({1, 12, 13, 13})},
      {"\\sp[300]", Bytes({1, 12, 15, 58})},
      {"\\sp[99999]", Bytes({1, 12, 248, 110})},
      {"\\space[-32000]\\space[0]", Bytes({1, 18, 13, 13, 1, 18, 139, 14})},
      {"\\i[-1]\\i[20000]", Bytes({1, 22, 53, 30, 1, 22, 53, 29})},
      {"\\mx[5]", Bytes({1, 24, 14, 19})},
      {"\\my[0]", Bytes({1, 25, 14, 14})},
      {"a\\\\b", Bytes({'a', 1, 1, 'b'})},
      {"\\\\\\", Bytes({1, 1}) + "\\"},
      {"A\rB\r", "AB"},
      {"<l>\\e\\x[1]", "<l>\\e\\x[1]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Expand(c.text), c.expanded) << c.text;
    EXPECT_TRUE(TakeErrors().empty()) << c.text;
  }
  EXPECT_EQ(Expand("\\c[2]A", true), "\\c[2]A") << "references only";
}

TEST_F(EscapeExpanderTest, RangeErrors) {
  const std::string L = ErrorLocationText();
  EXPECT_EQ(Expand("\\c[250]"), Bytes({1, 2, 214}) + "[250]");
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"エラー：\\cの[]内は200以下までしか受け付けません", "指定色 > 250", L}}));
  EXPECT_EQ(Expand("\\c[99999999999]"), Bytes({1, 2, 214}) + "[99999999999]");
  EXPECT_EQ(TakeErrors()[0].line2, "指定色 > 2147483647");
  EXPECT_EQ(Expand("\\font[4]"), Bytes({1, 17, 18}));
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"エラー：\\fontの[ ]内の値が0～3の範囲を超えています", "", ""}}));
}

TEST_F(EscapeExpanderTest, ArgumentBytesAreNeverText) {
  // 65535 is written as two CR bytes: they stay.
  EXPECT_EQ(Expand("\\sp[0]\\E"), Bytes({1, 12, 13, 13, 1, 5}));
  // An argument in the lead-byte range does not hide the next escape.
  EXPECT_EQ(Expand("\\c[120]\\f[20]X"), Bytes({1, 2, 134, 1, 3, 34}) + "X");
  // A NUL argument does not end the text.
  EXPECT_EQ(Expand("\\font[242]\\E"), Bytes({1, 17, 0, 1, 5}));
  TakeErrors();
  // An argument byte equal to a backslash does not start an escape.
  EXPECT_EQ(Expand("\\c[78]E"), Bytes({1, 2, 92}) + "E");
  // A backslash that ends a two-byte character is not paired.
  EXPECT_EQ(Expand("ソ\\E"), Bytes({0x83, 0x5C, 1, 5}));
}

TEST_F(EscapeExpanderTest, LeadingNumberLine) {
  const auto expand = [](const std::string& text) {
    return ExpandMessageText(text, 6, 2, 5, false, false, "", "", true);
  };
  Variables.SetVariable(9000000, 99);
  EXPECT_EQ(expand("@12\nHello"), "Hello");
  EXPECT_EQ(Variables.GetVariable(9000000), 12);
  EXPECT_EQ(expand("@34"), "34");
  EXPECT_EQ(Variables.GetVariable(9000000), 12);
  EXPECT_TRUE(TakeErrors().empty());
  EXPECT_EQ(expand("@1234567890\nX"), "X");
  EXPECT_EQ(Variables.GetVariable(9000000), 0);
  EXPECT_EQ(TakeErrors(), (std::vector<ErrorScreenLines>{
                              {"＠後に数字だけでなく、文字が入っている可能性があります", "", ""}}));
  EXPECT_EQ(expand(" 7\n"), " 7\n") << "only a leading at sign";
  EXPECT_EQ(expand("@ -7x\n\\v[3]"), "42");
  EXPECT_EQ(Variables.GetVariable(9000000), -7);
  EXPECT_EQ(ExpandMessageText("@5\nA", 6, 2, 5), "@5\nA") << "the option is off";
}

TEST_F(EscapeExpanderTest, WrapAndPlainText) {
  EXPECT_EQ(ExpandMessageText("mid", 6, 2, 5, false, true, "<C>", "\\E"), Bytes({1, 20}) + "mid" + Bytes({1, 5}));
  EXPECT_EQ(ExpandMessageText("mid", 6, 2, 5, false, false, "<C>", "\\E"), "mid");
  const std::string plain = "漢字 and [brackets] ]]] " + std::string(1, '\0') + "end";
  EXPECT_EQ(Expand(plain), plain);
}

TEST_F(EscapeExpanderTest, RewriteEscapes) {
  EXPECT_EQ(RewriteEscapes(Bytes({1, 5}) + "A" + Bytes({1, 1})), "\\EA\\\\");
  const std::string all = Bytes({1, 1, 1, 5, 1, 6, 1, 9, 1, 10, 1, 11, 1, 14, 1, 15, 1, 16, 1, 23});
  EXPECT_EQ(RewriteEscapes(all), "\\\\\\E\\N\\r[\\>\\<\\.\\!\\^\\img[");
  // Sequences with arguments stay, and their argument bytes are not codes.
  const std::string withArguments = Bytes({1, 2, 16, 1, 12, 1, 1, 1, 5});
  EXPECT_EQ(RewriteEscapes(withArguments), Bytes({1, 2, 16, 1, 12, 1, 1}) + "\\E");
  EXPECT_EQ(RewriteEscapes("plain"), "plain");
  // Expanding and rewriting gives the escapes back.
  EXPECT_EQ(RewriteEscapes(Expand("a\\E\\\\b\\.")), "a\\E\\\\b\\.");
}

TEST(TextNumberTest, ReadsLeadingNumbers) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"12", 12},          {"  12", 12},          {"-5", -5},        {"+7", 7},
      {" - 5", 0},         {"\t5", 0},            {"", 0},           {"12ab", 12},
      {"123456789", 123456789}, {"1234567890", INT_MAX}, {"-9999999999", INT_MIN}, {"000000000001", INT_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadTextNumber(c.text, std::strlen(c.text)), c.value) << c.text;
}

}  // namespace
