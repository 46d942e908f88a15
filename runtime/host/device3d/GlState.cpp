#include "runtime/host/device3d/GlState.h"

#include "runtime/host/window/SdlWindow.h"

namespace gl {

Functions gFunctions;
HostGlCallCounts gCounts;

bool LoadFunctions() {
  bool complete = true;
#define MOVAN_GL_LOAD(name, type, kind)                                                   \
  gFunctions.name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name));           \
  complete = complete && gFunctions.name != nullptr;
  MOVAN_GL_FUNCTIONS(MOVAN_GL_LOAD)
#undef MOVAN_GL_LOAD
  return complete;
}

}  // namespace gl

HostGlCallCounts HostGlCounts() { return gl::gCounts; }
void HostResetGlCounts() { gl::gCounts = HostGlCallCounts{}; }

DisplayObject gDisplay;

bool GlLayoutOf(const HostPixelFormat& f, GlPixelLayout* layout) {
  if (f.flags & (kHostPixelFourCC | kHostPixelLuminance | kHostPixelBumpMap)) return false;
  if (f.flags & kHostPixelZBuffer) {
    if (f.bitCount != 16) return false;
    *layout = GlPixelLayout{GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, 2, true};
    return true;
  }
  const uint32_t alpha = (f.flags & kHostPixelAlpha) ? f.alphaMask : 0;
  if (f.bitCount == 32 && f.redMask == 0xFF0000 && f.greenMask == 0xFF00 && f.blueMask == 0xFF &&
      (alpha == 0 || alpha == 0xFF000000u)) {
    *layout = GlPixelLayout{GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, 4, alpha == 0};
    return true;
  }
  if (f.bitCount != 16) return false;
  if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F && alpha == 0) {
    *layout = GlPixelLayout{GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, true};
    return true;
  }
  if (f.redMask == 0x7C00 && f.greenMask == 0x03E0 && f.blueMask == 0x001F && (alpha == 0 || alpha == 0x8000)) {
    *layout = GlPixelLayout{GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, alpha == 0};
    return true;
  }
  if (f.redMask == 0x0F00 && f.greenMask == 0x00F0 && f.blueMask == 0x000F && (alpha == 0 || alpha == 0xF000)) {
    *layout = GlPixelLayout{GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, alpha == 0};
    return true;
  }
  return false;
}

bool MakeContextCurrent() {
  if (!gDisplay.context) return false;
  SDL_Window* window = HostSdlWindow();
  if (!window) return false;
  if (SDL_GL_GetCurrentContext() == gDisplay.context) return true;
  return SDL_GL_MakeCurrent(window, gDisplay.context) == 0;
}

void BindDrawFramebuffer(GLuint framebuffer) {
  GlShadow& s = gDisplay.shadow;
  if (s.drawFramebuffer == framebuffer) return;
  gl::BindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
  s.drawFramebuffer = framebuffer;
}

void BindReadFramebuffer(GLuint framebuffer) {
  GlShadow& s = gDisplay.shadow;
  if (s.readFramebuffer == framebuffer) return;
  gl::BindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  s.readFramebuffer = framebuffer;
}

void SetScissor(bool on, int x, int y, int width, int height) {
  GlShadow& s = gDisplay.shadow;
  if (on != s.scissor) {
    if (on) {
      gl::Enable(GL_SCISSOR_TEST);
    } else {
      gl::Disable(GL_SCISSOR_TEST);
    }
    s.scissor = on;
  }
  if (!on) return;
  const GLint box[4] = {x, y, width, height};
  if (box[0] == s.scissorBox[0] && box[1] == s.scissorBox[1] && box[2] == s.scissorBox[2] &&
      box[3] == s.scissorBox[3]) {
    return;
  }
  gl::Scissor(x, y, width, height);
  for (int i = 0; i < 4; ++i) s.scissorBox[i] = box[i];
}

void SetViewport(int x, int y, int width, int height) {
  GlShadow& s = gDisplay.shadow;
  if (s.viewport[0] == x && s.viewport[1] == y && s.viewport[2] == width && s.viewport[3] == height) return;
  gl::Viewport(x, y, width, height);
  s.viewport[0] = x;
  s.viewport[1] = y;
  s.viewport[2] = width;
  s.viewport[3] = height;
}

void SetBlend(bool on, GLenum source, GLenum destination, GLenum equation) {
  GlShadow& s = gDisplay.shadow;
  if (on != s.blend) {
    if (on) {
      gl::Enable(GL_BLEND);
    } else {
      gl::Disable(GL_BLEND);
    }
    s.blend = on;
  }
  if (!on) return;
  if (source != s.blendSource || destination != s.blendDestination) {
    gl::BlendFunc(source, destination);
    s.blendSource = source;
    s.blendDestination = destination;
  }
  if (equation != s.blendEquation) {
    gl::BlendEquation(equation);
    s.blendEquation = equation;
  }
}

void SetDepth(bool test, bool mask, GLenum func) {
  GlShadow& s = gDisplay.shadow;
  if (test != s.depthTest) {
    if (test) {
      gl::Enable(GL_DEPTH_TEST);
    } else {
      gl::Disable(GL_DEPTH_TEST);
    }
    s.depthTest = test;
  }
  if (mask != s.depthMask) {
    gl::DepthMask(mask ? GL_TRUE : GL_FALSE);
    s.depthMask = mask;
  }
  if (test && func != s.depthFunc) {
    gl::DepthFunc(func);
    s.depthFunc = func;
  }
}

void SetCull(bool on, GLenum frontFace) {
  GlShadow& s = gDisplay.shadow;
  if (on != s.cull) {
    if (on) {
      gl::Enable(GL_CULL_FACE);
    } else {
      gl::Disable(GL_CULL_FACE);
    }
    s.cull = on;
  }
  if (on && frontFace != s.frontFace) {
    gl::FrontFace(frontFace);
    s.frontFace = frontFace;
  }
}

void UseProgram(GLuint program) {
  GlShadow& s = gDisplay.shadow;
  if (s.program == program) return;
  gl::UseProgram(program);
  s.program = program;
}

void BindVertexArray(GLuint vertexArray) {
  GlShadow& s = gDisplay.shadow;
  if (s.vertexArray == vertexArray) return;
  gl::BindVertexArray(vertexArray);
  s.vertexArray = vertexArray;
}

void BindArrayBuffer(GLuint buffer) {
  GlShadow& s = gDisplay.shadow;
  if (s.arrayBuffer == buffer) return;
  gl::BindBuffer(GL_ARRAY_BUFFER, buffer);
  s.arrayBuffer = buffer;
}

void BindTextureUnit(int unit, GLuint texture) {
  GlShadow& s = gDisplay.shadow;
  if (s.textures[unit] == texture) return;
  if (s.activeUnit != unit) {
    gl::ActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    s.activeUnit = unit;
  }
  gl::BindTexture(GL_TEXTURE_2D, texture);
  s.textures[unit] = texture;
}
