#pragma once
// Inside runtime/host/device3d only: the state of the one GL context as
// last sent, so that surfaces and the 3D device send only what changes, and
// what both share (formats, the surfaces' list, the display object).

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/device3d/GlCalls.h"

// How a pixel format is stored in GL.
struct GlPixelLayout {
  GLenum internalFormat;
  GLenum format;
  GLenum type;
  int bytesPerPixel;
  bool opaque;  // no alpha bits: sampled alpha reads 1
};
bool GlLayoutOf(const HostPixelFormat& format, GlPixelLayout* layout);

struct HostSurface {
  int width = 0;
  int height = 0;
  uint32_t caps = 0;
  HostPixelFormat format = {};
  int bytesPerPixel = 0;
  bool onGpu = false;
  GlPixelLayout layout = {};
  // System-memory pixels, or the mirror of a GPU surface that locks read
  // and write (valid while no GPU work has changed the surface since).
  std::vector<uint8_t> memory;
  int pitch = 0;
  bool mirrorValid = false;
  GLuint texture = 0;
  GLuint framebuffer = 0;
  GLuint renderbuffer = 0;  // depth surfaces
  uint32_t generation = 0;  // the context the GL names belong to
  HostSurface* depth = nullptr;
  HostSurface* backBuffer = nullptr;
  HostSurface* chainOwner = nullptr;
  uint32_t colorKey = 0;
  bool hasColorKey = false;
  bool lost = false;
  bool locked = false;
  HostRect lockRect = {};
  uint32_t lockFlags = 0;
  // The primary: where the window's client area lies in its coordinates.
  int originX = 0;
  int originY = 0;
};

struct GlShadow {
  GLuint drawFramebuffer = 0;
  GLuint readFramebuffer = 0;
  bool scissor = false;
  GLint scissorBox[4] = {};
  GLint viewport[4] = {};
  bool blend = false;
  GLenum blendSource = GL_ONE;
  GLenum blendDestination = GL_ZERO;
  GLenum blendEquation = GL_FUNC_ADD;
  bool depthTest = false;
  bool depthMask = true;
  GLenum depthFunc = GL_LESS;
  bool cull = false;
  GLenum frontFace = GL_CCW;
  GLuint program = 0;
  GLuint vertexArray = 0;
  GLuint arrayBuffer = 0;
  int activeUnit = 0;
  GLuint textures[kHostTextureUnits] = {};
};

struct DisplayObject {
  bool exists = false;
  SDL_GLContext context = nullptr;
  bool device3D = false;
  uint32_t generation = 1;
  GlShadow shadow;
  std::vector<HostSurface*> surfaces;
  HostSurface* primary = nullptr;
  char renderer[128] = {};
};

extern DisplayObject gDisplay;

// The context is current (another renderer may have taken it); false
// without one.
bool MakeContextCurrent();

// Shadowed setters.
void BindDrawFramebuffer(GLuint framebuffer);
void BindReadFramebuffer(GLuint framebuffer);
void SetScissor(bool on, int x, int y, int width, int height);
void SetViewport(int x, int y, int width, int height);
void SetBlend(bool on, GLenum source, GLenum destination, GLenum equation);
void SetDepth(bool test, bool mask, GLenum func);
void SetCull(bool on, GLenum frontFace);
void UseProgram(GLuint program);
void BindVertexArray(GLuint vertexArray);
void BindArrayBuffer(GLuint buffer);
void BindTextureUnit(int unit, GLuint texture);

// A GPU surface's framebuffer, made on first use; 0 when it cannot be.
GLuint SurfaceFramebuffer(HostSurface* surface);
// The surface's content changed on the GPU.
void NoteGpuWrite(HostSurface* surface);
// Shows the primary surface in the window.
void ShowPrimary();
// The primary's GL storage follows the window's client area.
void SyncPrimary(HostSurface* primary);
