#include "runtime/host/window/Window.h"

#include <SDL.h>

#include <map>
#include <vector>

#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/system/TextConversion.h"
#include "runtime/host/window/WindowMessages.h"

namespace {

struct IconImage {
  std::vector<uint32_t> pixels;
  int width;
  int height;
};

bool gVideoStarted = false;
SDL_Window* gWindow = nullptr;
SDL_Renderer* gRenderer = nullptr;
HostWindowStyle gStyle = HostWindowStyle::Windowed;
// The screen the layer sees in full-screen style.
int gScreenWidth = 640;
int gScreenHeight = 480;
HostDesktop gLastDesktop = {0, 0, 32};
std::map<int, IconImage> gIcons;
uint32_t gRendererGeneration = 0;
uint32_t gRenderResets = 0;
bool gWindowsUseGl = false;
void (*gFillBlack)() = nullptr;

// The screen saver stays as the user has it until the layer switches it
// off; SDL would switch it off as soon as video starts.
void SetHintsBeforeVideo() {
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
}

HostDesktop QueryDesktop() {
  HostDesktop desktop = {0, 0, 32};
  int display = gWindow ? SDL_GetWindowDisplayIndex(gWindow) : 0;
  if (display < 0) display = 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(display, &mode) == 0) {
    desktop.width = mode.w;
    desktop.height = mode.h;
  }
  return desktop;
}

struct Borders {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Known once the window manager has decorated the window; none before.
Borders WindowBorders(HostWindowStyle style) {
  Borders b;
  if (gWindow && style == HostWindowStyle::Windowed &&
      SDL_GetWindowBordersSize(gWindow, &b.top, &b.left, &b.bottom, &b.right) != 0) {
    b = Borders();
  }
  return b;
}

int AtLeastOne(int value) { return value < 1 ? 1 : value; }

}  // namespace

bool HostVideoStart() {
  if (gVideoStarted) return true;
  SetHintsBeforeVideo();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  gVideoStarted = true;
  HostApplyImeState();
  gLastDesktop = QueryDesktop();
  return true;
}

void HostVideoStop() {
  if (!gVideoStarted) return;
  HostWindowDestroy();
  HostDiscardMessages();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  gVideoStarted = false;
  gWindowsUseGl = false;
  // With nothing of SDL left in use, let it free what it keeps for the
  // whole process.
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

HostDesktop HostDesktopMetrics() {
  if (gVideoStarted) return QueryDesktop();
  // A look before the window system is in use: start it for the question.
  SetHintsBeforeVideo();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return HostDesktop{0, 0, 32};
  const HostDesktop desktop = QueryDesktop();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return desktop;
}

uint32_t HostWindowCreate(const char* titleCp932, HostWindowStyle style, const HostRect& frame) {
  if (gWindow || !HostVideoStart()) return 0;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (gWindowsUseGl) flags |= SDL_WINDOW_OPENGL;
  if (style == HostWindowStyle::FullScreen) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP;
    gScreenWidth = AtLeastOne(frame.right - frame.left);
    gScreenHeight = AtLeastOne(frame.bottom - frame.top);
  }
  gStyle = style;
  // No borders are known before the window exists: the frame is the client.
  gWindow = SDL_CreateWindow(Cp932ToUtf8(titleCp932).c_str(), frame.left, frame.top,
                             AtLeastOne(frame.right - frame.left), AtLeastOne(frame.bottom - frame.top), flags);
  if (!gWindow) return 0;
  return SDL_GetWindowID(gWindow);
}

void HostWindowDestroy() {
  if (gRenderer) {
    SDL_DestroyRenderer(gRenderer);
    ++gRendererGeneration;
  }
  gRenderer = nullptr;
  if (gWindow) SDL_DestroyWindow(gWindow);
  gWindow = nullptr;
}

bool HostWindowExists() { return gWindow != nullptr; }

void HostSetWindowsUseGl(bool on) { gWindowsUseGl = on; }

bool HostWindowUsesGl() { return gWindow && (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_OPENGL) != 0; }

void HostWindowShow() {
  if (gWindow) SDL_ShowWindow(gWindow);
}

void HostWindowMinimise() {
  if (gWindow) SDL_MinimizeWindow(gWindow);
}

void HostWindowRaise(bool topmost) {
  if (!gWindow) return;
  if (topmost) SDL_SetWindowAlwaysOnTop(gWindow, SDL_TRUE);
  SDL_RaiseWindow(gWindow);
}

void HostWindowSetTitle(const char* titleCp932) {
  if (gWindow) SDL_SetWindowTitle(gWindow, Cp932ToUtf8(titleCp932).c_str());
}

void HostWindowSetIcon(int iconId) {
  // SDL cannot take an icon back: an id without an image keeps the last one.
  const auto found = gIcons.find(iconId);
  if (!gWindow || iconId == 0 || found == gIcons.end()) return;
  IconImage& icon = found->second;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels.data(), icon.width, icon.height, 32,
                                                            icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(gWindow, surface);
  SDL_FreeSurface(surface);
}

void HostRegisterIconResource(int id, const uint32_t* argb, int width, int height) {
  if (width <= 0 || height <= 0) return;
  IconImage icon;
  icon.pixels.assign(argb, argb + static_cast<size_t>(width) * static_cast<size_t>(height));
  icon.width = width;
  icon.height = height;
  gIcons[id] = std::move(icon);
}

void HostWindowSetStyle(HostWindowStyle style) {
  if (style == gStyle) return;
  gStyle = style;
  if (!gWindow) return;
  HostMessage change;
  change.id = HostMessageId::DisplayChange;
  change.p1 = 32;
  if (style == HostWindowStyle::FullScreen) {
    SDL_SetWindowFullscreen(gWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_SetWindowAlwaysOnTop(gWindow, SDL_TRUE);
    change.p2 = gScreenWidth;
    change.p3 = gScreenHeight;
  } else {
    SDL_SetWindowFullscreen(gWindow, 0);
    SDL_SetWindowAlwaysOnTop(gWindow, SDL_FALSE);
    const HostDesktop desktop = QueryDesktop();
    change.p2 = desktop.width;
    change.p3 = desktop.height;
  }
  HostPostMessage(change);
}

HostWindowStyle HostWindowGetStyle() { return gStyle; }

HostRect HostAdjustWindowRect(const HostRect& client, HostWindowStyle style) {
  const Borders b = WindowBorders(style);
  return HostRect{client.left - b.left, client.top - b.top, client.right + b.right, client.bottom + b.bottom};
}

void HostWindowSetFrameRect(const HostRect& frame) {
  if (!gWindow) return;
  if (gStyle == HostWindowStyle::FullScreen) {
    gScreenWidth = AtLeastOne(frame.right - frame.left);
    gScreenHeight = AtLeastOne(frame.bottom - frame.top);
    return;
  }
  const Borders b = WindowBorders(gStyle);
  const int left = frame.left + b.left;
  const int top = frame.top + b.top;
  SDL_SetWindowPosition(gWindow, left, top);
  SDL_SetWindowSize(gWindow, AtLeastOne(frame.right - b.right - left), AtLeastOne(frame.bottom - b.bottom - top));
}

bool HostWindowClientRect(HostRect* client) {
  if (!gWindow) return false;
  if (gStyle == HostWindowStyle::FullScreen) {
    *client = HostRect{0, 0, gScreenWidth, gScreenHeight};
    return true;
  }
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  SDL_GetWindowPosition(gWindow, &x, &y);
  SDL_GetWindowSize(gWindow, &w, &h);
  *client = HostRect{x, y, x + w, y + h};
  return true;
}

bool HostWindowFrameRect(HostRect* frame) {
  HostRect client;
  if (!HostWindowClientRect(&client)) return false;
  *frame = HostAdjustWindowRect(client, gStyle);
  return true;
}

void HostSetWindowFill(void (*fillBlack)()) { gFillBlack = fillBlack; }

void HostWindowFillBlack() {
  if (gFillBlack) {
    gFillBlack();
    return;
  }
  SDL_Renderer* renderer = HostSdlRenderer();
  if (!renderer) return;
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
}

void HostEnableScreenSaver(bool enabled) {
  if (!gVideoStarted) return;
  if (enabled) {
    SDL_EnableScreenSaver();
  } else {
    SDL_DisableScreenSaver();
  }
}

SDL_Window* HostSdlWindow() { return gWindow; }

SDL_Renderer* HostSdlRenderer() {
  if (!gWindow) return nullptr;
  if (!gRenderer) {
    gRenderer = SDL_CreateRenderer(gWindow, -1, 0);
    if (gRenderer) ++gRendererGeneration;
  }
  return gRenderer;
}

uint32_t HostSdlRendererGeneration() { return gRendererGeneration; }
void HostNoteRenderReset() { ++gRenderResets; }
uint32_t HostRenderResetCount() { return gRenderResets; }

SDL_Rect HostPictureViewport() {
  int w = 0;
  int h = 0;
  if (gWindow) SDL_GetWindowSize(gWindow, &w, &h);
  if (gStyle == HostWindowStyle::Windowed || w <= 0 || h <= 0) return SDL_Rect{0, 0, w, h};
  // Scale to fit, keeping the screen's proportions.
  const int64_t byWidth = static_cast<int64_t>(h) * gScreenWidth;
  const int64_t byHeight = static_cast<int64_t>(w) * gScreenHeight;
  int vw = w;
  int vh = h;
  if (byWidth > byHeight) {
    vh = static_cast<int>(byHeight / gScreenWidth);
  } else {
    vw = static_cast<int>(byWidth / gScreenHeight);
  }
  return SDL_Rect{(w - vw) / 2, (h - vh) / 2, AtLeastOne(vw), AtLeastOne(vh)};
}

void HostWindowPixelsToClient(int* x, int* y) {
  if (gStyle == HostWindowStyle::Windowed) return;
  const SDL_Rect v = HostPictureViewport();
  *x = static_cast<int>(static_cast<int64_t>(*x - v.x) * gScreenWidth / v.w);
  *y = static_cast<int>(static_cast<int64_t>(*y - v.y) * gScreenHeight / v.h);
}

void HostClientToWindowPixels(int* x, int* y) {
  if (gStyle == HostWindowStyle::Windowed) return;
  const SDL_Rect v = HostPictureViewport();
  *x = v.x + static_cast<int>(static_cast<int64_t>(*x) * v.w / gScreenWidth);
  *y = v.y + static_cast<int>(static_cast<int64_t>(*y) * v.h / gScreenHeight);
}

void HostCheckDesktopChange(std::vector<HostMessage>& out) {
  const HostDesktop now = QueryDesktop();
  if (now.width == gLastDesktop.width && now.height == gLastDesktop.height) return;
  gLastDesktop = now;
  if (gStyle != HostWindowStyle::Windowed) return;
  HostMessage change;
  change.id = HostMessageId::DisplayChange;
  change.p1 = now.depth;
  change.p2 = now.width;
  change.p3 = now.height;
  out.push_back(change);
}
