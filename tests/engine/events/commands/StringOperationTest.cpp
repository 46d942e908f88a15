#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/events/EventInterpreter.h"
#include "engine/events/InterpreterHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/events/TextEntryHooks.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr int32_t kS0 = 3000000;  // string variables
constexpr int32_t kS1 = 3000001;
constexpr int32_t kS2 = 3000002;
constexpr int32_t kV0 = 2000000;  // normal variables

int32_t Flags(int32_t kind, int32_t operation, int32_t extra = 0) { return kind | (operation << 8) | extra; }

std::string Str(int32_t id) { return Variables.GetStringVariable(id); }
void SetStr(int32_t id, const std::string& text) { Variables.SetStringVariable(id, text); }

// A fake text field: one at a time, steered by the test.
struct FakeField {
  int handle = 0;
  int maxLength = 0;
  int cancelAllowed = 0;
  bool active = false;
  int state = 0;
  std::string text;
  std::string initial;
  int fontSize = 0;
  int created = 0;
  int deleted = 0;
};
FakeField field;

int FakeCreate(int maxLength, int cancelAllowed, int, int) {
  ++field.created;
  field.handle = 0x5000 + field.created;
  field.maxLength = maxLength;
  field.cancelAllowed = cancelAllowed;
  field.state = 0;
  return field.handle;
}
int FakeActivate(int handle) {
  field.active = handle == field.handle;
  return 0;
}
int FakeSetText(const char* text, int) {
  field.initial = text;
  return 0;
}
int FakeFontSize(int size) {
  field.fontSize = size;
  return 0;
}
int FakeState(int handle) { return handle == field.handle ? field.state : -1; }
bool FakeText(int, char* buffer, int32_t capacity) {
  if (static_cast<int32_t>(field.text.size()) >= capacity) return false;
  std::copy(field.text.begin(), field.text.end(), buffer);
  buffer[field.text.size()] = '\0';
  return true;
}
void FakeDelete(int) { ++field.deleted; }

class StringOperationTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    field = FakeField();
    TextEntryHooks text{};
    text.createTextInput = FakeCreate;
    text.activateTextInput = FakeActivate;
    text.setTextInputText = FakeSetText;
    text.setDefaultFontSize = FakeFontSize;
    SetTextEntryHooks(&text);
    InterpreterHooks fields{};
    fields.textInputState = FakeState;
    fields.textInputText = FakeText;
    fields.deleteTextInput = FakeDelete;
    SetInterpreterHooks(&fields);
  }
  void TearDown() override {
    InterpreterTest::TearDown();
    SetTextEntryHooks(nullptr);
    TestPlayFlag = 0;
  }

  void Run(int32_t target, int32_t flags, int32_t source, const std::string& text = "", const std::string& replacement = "") {
    RunPlain(CommandListBuilder().Add({122, target, flags, source}, {text, replacement}).Build());
  }
};

TEST_F(StringOperationTest, SetAppendAndIntegerTargets) {
  Run(kS0, Flags(0, 0), 0, "abc");
  EXPECT_EQ(Str(kS0), "abc");
  Run(kS0, Flags(0, 1), 0, "def");
  EXPECT_EQ(Str(kS0), "abcdef");
  // The source text is expanded: \v[0] is normal variable 0.
  V(0) = 42;
  Run(kS1, Flags(0, 0), 0, "n=\\v[0]");
  EXPECT_EQ(Str(kS1), "n=42");
  // An integer target takes the leading number.
  Run(kV0 + 1, Flags(0, 0), 0, "12abc");
  EXPECT_EQ(V(1), 12);
  Run(kV0 + 1, Flags(0, 0), 0, "abc");
  EXPECT_EQ(V(1), 0);
  // From another string variable, and indirectly through an integer
  // variable that holds its ID; an indirect target likewise.
  SetStr(kS2, "two");
  Run(kS0, Flags(1, 0), kS2);
  EXPECT_EQ(Str(kS0), "two");
  V(2) = kS2;
  Run(kS1, Flags(2, 0), kV0 + 2);
  EXPECT_EQ(Str(kS1), "two");
  V(3) = kS1;
  Run(kV0 + 3, Flags(0, 0, 0x10), 0, "indirect");
  EXPECT_EQ(Str(kS1), "indirect");
}

TEST_F(StringOperationTest, LineAndCharacterCuts) {
  Run(kS0, Flags(0, 2), 0, "first\r\nsecond");
  EXPECT_EQ(Str(kS0), "first");

  SetStr(kS2, "first\r\nsecond\r\nthird");
  Run(kS0, Flags(1, 3), kS2);
  EXPECT_EQ(Str(kS0), "first");
  EXPECT_EQ(Str(kS2), "second\nthird");
  SetStr(kS2, "only");
  Run(kS0, Flags(1, 3), kS2);
  EXPECT_EQ(Str(kS0), "only");
  EXPECT_EQ(Str(kS2), "");

  SetStr(kS2, "あいう");
  Run(kS0, Flags(1, 4), kS2);
  EXPECT_EQ(Str(kS0), "あ");
  EXPECT_EQ(Str(kS2), "いう");
  SetStr(kS2, "");
  Run(kS0, Flags(1, 4), kS2);
  EXPECT_EQ(Str(kS0), "");
  EXPECT_EQ(Str(kS2), "");
  // Indirect source: the integer variable names the string variable cut.
  SetStr(kS2, "xyz");
  V(2) = kS2;
  Run(kS0, Flags(2, 3), kV0 + 2);
  EXPECT_EQ(Str(kS0), "xyz");
  EXPECT_EQ(Str(kS2), "");
}

TEST_F(StringOperationTest, DeleteAndReplace) {
  struct Case {
    std::string target, pattern, replacement;
    int32_t operation;
    std::string result;
  } cases[] = {
      {"aaaa", "aa", "", 8, ""},
      {"aa", "a", "aa", 9, "aaaa"},
      {"abcabc", "b", "", 8, "acac"},
      {"aabb", "ab", "", 8, ""},  // removal joins a new match: searched again from the start
      {"abc", "", "x", 9, "abc"},  // an empty pattern does nothing
      {"x-y-z", "-", "+", 9, "x+y+z"},
      // A match never starts on the second half of a two-byte character:
      // "ア" is 0x83 0x41, so its second byte is no "A".
      {"アA", "A", "B", 9, "アB"},
      {"アA", "A", "", 8, "ア"},
  };
  for (const Case& c : cases) {
    SetStr(kS0, c.target);
    Run(kS0, Flags(0, c.operation), 0, c.pattern, c.replacement);
    EXPECT_EQ(Str(kS0), c.result) << c.target << " " << c.pattern;
  }
}

// Deleting in one pass gives what removing the first occurrence again and
// again gives.
TEST_F(StringOperationTest, DeleteMatchesRepeatedFirstRemoval) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string text, pattern;
    const int n = static_cast<int>(random() % 16), m = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < n; ++i) text += "ab"[random() % 2];
    for (int i = 0; i < m; ++i) pattern += "ab"[random() % 2];
    std::string expected = text;
    for (size_t at; (at = expected.find(pattern)) != std::string::npos;) expected.erase(at, pattern.size());
    SetStr(kS0, text);
    Run(kS0, Flags(0, 8), 0, pattern);
    ASSERT_EQ(Str(kS0), expected) << text << " - " << pattern;
  }
}

class StringFileTest : public StringOperationTest {
 protected:
  TestDirectory folder;
  ScopedCurrentDirectory here{folder.Path()};
};

TEST_F(StringFileTest, ReadWriteAndList) {
  folder.Write("text.txt", std::string("line1\r\nline2\0after", 18));
  Run(kS0, Flags(0, 5), 0, "text.txt");
  EXPECT_EQ(Str(kS0), "line1\nline2");  // the final expansion drops carriage returns
  Run(kS0, Flags(0, 5), 0, "missing.txt");
  EXPECT_EQ(Str(kS0), "<NoFile>");

  SetStr(kS1, "one\ntwo\r\nthree");
  Run(kS1, Flags(0, 6), 0, "out.txt");
  EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "one\r\ntwo\r\nthree");
  EXPECT_EQ(Str(kS1), "one\ntwo\r\nthree");  // the target stays
  ASSERT_EQ(mkdir(folder.File("sub").c_str(), 0755), 0);
  Run(kS1, Flags(0, 6), 0, "sub\\in.txt");
  EXPECT_EQ(ReadWholeFile(folder.File("sub/in.txt")), "one\r\ntwo\r\nthree");
  // Rewriting leaves no temporary file behind.
  SetStr(kS1, "new");
  Run(kS1, Flags(0, 6), 0, "out.txt");
  EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "new");

  Run(kS0, Flags(0, 7), 0, "");
  EXPECT_EQ(Str(kS0), "out.txt\nsub\ntext.txt");
  folder.Write("sub/B.txt", "");
  Run(kS0, Flags(0, 7), 0, "sub");
  EXPECT_EQ(Str(kS0), "B.txt\nin.txt");
  ASSERT_EQ(mkdir(folder.File("empty").c_str(), 0755), 0);
  Run(kS0, Flags(0, 7), 0, "empty");
  EXPECT_EQ(Str(kS0), "");
  Run(kS0, Flags(0, 7), 0, "nowhere");
  EXPECT_EQ(Str(kS0), "");
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof cwd));
  EXPECT_EQ(std::string(cwd), folder.Path());  // listing never changes the current folder
  EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(StringFileTest, WritesOutsideTheGameFolderAreRefused) {
  TestPlayFlag = 1;
  TestDirectory outside;
  ASSERT_EQ(symlink(outside.Path().c_str(), folder.File("link").c_str()), 0);
  ASSERT_EQ(mkdir(folder.File("x").c_str(), 0755), 0);
  const std::string refused[] = {
      "x\\..\\..\\evil.txt",         "\\..\\x",  "C:evil.txt", "C:\\evil.txt", "/tmp/evil.txt",
      "\\evil.txt", "link\\evil.txt", "..",       "x/../evil.txt",
  };
  SetStr(kS1, "data");
  for (const std::string& name : refused) {
    Run(kS1, Flags(0, 6), 0, name);
    const std::vector<ErrorScreenLines> errors = TakeErrors();
    ASSERT_EQ(errors.size(), 1u) << name;
    EXPECT_EQ(errors[0].line2, "ゲームフォルダ外部にはファイル出力できません。") << name;
  }
  EXPECT_FALSE(FileExists(outside.File("evil.txt")));
  EXPECT_FALSE(FileExists(folder.File("evil.txt")));
  // The same name put together by escapes is refused after expansion: the
  // check sees the final name. \s[2] is string variable 2.
  SetStr(kS2, "..");
  Run(kS1, Flags(0, 6), 0, "x\\\\\\s[2]\\\\\\s[2]\\\\evil.txt");
  EXPECT_EQ(TakeErrors().size(), 1u);
  EXPECT_FALSE(FileExists(outside.File("evil.txt")));

  Run(kS1, Flags(0, 6), 0, "");
  const std::vector<ErrorScreenLines> empty = TakeErrors();
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0].line1, "[文字列操作] テスト専用エラー:書き込み先が空欄です。ファイル出力しませんでした。");
  // Outside test play the refusals are silent.
  TestPlayFlag = 0;
  Run(kS1, Flags(0, 6), 0, "C:\\evil.txt");
  EXPECT_TRUE(TakeErrors().empty());
  // A folder that does not exist: reported in every mode.
  Run(kS1, Flags(0, 6), 0, "nofolder\\a.txt");
  const std::vector<ErrorScreenLines> failed = TakeErrors();
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].line1, "【テキスト出力】 ファイルを出力できませんでした。");
  EXPECT_EQ(failed[0].line3, "nofolder\\a.txt");
}

TEST_F(StringFileTest, ReadsAndListingsStayInsideToo) {
  TestDirectory outside;
  outside.Write("secret.txt", "secret");
  ASSERT_EQ(symlink(outside.Path().c_str(), folder.File("link").c_str()), 0);
  ASSERT_EQ(symlink(outside.File("secret.txt").c_str(), folder.File("s.txt").c_str()), 0);
  for (const std::string& name : {std::string("link\\secret.txt"), std::string("s.txt"), outside.File("secret.txt"),
                                  std::string("..\\x")}) {
    Run(kS0, Flags(0, 5), 0, name);
    EXPECT_EQ(Str(kS0), "<NoFile>") << name;
  }
  Run(kS0, Flags(0, 7), 0, "link");
  EXPECT_EQ(Str(kS0), "");
  Run(kS0, Flags(0, 7), 0, "..");
  EXPECT_EQ(Str(kS0), "");
}

TEST_F(StringOperationTest, TextEntryConfirmedAndCancelled) {
  SetStr(kS0, "start");
  RootRunner.messageFontSize = 20;
  const auto entry = CommandListBuilder().Add({122, kS0, Flags(3, 1, 0x1000), 8}).Build();
  interpreter.StartOwnEvent(entry, -1, 0);
  interpreter.RunFrame();
  EXPECT_EQ(field.maxLength, 8);
  EXPECT_EQ(field.cancelAllowed, 1);
  EXPECT_TRUE(field.active);
  EXPECT_EQ(field.fontSize, 20);
  EXPECT_EQ(SystemStateHub.textEntryActive, 1);
  EXPECT_EQ(RootRunner.textEntryResult, 1);
  EXPECT_EQ(Str(kS0), "");  // the target is empty while the entry runs
  interpreter.RunFrame();
  EXPECT_TRUE(interpreter.IsRunning());

  field.text = "a\\b";
  field.state = 1;
  interpreter.RunFrame();
  EXPECT_EQ(Str(kS0), "starta\\\\b");  // appended, the typed backslash doubled
  EXPECT_EQ(RootRunner.textEntryResult, 0);
  EXPECT_EQ(SystemStateHub.textEntryActive, 0);
  EXPECT_EQ(field.deleted, 1);
  EXPECT_FALSE(interpreter.IsRunning());

  SetStr(kS0, "kept");
  interpreter.StartOwnEvent(CommandListBuilder().Add({122, kS0, Flags(3, 0), 8}).Build(), -1, 0);
  interpreter.RunFrame();
  field.state = 2;
  interpreter.RunFrame();
  EXPECT_EQ(Str(kS0), "");  // set: the saved text is the empty one
  EXPECT_EQ(RootRunner.textEntryResult, -1);
}

TEST_F(StringOperationTest, TextEntryStartsWithTheTargetCutAtACharacter) {
  struct Case {
    std::string text;
    int32_t max;
    std::string initial;
  } cases[] = {
      {"abcdef", 4, "abcd"},
      {"abあい", 3, "ab"},          // "あ" would be split at the third byte
      {"aあい", 3, "aあ"},
      {"ア\x83\x81", 2, "ア"},      // 0x83 as a second half ends the cut: no lead byte there
      {"short", 100, "short"},
  };
  for (const Case& c : cases) {
    SetStr(kS0, c.text);
    interpreter = EventInterpreter();
    SystemStateHub.textEntryActive = 0;
    interpreter.StartOwnEvent(CommandListBuilder().Add({122, kS0, Flags(3, 0, 0x2000), c.max}).Build(), -1, 0);
    interpreter.RunFrame();
    EXPECT_EQ(field.initial, c.initial) << c.text;
  }
}

TEST_F(StringOperationTest, ASecondEntryWaitsAndTheMaximumIsCapped) {
  EventInterpreter other;
  V(5) = 2000000000;
  interpreter.StartOwnEvent(CommandListBuilder().Add({122, kS0, Flags(3, 0), kV0 + 5}).Build(), -1, 0);
  interpreter.RunFrame();
  EXPECT_EQ(field.maxLength, 65536);
  other.StartOwnEvent(CommandListBuilder().Add({122, kS1, Flags(3, 0), 5}).Add({122, kS2, Flags(0, 0), 0}, {"after"}).Build(), -1, 0);
  for (int frame = 0; frame < 3; ++frame) other.RunFrame();
  EXPECT_EQ(field.created, 1);
  EXPECT_EQ(Str(kS2), "");
  field.state = 1;
  field.text.assign(1, 'x');
  interpreter.RunFrame();
  other.RunFrame();
  EXPECT_EQ(field.created, 2);
  EXPECT_EQ(field.maxLength, 5);
}

}  // namespace
