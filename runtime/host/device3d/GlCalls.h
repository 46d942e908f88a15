#pragma once
// Inside runtime/host/device3d only: the OpenGL 3.3 core entry points,
// fetched from the context once it exists, each call counted on its way
// through (HostGlCounts in Device3D.h reads the counts).

#include <GL/glcorearb.h>

#include <cstdint>

#include "runtime/host/device3d/Device3D.h"

namespace gl {

enum CallKind { kOther, kDraw, kPrimitive, kState, kUpload, kReadback };

// name, type, kind
#define MOVAN_GL_FUNCTIONS(X)                                                    \
  X(GetString, PFNGLGETSTRINGPROC, kOther)                                       \
  X(GetIntegerv, PFNGLGETINTEGERVPROC, kOther)                                   \
  X(GetError, PFNGLGETERRORPROC, kOther)                                         \
  X(Finish, PFNGLFINISHPROC, kOther)                                             \
  X(GenTextures, PFNGLGENTEXTURESPROC, kOther)                                   \
  X(DeleteTextures, PFNGLDELETETEXTURESPROC, kOther)                             \
  X(BindTexture, PFNGLBINDTEXTUREPROC, kState)                                   \
  X(ActiveTexture, PFNGLACTIVETEXTUREPROC, kState)                               \
  X(TexImage2D, PFNGLTEXIMAGE2DPROC, kUpload)                                    \
  X(TexSubImage2D, PFNGLTEXSUBIMAGE2DPROC, kUpload)                              \
  X(TexParameteri, PFNGLTEXPARAMETERIPROC, kState)                               \
  X(PixelStorei, PFNGLPIXELSTOREIPROC, kState)                                   \
  X(GenSamplers, PFNGLGENSAMPLERSPROC, kOther)                                   \
  X(DeleteSamplers, PFNGLDELETESAMPLERSPROC, kOther)                             \
  X(BindSampler, PFNGLBINDSAMPLERPROC, kState)                                   \
  X(SamplerParameteri, PFNGLSAMPLERPARAMETERIPROC, kState)                       \
  X(GenFramebuffers, PFNGLGENFRAMEBUFFERSPROC, kOther)                           \
  X(DeleteFramebuffers, PFNGLDELETEFRAMEBUFFERSPROC, kOther)                     \
  X(BindFramebuffer, PFNGLBINDFRAMEBUFFERPROC, kState)                           \
  X(FramebufferTexture2D, PFNGLFRAMEBUFFERTEXTURE2DPROC, kState)                 \
  X(FramebufferRenderbuffer, PFNGLFRAMEBUFFERRENDERBUFFERPROC, kState)           \
  X(CheckFramebufferStatus, PFNGLCHECKFRAMEBUFFERSTATUSPROC, kOther)             \
  X(BlitFramebuffer, PFNGLBLITFRAMEBUFFERPROC, kDraw)                            \
  X(GenRenderbuffers, PFNGLGENRENDERBUFFERSPROC, kOther)                         \
  X(DeleteRenderbuffers, PFNGLDELETERENDERBUFFERSPROC, kOther)                   \
  X(BindRenderbuffer, PFNGLBINDRENDERBUFFERPROC, kState)                         \
  X(RenderbufferStorage, PFNGLRENDERBUFFERSTORAGEPROC, kOther)                   \
  X(ReadPixels, PFNGLREADPIXELSPROC, kReadback)                                  \
  X(ReadBuffer, PFNGLREADBUFFERPROC, kState)                                     \
  X(DrawBuffer, PFNGLDRAWBUFFERPROC, kState)                                     \
  X(ClearColor, PFNGLCLEARCOLORPROC, kState)                                     \
  X(ClearDepth, PFNGLCLEARDEPTHPROC, kState)                                     \
  X(Clear, PFNGLCLEARPROC, kDraw)                                                \
  X(Scissor, PFNGLSCISSORPROC, kState)                                           \
  X(Viewport, PFNGLVIEWPORTPROC, kState)                                         \
  X(Enable, PFNGLENABLEPROC, kState)                                             \
  X(Disable, PFNGLDISABLEPROC, kState)                                           \
  X(ColorMask, PFNGLCOLORMASKPROC, kState)                                       \
  X(DepthMask, PFNGLDEPTHMASKPROC, kState)                                       \
  X(DepthFunc, PFNGLDEPTHFUNCPROC, kState)                                       \
  X(BlendFunc, PFNGLBLENDFUNCPROC, kState)                                       \
  X(BlendEquation, PFNGLBLENDEQUATIONPROC, kState)                               \
  X(CullFace, PFNGLCULLFACEPROC, kState)                                         \
  X(FrontFace, PFNGLFRONTFACEPROC, kState)                                       \
  X(ProvokingVertex, PFNGLPROVOKINGVERTEXPROC, kState)                           \
  X(CreateShader, PFNGLCREATESHADERPROC, kOther)                                 \
  X(ShaderSource, PFNGLSHADERSOURCEPROC, kOther)                                 \
  X(CompileShader, PFNGLCOMPILESHADERPROC, kOther)                               \
  X(GetShaderiv, PFNGLGETSHADERIVPROC, kOther)                                   \
  X(GetShaderInfoLog, PFNGLGETSHADERINFOLOGPROC, kOther)                         \
  X(DeleteShader, PFNGLDELETESHADERPROC, kOther)                                 \
  X(CreateProgram, PFNGLCREATEPROGRAMPROC, kOther)                               \
  X(AttachShader, PFNGLATTACHSHADERPROC, kOther)                                 \
  X(BindAttribLocation, PFNGLBINDATTRIBLOCATIONPROC, kOther)                     \
  X(LinkProgram, PFNGLLINKPROGRAMPROC, kOther)                                   \
  X(GetProgramiv, PFNGLGETPROGRAMIVPROC, kOther)                                 \
  X(GetProgramInfoLog, PFNGLGETPROGRAMINFOLOGPROC, kOther)                       \
  X(DeleteProgram, PFNGLDELETEPROGRAMPROC, kOther)                               \
  X(UseProgram, PFNGLUSEPROGRAMPROC, kState)                                     \
  X(GetUniformLocation, PFNGLGETUNIFORMLOCATIONPROC, kOther)                     \
  X(Uniform1i, PFNGLUNIFORM1IPROC, kState)                                       \
  X(Uniform2i, PFNGLUNIFORM2IPROC, kState)                                       \
  X(Uniform4f, PFNGLUNIFORM4FPROC, kState)                                       \
  X(Uniform4fv, PFNGLUNIFORM4FVPROC, kState)                                     \
  X(Uniform4iv, PFNGLUNIFORM4IVPROC, kState)                                     \
  X(GenVertexArrays, PFNGLGENVERTEXARRAYSPROC, kOther)                           \
  X(DeleteVertexArrays, PFNGLDELETEVERTEXARRAYSPROC, kOther)                     \
  X(BindVertexArray, PFNGLBINDVERTEXARRAYPROC, kState)                           \
  X(GenBuffers, PFNGLGENBUFFERSPROC, kOther)                                     \
  X(DeleteBuffers, PFNGLDELETEBUFFERSPROC, kOther)                               \
  X(BindBuffer, PFNGLBINDBUFFERPROC, kState)                                     \
  X(BufferData, PFNGLBUFFERDATAPROC, kUpload)                                    \
  X(VertexAttribPointer, PFNGLVERTEXATTRIBPOINTERPROC, kState)                   \
  X(EnableVertexAttribArray, PFNGLENABLEVERTEXATTRIBARRAYPROC, kState)           \
  X(VertexAttrib4f, PFNGLVERTEXATTRIB4FPROC, kState)                             \
  X(DrawArrays, PFNGLDRAWARRAYSPROC, kPrimitive)                                 \
  X(DrawElements, PFNGLDRAWELEMENTSPROC, kPrimitive)

struct Functions {
#define MOVAN_GL_MEMBER(name, type, kind) type name;
  MOVAN_GL_FUNCTIONS(MOVAN_GL_MEMBER)
#undef MOVAN_GL_MEMBER
};

extern Functions gFunctions;
extern HostGlCallCounts gCounts;

inline void Count(CallKind kind) {
  ++gCounts.total;
  switch (kind) {
    case kDraw: ++gCounts.draws; break;
    case kPrimitive:
      ++gCounts.draws;
      ++gCounts.primitives;
      break;
    case kState: ++gCounts.stateChanges; break;
    case kUpload: ++gCounts.uploads; break;
    case kReadback: ++gCounts.readbacks; break;
    case kOther: break;
  }
}

#define MOVAN_GL_WRAPPER(name, type, kind) \
  template <typename... A>                 \
  inline auto name(A... a) {               \
    Count(kind);                           \
    return gFunctions.name(a...);          \
  }
MOVAN_GL_FUNCTIONS(MOVAN_GL_WRAPPER)
#undef MOVAN_GL_WRAPPER

// Fetches every entry point from the current context; false when one is
// missing.
bool LoadFunctions();

}  // namespace gl
