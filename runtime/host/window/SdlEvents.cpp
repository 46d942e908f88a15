// SDL events as the window messages the layer's window procedure expects.

#include <SDL.h>

#include <string>

#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/system/TextConversion.h"

namespace {

bool gComposing = false;

void Push(std::vector<HostMessage>& out, HostMessageId id, int32_t p1 = 0, int32_t p2 = 0, int32_t p3 = 0) {
  HostMessage m;
  m.id = id;
  m.p1 = p1;
  m.p2 = p2;
  m.p3 = p3;
  out.push_back(m);
}

bool IsOurWindow(Uint32 windowId) {
  SDL_Window* window = HostSdlWindow();
  return window && SDL_GetWindowID(window) == windowId;
}

void TranslateWindowEvent(const SDL_WindowEvent& e, std::vector<HostMessage>& out) {
  if (!IsOurWindow(e.windowID)) return;
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
      Push(out, HostMessageId::Close);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      Push(out, HostMessageId::ActivateApp, 1);
      Push(out, HostMessageId::Activate, 1, (SDL_GetWindowFlags(HostSdlWindow()) & SDL_WINDOW_MINIMIZED) ? 1 : 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      Push(out, HostMessageId::Activate, 0, (SDL_GetWindowFlags(HostSdlWindow()) & SDL_WINDOW_MINIMIZED) ? 1 : 0);
      Push(out, HostMessageId::ActivateApp, 0);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      Push(out, HostMessageId::Size, kHostSizeMinimised);
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      Push(out, HostMessageId::Size, kHostSizeMaximised);
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      Push(out, HostMessageId::Size, kHostSizeRestored);
      break;
    case SDL_WINDOWEVENT_MOVED:
      // SDL places windows by their client area.
      Push(out, HostMessageId::Move, e.data1, e.data2);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      Push(out, HostMessageId::Paint);
      break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
      HostCheckDesktopChange(out);
      break;
    default:
      break;
  }
}

HostKey KeyOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_DELETE:
      return kHostKeyDelete;
    case SDLK_LEFT:
      return kHostKeyLeft;
    case SDLK_RIGHT:
      return kHostKeyRight;
    case SDLK_UP:
      return kHostKeyUp;
    case SDLK_DOWN:
      return kHostKeyDown;
    default:
      return kHostKeyOther;
  }
}

// The control characters a keyboard types, which SDL leaves out of its text
// events: Enter (a line feed with Ctrl), Backspace, Tab, Escape, Ctrl+letter.
int ControlCharacterOf(const SDL_Keysym& key) {
  const bool ctrl = (key.mod & KMOD_CTRL) != 0;
  switch (key.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return ctrl ? 0x0A : 0x0D;
    case SDLK_BACKSPACE:
      return 0x08;
    case SDLK_TAB:
      return 0x09;
    case SDLK_ESCAPE:
      return 0x1B;
    default:
      break;
  }
  if (ctrl && key.sym >= SDLK_a && key.sym <= SDLK_z) return static_cast<int>(key.sym - SDLK_a) + 1;
  return -1;
}

void PushText(std::vector<HostMessage>& out, const char* utf8) {
  for (const char c : Utf8ToCp932(utf8)) Push(out, HostMessageId::Char, static_cast<uint8_t>(c));
}

// SDL's cursor counts characters; the layer's counts CP932 bytes.
int32_t ByteCursor(const std::string& utf8, int characters) {
  size_t i = 0;
  for (int n = 0; n < characters && i < utf8.size(); ++n) {
    ++i;
    while (i < utf8.size() && (static_cast<uint8_t>(utf8[i]) & 0xC0) == 0x80) ++i;
  }
  return static_cast<int32_t>(Utf8ToCp932(utf8.substr(0, i)).size());
}

void TranslateEditing(const SDL_TextEditingEvent& e, std::vector<HostMessage>& out) {
  const std::string utf8 = e.text;
  if (utf8.empty()) {
    if (gComposing) Push(out, HostMessageId::ImeEndComposition);
    gComposing = false;
    return;
  }
  if (!gComposing) Push(out, HostMessageId::ImeStartComposition);
  gComposing = true;
  HostMessage m;
  m.id = HostMessageId::ImeComposition;
  m.text = Utf8ToCp932(utf8);
  m.p1 = ByteCursor(utf8, e.start);
  out.push_back(m);
}

struct ClientPoint {
  int32_t x;
  int32_t y;
};

ClientPoint ToClient(int x, int y) {
  HostWindowPixelsToClient(&x, &y);
  return {x, y};
}

int32_t ButtonOf(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return kHostButtonLeft;
    case SDL_BUTTON_RIGHT:
      return kHostButtonRight;
    case SDL_BUTTON_MIDDLE:
      return kHostButtonMiddle;
    default:
      return 0;
  }
}

}  // namespace

void HostTranslateSdlEvent(const SDL_Event& event, std::vector<HostMessage>& out) {
  switch (event.type) {
    case SDL_QUIT:  // asked to end from outside (a signal, the session)
      Push(out, HostMessageId::Close);
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event.window, out);
      break;
    case SDL_DISPLAYEVENT:
      HostCheckDesktopChange(out);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      HostNoteRenderReset();
      break;
    case SDL_MOUSEMOTION: {
      if (!IsOurWindow(event.motion.windowID)) break;
      const ClientPoint at = ToClient(event.motion.x, event.motion.y);
      Push(out, HostMessageId::MouseMove, at.x, at.y);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const SDL_MouseButtonEvent& b = event.button;
      const int32_t button = ButtonOf(b.button);
      if (!IsOurWindow(b.windowID) || button == 0) break;
      const ClientPoint at = ToClient(b.x, b.y);
      Push(out, event.type == SDL_MOUSEBUTTONDOWN ? HostMessageId::ButtonDown : HostMessageId::ButtonUp, at.x, at.y,
           button);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches == 0) break;
      int64_t rotation = static_cast<int64_t>(notches) * 120;
      if (rotation > 32767) rotation = 32767;
      if (rotation < -32768) rotation = -32768;
      Push(out, HostMessageId::MouseWheel, static_cast<int32_t>(rotation));
      break;
    }
    case SDL_KEYDOWN: {
      Push(out, HostMessageId::KeyDown, KeyOf(event.key.keysym.sym));
      const int c = ControlCharacterOf(event.key.keysym);
      if (c >= 0) Push(out, HostMessageId::Char, c);
      break;
    }
    case SDL_TEXTINPUT:
      if (gComposing) Push(out, HostMessageId::ImeEndComposition);
      gComposing = false;
      PushText(out, event.text.text);
      break;
    case SDL_TEXTEDITING:
      TranslateEditing(event.edit, out);
      break;
    default:
      break;
  }
}
