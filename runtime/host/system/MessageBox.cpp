#include "runtime/host/system/MessageBox.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/host/system/TextConversion.h"

namespace {

std::atomic<HostMessageBoxHook> gHook{nullptr};

bool DisplayAvailable() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)) return false;
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace

void HostMessageBox(const char* text, const char* title) {
  if (HostMessageBoxHook hook = gHook.load()) {
    hook(text, title);
    return;
  }
  const std::string utf8Text = Cp932ToUtf8(text);
  const std::string utf8Title = Cp932ToUtf8(title);
  if (DisplayAvailable() &&
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Title.c_str(), utf8Text.c_str(), nullptr) == 0) {
    return;
  }
  std::fprintf(stderr, "[%s] %s\n", utf8Title.c_str(), utf8Text.c_str());
}

void HostSetMessageBoxHook(HostMessageBoxHook hook) { gHook.store(hook); }
