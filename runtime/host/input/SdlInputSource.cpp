// The input devices' raw data from SDL: the keyboard and mouse state that
// the window's events keep up to date, and SDL's joysticks.

#include <SDL.h>

#include <atomic>
#include <string>
#include <vector>

#include "runtime/ShiftJis.h"
#include "runtime/host/input/InputSource.h"
#include "runtime/host/system/TextConversion.h"

namespace {

// Opened at start: SDL's device indices move as joysticks come and go.
std::vector<SDL_Joystick*> gJoysticks;  // null for one that would not open
HostInputNewData gNewData = nullptr;
bool gStarted = false;
std::atomic<const HostInputSource*> gSource{nullptr};

int IndexOfInstance(SDL_JoystickID id) {
  for (size_t i = 0; i < gJoysticks.size(); ++i) {
    if (gJoysticks[i] && SDL_JoystickInstanceID(gJoysticks[i]) == id) return static_cast<int>(i);
  }
  return -1;
}

// Runs as SDL queues each event: new data for the device it came from.
int WatchEvents(void*, SDL_Event* event) {
  if (!gNewData) return 1;
  switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      gNewData(HostInputDeviceKind::Keyboard, 0);
      break;
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
      // Every joystick event starts with the joystick's instance id.
      const int index = IndexOfInstance(event->jaxis.which);
      if (index >= 0) gNewData(HostInputDeviceKind::Joypad, index);
      break;
    }
    default:
      break;
  }
  return 1;
}

int32_t Start(int, HostInputNewData newData) {
  if (gStarted) return 0;
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return -1;
  gStarted = true;
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) gJoysticks.push_back(SDL_JoystickOpen(i));
  gNewData = newData;
  SDL_AddEventWatch(WatchEvents, nullptr);
  return 0;
}

void Stop() {
  if (!gStarted) return;
  SDL_DelEventWatch(WatchEvents, nullptr);
  gNewData = nullptr;
  for (SDL_Joystick* joystick : gJoysticks) {
    if (joystick) SDL_JoystickClose(joystick);
  }
  gJoysticks.clear();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  gStarted = false;
}

const uint8_t* Keys() {
  static uint8_t none[kHostScancodeCount] = {};
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  return state && count >= kHostScancodeCount ? state : none;
}

bool JapaneseLayout() { return SDL_GetKeyFromScancode(SDL_SCANCODE_LEFTBRACKET) == SDLK_AT; }

uint32_t MouseButtons() { return SDL_GetMouseState(nullptr, nullptr); }

int JoypadCount() { return static_cast<int>(gJoysticks.size()); }

SDL_Joystick* Joystick(int index) {
  if (index < 0 || static_cast<size_t>(index) >= gJoysticks.size()) return nullptr;
  return gJoysticks[static_cast<size_t>(index)];
}

bool JoypadName(int index, char* name, size_t size) {
  SDL_Joystick* joystick = Joystick(index);
  if (!joystick || size == 0) return false;
  const char* utf8 = SDL_JoystickName(joystick);
  const std::string text = Utf8ToCp932(utf8 ? utf8 : "");
  const size_t n = ShiftJisCutLength(text.data(), text.size() < size - 1 ? text.size() : size - 1);
  text.copy(name, n);
  name[n] = '\0';
  return true;
}

void Update() {
  if (gStarted) SDL_JoystickUpdate();
}

bool ReadJoypad(int index, HostRawJoypad* state) {
  SDL_Joystick* joystick = Joystick(index);
  if (!joystick || !SDL_JoystickGetAttached(joystick)) return false;
  *state = HostRawJoypad();
  const int axes = SDL_JoystickNumAxes(joystick);
  state->axisCount = axes < kHostRawAxes ? axes : kHostRawAxes;
  for (int i = 0; i < state->axisCount; ++i) state->axes[i] = SDL_JoystickGetAxis(joystick, i);
  const int hats = SDL_JoystickNumHats(joystick);
  for (int i = 0; i < hats && i < kHostRawHats; ++i) state->hats[i] = SDL_JoystickGetHat(joystick, i);
  const int buttons = SDL_JoystickNumButtons(joystick);
  for (int i = 0; i < buttons && i < kHostRawButtons; ++i) state->buttons[i] = SDL_JoystickGetButton(joystick, i);
  return true;
}

void Rumble(int index, uint16_t low, uint16_t high, uint32_t ms) {
  if (SDL_Joystick* joystick = Joystick(index)) SDL_JoystickRumble(joystick, low, high, ms);
}

const HostInputSource kSdlSource = {Start,      Stop,   Keys,       JapaneseLayout, MouseButtons, JoypadCount,
                                    JoypadName, Update, ReadJoypad, Rumble};

}  // namespace

const HostInputSource* HostCurrentInputSource() {
  const HostInputSource* source = gSource.load();
  return source ? source : &kSdlSource;
}

void HostSetInputSource(const HostInputSource* source) { gSource.store(source); }
