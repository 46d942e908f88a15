// The display object: the window's GL context when the drawing hardware is
// wanted and the window can have one.

#include <cstring>

#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/device3d/DeviceGl.h"
#include "runtime/host/device3d/GlState.h"
#include "runtime/host/screen/Display.h"
#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/window/Window.h"

namespace {

int gForcedHardware = -1;

void FillWindowBlack() {
  if (!MakeContextCurrent()) return;
  BindDrawFramebuffer(0);
  SetScissor(false, 0, 0, 0, 0);
  gl::ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  gl::Clear(GL_COLOR_BUFFER_BIT);
  SDL_GL_SwapWindow(HostSdlWindow());
}

bool CreateContext() {
  SDL_Window* window = HostSdlWindow();
  if (!window || !HostWindowUsesGl()) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  gDisplay.context = SDL_GL_CreateContext(window);
  if (!gDisplay.context) return false;
  if (!MakeContextCurrent() || !gl::LoadFunctions()) {
    SDL_GL_DeleteContext(gDisplay.context);
    gDisplay.context = nullptr;
    return false;
  }
  GLint major = 0;
  GLint minor = 0;
  gl::GetIntegerv(GL_MAJOR_VERSION, &major);
  gl::GetIntegerv(GL_MINOR_VERSION, &minor);
  if (major < 3 || (major == 3 && minor < 3)) {
    SDL_GL_DeleteContext(gDisplay.context);
    gDisplay.context = nullptr;
    return false;
  }
  // The layer paces frames with its own vertical blank.
  SDL_GL_SetSwapInterval(0);
  gDisplay.shadow = GlShadow();
  gl::PixelStorei(GL_PACK_ALIGNMENT, 1);
  gl::PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // Flat shading takes the first vertex's colour.
  gl::ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
  const char* name = reinterpret_cast<const char*>(gl::GetString(GL_RENDERER));
  std::strncpy(gDisplay.renderer, name ? name : "", sizeof gDisplay.renderer - 1);
  return true;
}

}  // namespace

bool HostHasHardwareDrawing() {
  const bool glLoads = HostVideoStart() && SDL_GL_LoadLibrary(nullptr) == 0;
  HostSetWindowsUseGl(glLoads);
  return gForcedHardware == -1 ? glLoads : gForcedHardware == 1;
}

void HostForceHardwareDrawing(int answer) { gForcedHardware = answer; }

int HostDisplayObjectCreate(bool wantHardware) {
  if (gDisplay.exists) return kHostOk;
  gDisplay.exists = true;
  ++gDisplay.generation;
  gDisplay.device3D = wantHardware && CreateContext();
  if (gDisplay.device3D) HostSetWindowFill(FillWindowBlack);
  return kHostOk;
}

void HostDisplayObjectRelease() {
  if (!gDisplay.exists) return;
  if (gDisplay.context && MakeContextCurrent()) {
    ReleaseDeviceGl();
    for (HostSurface* s : gDisplay.surfaces) {
      if (s->onGpu) ForgetGpuStorage(s);
    }
  }
  if (gDisplay.context) SDL_GL_DeleteContext(gDisplay.context);
  HostSetWindowFill(nullptr);
  gDisplay.context = nullptr;
  gDisplay.device3D = false;
  gDisplay.exists = false;
  gDisplay.renderer[0] = '\0';
  ++gDisplay.generation;
}

bool HostDisplayObjectExists() { return gDisplay.exists; }
bool HostDisplayHasDevice3D() { return gDisplay.exists && gDisplay.device3D; }
const char* HostDisplayRendererName() { return gDisplay.renderer; }

HostPixelFormat HostDisplayPixelFormat() {
  if (HostDisplayModeDepth() == 16) return HostRgbFormat(16, 0xF800, 0x07E0, 0x001F, 0);
  return HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0);
}

HostPixelFormat HostRgbFormat(int bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  HostPixelFormat f = {};
  f.size = sizeof f;
  f.flags = kHostPixelRgb | (alpha != 0 ? kHostPixelAlpha : 0);
  f.bitCount = static_cast<uint32_t>(bits);
  f.redMask = red;
  f.greenMask = green;
  f.blueMask = blue;
  f.alphaMask = alpha;
  return f;
}
