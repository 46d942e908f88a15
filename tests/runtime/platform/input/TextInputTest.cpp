#include "runtime/platform/input/TextInput.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/host/window/WindowMessages.h"
#include "runtime/platform/input/InputMethod.h"
#include "runtime/platform/input/KeyRing.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/base/ResourceHandle.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/system/LayerFixture.h"

namespace {

// Texts in bytes: "亜" is 0x88 0x9F, whose trail byte is also a lead byte.
const std::string kA = "\x88\x9F";
const std::string kHiraganaA = "\x82\xA0";  // "あ"

class TextInputTest : public LayerFixture {
 protected:
  void Start() { ASSERT_EQ(LayerInit(), 0); }

  // A new field, active.
  int Field(int maxLength, int cancelAllowed = 0, int singleByteOnly = 0, int digitsOnly = 0) {
    const int handle = CreateTextInput(maxLength, cancelAllowed, singleByteOnly, digitsOnly);
    EXPECT_NE(handle, -1);
    EXPECT_EQ(ActivateTextInput(handle), 0);
    return handle;
  }

  // Typed characters and editing keys arrive as window messages; the pump
  // hands them to the active field.
  void Type(const std::string& bytes) {
    for (const char c : bytes) events.Push(HostMessageId::Char, static_cast<uint8_t>(c));
    ASSERT_EQ(PumpMessages(), 0);
  }
  void Key(HostKey key, int times = 1) {
    for (int i = 0; i < times; ++i) events.Push(HostMessageId::KeyDown, key);
    ASSERT_EQ(PumpMessages(), 0);
  }

  static std::string Text(int handle) {
    std::vector<char> buffer(1100, '?');
    EXPECT_EQ(GetTextInputText(buffer.data(), handle), 0);
    return std::string(buffer.data());
  }
  static int Cursor(int handle) { return gPlatform.textInput.entries.Find(handle)->cursor; }
};

TEST_F(TextInputTest, TheRingHoldsItsCapacityAndWraps) {
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 1024; ++i) ASSERT_EQ(KeyRingPush('a' + i % 26), 0) << i;
    EXPECT_TRUE(IsKeyRingFull());
    EXPECT_EQ(KeyRingPush('x'), -1);
    uint8_t c[2];
    for (int i = 0; i < 1024; ++i) {
      ASSERT_EQ(TakeKeyRingChar(c, true), 1);
      ASSERT_EQ(c[0], 'a' + i % 26);
    }
    EXPECT_EQ(TakeKeyRingChar(c, true), 0);
    EXPECT_FALSE(IsKeyRingFull());
  }
}

TEST_F(TextInputTest, ALeadByteWaitsForItsTrail) {
  uint8_t c[2] = {};
  KeyRingPush(0x88);
  EXPECT_EQ(TakeKeyRingChar(c, true), 0);
  EXPECT_EQ(TakeKeyRingChar(c, true), 0);
  KeyRingPush(0x9F);
  EXPECT_EQ(TakeKeyRingChar(c, false), 2);  // a peek leaves it
  EXPECT_EQ(TakeKeyRingChar(c, true), 2);
  EXPECT_EQ(c[0], 0x88);
  EXPECT_EQ(c[1], 0x9F);
  EXPECT_EQ(TakeKeyRingChar(c, true), 0);
}

TEST_F(TextInputTest, TypingWithoutAnActiveFieldWaitsUntilAFieldIsMade) {
  Start();
  Type("ab\xFF");
  uint8_t c[2];
  EXPECT_EQ(TakeKeyRingChar(c, false), 1);
  const int handle = Field(10);
  EXPECT_EQ(TakeKeyRingChar(c, false), 0);
  EXPECT_EQ(Text(handle), "");
  const std::vector<std::string> lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "文字バッファエラー"), lines.end());
}

TEST_F(TextInputTest, EditingKeysAndEnter) {
  Start();
  const int handle = Field(20);
  Type("abc");
  Key(kHostKeyLeft, 2);
  Type("X");
  EXPECT_EQ(Text(handle), "aXbc");
  EXPECT_EQ(Cursor(handle), 2);
  Key(kHostKeyDelete);
  Type("\x08");
  EXPECT_EQ(Text(handle), "ac");
  EXPECT_EQ(Cursor(handle), 1);
  Key(kHostKeyRight, 3);
  Key(kHostKeyUp);
  Key(kHostKeyDown);
  Type("\t");
  EXPECT_EQ(Text(handle), "ac");
  EXPECT_EQ(Cursor(handle), 2);
  EXPECT_EQ(GetTextInputState(handle), 0);

  // What follows Enter waits for the field to be activated again.
  Type("\r" "z");
  EXPECT_EQ(GetTextInputState(handle), 1);
  EXPECT_EQ(Text(handle), "ac");
  EXPECT_EQ(ActivateTextInput(handle), 0);
  EXPECT_EQ(GetTextInputState(handle), 0);
  Type("\n");  // Ctrl+Enter counts as Enter
  EXPECT_EQ(Text(handle), "acz");
  EXPECT_EQ(GetTextInputState(handle), 1);
}

TEST_F(TextInputTest, BackspaceAndLeftStepOverWholeCharactersWhoseTrailLooksLikeALead) {
  Start();
  const int handle = Field(20);
  Type(kA + "b");
  Type("\x08");
  EXPECT_EQ(Text(handle), kA);
  Type("b");
  Key(kHostKeyLeft);
  EXPECT_EQ(Cursor(handle), 2);
  Type("c");
  EXPECT_EQ(Text(handle), kA + "cb");
  Key(kHostKeyLeft, 2);
  EXPECT_EQ(Cursor(handle), 0);
  Key(kHostKeyRight);
  EXPECT_EQ(Cursor(handle), 2);
  Type("\x08");
  EXPECT_EQ(Text(handle), "cb");

  const int mixed = Field(20);
  Type("a" + kA + kA + kHiraganaA);
  Type("\x08\x08\x08");
  EXPECT_EQ(Text(mixed), "a");
}

TEST_F(TextInputTest, ACharacterWithoutRoomPushesTheLastOnesOut) {
  Start();
  const int handle = Field(3);
  Type("ab" + kHiraganaA);
  EXPECT_EQ(Text(handle), "a" + kHiraganaA);
  EXPECT_EQ(Cursor(handle), 3);

  // Away from the end the cursor stays.
  const int other = Field(3);
  Type("abc");
  Key(kHostKeyLeft, 3);
  Type("d");
  EXPECT_EQ(Text(other), "dab");
  EXPECT_EQ(Cursor(other), 1);
}

TEST_F(TextInputTest, DigitOnlyAndSingleByteFields) {
  Start();
  const int digits = Field(10, 0, 0, 1);
  Type("-1-2a" + kHiraganaA + "3");
  EXPECT_EQ(Text(digits), "-123");
  Key(kHostKeyLeft, 4);
  Type("-");
  EXPECT_EQ(Text(digits), "--123");

  const int single = Field(10, 0, 1, 0);
  Type("a" + kHiraganaA + "b");
  EXPECT_EQ(Text(single), "ab");
}

TEST_F(TextInputTest, MaximumsOfZeroAndOneNeverHang) {
  Start();
  const int none = Field(0);
  Type("a" + kHiraganaA);
  EXPECT_EQ(Text(none), "");
  Type("\r");
  EXPECT_EQ(GetTextInputState(none), 1);

  const int negative = Field(-5);
  EXPECT_EQ(gPlatform.textInput.entries.Find(negative)->maxLength, 0);
  Type("7");
  EXPECT_EQ(Text(negative), "");

  const int one = Field(1);
  Type("ab" + kHiraganaA);
  EXPECT_EQ(Text(one), "b");
}

TEST_F(TextInputTest, EscapeCancelsOnlyWhereAllowed) {
  Start();
  const int keeps = Field(10, 0);
  Type("a\x1B" "b");
  EXPECT_EQ(GetTextInputState(keeps), 0);
  EXPECT_EQ(Text(keeps), "ab");

  const int cancels = Field(10, 1);
  Type("a\x1B" "b");
  EXPECT_EQ(GetTextInputState(cancels), 2);
  EXPECT_EQ(Text(cancels), "a");
}

TEST_F(TextInputTest, SetTextChecksTheMaximumAndMovesTheCursorToTheEnd) {
  Start();
  const int handle = Field(4);
  EXPECT_EQ(SetTextInputText("abcde", handle), -1);
  EXPECT_EQ(Text(handle), "");
  EXPECT_EQ(SetTextInputText("abc", handle), 0);
  EXPECT_EQ(Cursor(handle), 3);
  Type("d");
  EXPECT_EQ(Text(handle), "abcd");
  EXPECT_EQ(SetTextInputText("", handle), 0);
  EXPECT_EQ(Cursor(handle), 0);

  // A lead byte that ends the text is one character of its own.
  EXPECT_EQ(SetTextInputText("a\x82", handle), 0);
  Key(kHostKeyLeft);
  EXPECT_EQ(Cursor(handle), 1);
  Key(kHostKeyRight);
  EXPECT_EQ(Cursor(handle), 2);
  Key(kHostKeyLeft);
  Key(kHostKeyDelete);
  EXPECT_EQ(Text(handle), "a");
  EXPECT_EQ(gPlatform.textInput.entries.Find(handle)->length, 1);
}

TEST_F(TextInputTest, HandlesAndTheInputMethodFollowTheFields) {
  Start();
  EXPECT_FALSE(HostIsImeEnabled());
  std::vector<int> handles;
  for (int i = 0; i < 256; ++i) handles.push_back(CreateTextInput(4, 0, 0, 0));
  EXPECT_EQ(handles[0], MakeResourceHandle(0, 0, kHandleKeyInput));
  EXPECT_EQ(handles[255], MakeResourceHandle(255, 255, kHandleKeyInput));
  EXPECT_EQ(CreateTextInput(4, 0, 0, 0), -1);
  EXPECT_TRUE(HostIsImeEnabled());

  EXPECT_EQ(ActivateTextInput(handles[3]), 0);
  EXPECT_EQ(DeleteTextInput(handles[3]), 0);
  EXPECT_EQ(gPlatform.textInput.activeHandle, -1);
  const int stale = handles[3];
  EXPECT_EQ(DeleteTextInput(stale), -1);
  EXPECT_EQ(ActivateTextInput(stale), -1);
  EXPECT_EQ(GetTextInputState(stale), -1);
  EXPECT_EQ(SetTextInputText("a", stale), -1);
  char buffer[8];
  EXPECT_EQ(GetTextInputText(buffer, stale), -1);
  EXPECT_EQ(GetTextInputState(MakeResourceHandle(3, 3, kHandleSound)), -1);
  const int reused = CreateTextInput(4, 0, 0, 0);
  EXPECT_EQ(reused, MakeResourceHandle(3, 256, kHandleKeyInput));
  Type("x");

  handles[3] = reused;
  for (const int handle : handles) {
    EXPECT_TRUE(HostIsImeEnabled());
    EXPECT_EQ(DeleteTextInput(handle), 0);
  }
  EXPECT_FALSE(HostIsImeEnabled());
}

TEST_F(TextInputTest, AFieldWhoseTextCannotBeAllocatedIsNotMade) {
  Start();
  SetTrackedAllocFailureCountdown(0);
  EXPECT_EQ(CreateTextInput(8, 0, 0, 0), -1);
  SetTrackedAllocFailureCountdown(-1);
  const int handle = CreateTextInput(8, 0, 0, 0);
  EXPECT_EQ(handle & 0xFFFF, 0);
}

TEST_F(TextInputTest, CompositionIsKeptTerminatedInsideItsBuffer) {
  Start();
  const int handle = Field(10);
  HostMessage m;
  m.id = HostMessageId::ImeComposition;
  m.text = kHiraganaA + "a" + kA;
  m.p1 = 3;
  events.Push(HostMessageId::ImeStartComposition);
  events.Push(m);
  ASSERT_EQ(PumpMessages(), 0);
  const TextInputState& t = gPlatform.textInput;
  EXPECT_EQ(std::string(t.composition), m.text);
  EXPECT_EQ(t.compositionCursor, 2);

  std::string longText;
  for (int i = 0; i < 700; ++i) longText += kHiraganaA;
  m.text = "a" + longText;
  m.p1 = 99999;
  events.Push(m);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(std::string(t.composition), m.text.substr(0, 1023));  // a whole number of characters
  EXPECT_EQ(t.compositionCursor, 512);

  events.Push(HostMessageId::ImeEndComposition);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(t.composition[0], '\0');
  EXPECT_EQ(Text(handle), "");

  // With no field left the input method is off: its messages do not come.
  DeleteTextInput(handle);
  m.text = "a";
  events.Push(m);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(t.composition[0], '\0');
}

TEST_F(TextInputTest, BytesToCharsCountsCharactersStartedWithinTheBytes) {
  const std::string text = "a" + kA + "b";
  struct Case {
    int bytes;
    int chars;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {9, 3}, {-1, 0}};
  for (const Case& c : cases) EXPECT_EQ(BytesToChars(text.c_str(), c.bytes), c.chars) << c.bytes;
}

TEST_F(TextInputTest, JapaneseTextFromTheWindowSystemReachesTheFieldAsCp932) {
  Start();
  const int handle = Field(10);
  HostSetEventSource(nullptr);  // SDL's own event queue from here on
  SDL_Event e = {};
  e.type = SDL_TEXTINPUT;
  std::strcpy(e.text.text, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");  // UTF-8 of the three characters
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  ASSERT_EQ(PumpMessages(), 0);
  EXPECT_EQ(Text(handle), "日本語");
  EXPECT_EQ(Text(handle), "\x93\xFA\x96\x7B\x8C\xEA");
}

TEST_F(TextInputTest, FieldsLeftOpenAreFreedWhenTheLayerEnds) {
  Start();
  Field(100);
  Field(5);
  Type("abc");
  EXPECT_EQ(LayerEnd(), 0);
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "Alloc memory dump\tTotal size:0(0.000kb)  Alloc num:0");
}

}  // namespace
