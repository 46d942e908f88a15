#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/host/window/Cursor.h"
#include "runtime/host/window/Window.h"
#include "runtime/host/window/WindowMessages.h"

namespace {

// A window under SDL's dummy driver; SDL events pushed into SDL's own queue
// come out of the host queue as window messages.
class SdlEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(HostVideoStart());
    windowId_ = HostWindowCreate("test", HostWindowStyle::Windowed, HostRect{100, 50, 740, 530});
    ASSERT_NE(windowId_, 0u);
    HostWindowShow();
    Drain();
  }
  void TearDown() override {
    HostEnableIme(true);
    HostVideoStop();
  }

  std::vector<HostMessage> Drain() {
    std::vector<HostMessage> messages;
    HostMessage m;
    while (HostPeekMessage(&m)) {
      HostRemoveMessage();
      messages.push_back(m);
    }
    return messages;
  }

  std::vector<HostMessage> After(SDL_Event event) {
    SDL_PushEvent(&event);
    return Drain();
  }

  SDL_Event WindowEvent(Uint8 kind, int data1 = 0, int data2 = 0) const {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId_;
    e.window.event = kind;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
  }

  SDL_Event KeyDown(SDL_Keycode key, Uint16 mod = KMOD_NONE) const {
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.windowID = windowId_;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    return e;
  }

  static std::vector<HostMessageId> Ids(const std::vector<HostMessage>& messages) {
    std::vector<HostMessageId> ids;
    for (const HostMessage& m : messages) ids.push_back(m.id);
    return ids;
  }

  uint32_t windowId_ = 0;
};

TEST_F(SdlEventsTest, WindowEvents) {
  auto m = After(WindowEvent(SDL_WINDOWEVENT_CLOSE));
  EXPECT_EQ(Ids(m), std::vector<HostMessageId>{HostMessageId::Close});

  m = After(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  ASSERT_EQ(Ids(m), (std::vector<HostMessageId>{HostMessageId::Activate, HostMessageId::ActivateApp}));
  EXPECT_EQ(m[0].p1, 0);
  EXPECT_EQ(m[1].p1, 0);
  m = After(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  ASSERT_EQ(Ids(m), (std::vector<HostMessageId>{HostMessageId::ActivateApp, HostMessageId::Activate}));
  EXPECT_EQ(m[0].p1, 1);
  EXPECT_EQ(m[1].p1, 1);

  m = After(WindowEvent(SDL_WINDOWEVENT_MOVED, 300, -20));
  ASSERT_EQ(Ids(m), std::vector<HostMessageId>{HostMessageId::Move});
  EXPECT_EQ(m[0].p1, 300);
  EXPECT_EQ(m[0].p2, -20);
  m = After(WindowEvent(SDL_WINDOWEVENT_MAXIMIZED));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].p1, kHostSizeMaximised);
  EXPECT_EQ(Ids(After(WindowEvent(SDL_WINDOWEVENT_EXPOSED))), std::vector<HostMessageId>{HostMessageId::Paint});

  // Another window's events are not ours.
  SDL_Event other = WindowEvent(SDL_WINDOWEVENT_CLOSE);
  other.window.windowID = windowId_ + 100;
  EXPECT_TRUE(After(other).empty());
}

TEST_F(SdlEventsTest, WheelGivesOneMessagePerEventWithItsRotation) {
  SDL_Event e = {};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = 2;
  auto m = After(e);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].id, HostMessageId::MouseWheel);
  EXPECT_EQ(m[0].p1, 240);
  e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  m = After(e);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].p1, -240);
  e.wheel.y = 0;
  e.wheel.x = 1;  // sideways: nothing
  EXPECT_TRUE(After(e).empty());
}

TEST_F(SdlEventsTest, KeysGiveKeyDownAndTheirControlCharacters) {
  struct Case {
    SDL_Keycode key;
    Uint16 mod;
    int hostKey;
    int character;  // -1: none
  } cases[] = {
      {SDLK_RETURN, KMOD_NONE, kHostKeyOther, 0x0D}, {SDLK_RETURN, KMOD_LCTRL, kHostKeyOther, 0x0A},
      {SDLK_BACKSPACE, KMOD_NONE, kHostKeyOther, 0x08}, {SDLK_TAB, KMOD_NONE, kHostKeyOther, 0x09},
      {SDLK_ESCAPE, KMOD_NONE, kHostKeyOther, 0x1B},   {SDLK_p, KMOD_RCTRL, kHostKeyOther, 0x10},
      {SDLK_a, KMOD_NONE, kHostKeyOther, -1},          {SDLK_DELETE, KMOD_NONE, kHostKeyDelete, -1},
      {SDLK_LEFT, KMOD_NONE, kHostKeyLeft, -1},        {SDLK_RIGHT, KMOD_NONE, kHostKeyRight, -1},
      {SDLK_UP, KMOD_NONE, kHostKeyUp, -1},            {SDLK_DOWN, KMOD_NONE, kHostKeyDown, -1},
  };
  for (const Case& c : cases) {
    const auto m = After(KeyDown(c.key, c.mod));
    ASSERT_EQ(m.size(), c.character < 0 ? 1u : 2u) << c.key;
    EXPECT_EQ(m[0].id, HostMessageId::KeyDown);
    EXPECT_EQ(m[0].p1, c.hostKey) << c.key;
    if (c.character >= 0) {
      EXPECT_EQ(m[1].id, HostMessageId::Char);
      EXPECT_EQ(m[1].p1, c.character) << c.key;
    }
  }
}

TEST_F(SdlEventsTest, TextArrivesAsCp932Bytes) {
  SDL_Event e = {};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = windowId_;
  SDL_strlcpy(e.text.text, "a\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", sizeof e.text.text);  // "a日本語"
  std::string bytes;
  for (const HostMessage& m : After(e)) {
    EXPECT_EQ(m.id, HostMessageId::Char);
    bytes.push_back(static_cast<char>(m.p1));
  }
  EXPECT_EQ(bytes, "a\x93\xFA\x96\x7B\x8C\xEA");
}

TEST_F(SdlEventsTest, CompositionIsHandedOnOnlyWithTheImeEnabled) {
  SDL_Event e = {};
  e.type = SDL_TEXTEDITING;
  e.edit.windowID = windowId_;
  SDL_strlcpy(e.edit.text, "\xE3\x81\xAB\xE3\x81\xBB", sizeof e.edit.text);  // "にほ"
  e.edit.start = 1;
  auto m = After(e);
  ASSERT_EQ(Ids(m), (std::vector<HostMessageId>{HostMessageId::ImeStartComposition, HostMessageId::ImeComposition}));
  EXPECT_EQ(m[1].text, "\x82\xC9\x82\xD9");
  EXPECT_EQ(m[1].p1, 2);  // one character in is two bytes in
  e.edit.text[0] = '\0';
  EXPECT_EQ(Ids(After(e)), std::vector<HostMessageId>{HostMessageId::ImeEndComposition});

  HostEnableIme(false);
  SDL_strlcpy(e.edit.text, "\xE3\x81\xAB", sizeof e.edit.text);
  EXPECT_TRUE(After(e).empty());
}

TEST_F(SdlEventsTest, WithTheImeOffTheWindowSystemsTextInputStops) {
  HostEnableIme(false);
  EXPECT_FALSE(SDL_IsTextInputActive());
  // Video starting again starts text input; the setting stays in force.
  HostVideoStop();
  ASSERT_TRUE(HostVideoStart());
  EXPECT_FALSE(SDL_IsTextInputActive());
  HostEnableIme(true);
  EXPECT_TRUE(SDL_IsTextInputActive());
}

TEST_F(SdlEventsTest, MouseEventsAreInClientCoordinatesAndMoveTheCursor) {
  SDL_Event e = {};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = windowId_;
  e.motion.x = 30;
  e.motion.y = 40;
  auto m = After(e);
  ASSERT_EQ(Ids(m), std::vector<HostMessageId>{HostMessageId::MouseMove});
  EXPECT_EQ(m[0].p1, 30);
  EXPECT_EQ(m[0].p2, 40);
  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  int x = 0;
  int y = 0;
  HostGetCursorPos(&x, &y);
  EXPECT_EQ(x, client.left + 30);
  EXPECT_EQ(y, client.top + 40);

  e = {};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = windowId_;
  e.button.button = SDL_BUTTON_RIGHT;
  m = After(e);
  ASSERT_EQ(Ids(m), std::vector<HostMessageId>{HostMessageId::ButtonDown});
  EXPECT_EQ(m[0].p3, kHostButtonRight);
  e.button.button = SDL_BUTTON_X1;  // not a button the window tells apart
  EXPECT_TRUE(After(e).empty());
}

TEST_F(SdlEventsTest, QuitFromOutsideAsksTheWindowToClose) {
  SDL_Event e = {};
  e.type = SDL_QUIT;
  EXPECT_EQ(Ids(After(e)), std::vector<HostMessageId>{HostMessageId::Close});
}

TEST_F(SdlEventsTest, PostedMessagesWaitInTheSameQueue) {
  HostMessage quit;
  quit.id = HostMessageId::Quit;
  HostPostMessage(quit);
  HostMessage m;
  ASSERT_TRUE(HostPeekMessage(&m));
  ASSERT_TRUE(HostPeekMessage(&m));  // peeking leaves it there
  EXPECT_EQ(m.id, HostMessageId::Quit);
  HostRemoveMessage();
  EXPECT_FALSE(HostPeekMessage(&m));
}

}  // namespace
