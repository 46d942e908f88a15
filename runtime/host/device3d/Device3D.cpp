// The 3D device: render states and texture-stage states kept as set, and
// turned into GL state, uniforms and bindings only when a draw needs them,
// each GL value sent only when it differs from what the context holds.

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/device3d/DeviceGl.h"
#include "runtime/host/device3d/GlState.h"
#include "runtime/host/device3d/StageProgram.h"

namespace {

bool Reads(uint32_t arg, uint32_t which) { return arg == which; }

// The short way of the stage program for one textured stage that selects
// or modulates the texel (StageProgram.cpp); all 0 when it does not apply.
void PlainTerms(const uint32_t (*stages)[kTssCount], bool textured, float* plain) {
  for (int i = 0; i < 4; ++i) plain[i] = 0.0f;
  const uint32_t* s = stages[0];
  if (!textured || stages[1][kTssColorOp] != kOpDisable) return;
  const uint32_t c1 = s[kTssColorArg1];
  const uint32_t c2 = s[kTssColorArg2];
  const uint32_t a1 = s[kTssAlphaArg1];
  const uint32_t a2 = s[kTssAlphaArg2];
  float colourModulated;
  if (s[kTssColorOp] == kOpSelectArg1 && Reads(c1, kArgTexture)) {
    colourModulated = 0.0f;
  } else if (s[kTssColorOp] == kOpModulate && ((Reads(c1, kArgTexture) && Reads(c2, kArgDiffuse)) ||
                                               (Reads(c1, kArgDiffuse) && Reads(c2, kArgTexture)))) {
    colourModulated = 1.0f;
  } else {
    return;
  }
  float fromTexel;
  float fromDiffuse;
  if (s[kTssAlphaOp] == kOpSelectArg1 && Reads(a1, kArgTexture)) {
    fromTexel = 1.0f;
    fromDiffuse = 0.0f;
  } else if (s[kTssAlphaOp] == kOpSelectArg2 && Reads(a2, kArgDiffuse)) {
    fromTexel = 0.0f;
    fromDiffuse = 1.0f;
  } else if (s[kTssAlphaOp] == kOpModulate && ((Reads(a1, kArgTexture) && Reads(a2, kArgDiffuse)) ||
                                               (Reads(a1, kArgDiffuse) && Reads(a2, kArgTexture)))) {
    fromTexel = 1.0f;
    fromDiffuse = 1.0f;
  } else {
    return;
  }
  plain[0] = 1.0f;
  plain[1] = colourModulated;
  plain[2] = fromTexel;
  plain[3] = fromDiffuse;
}

// The GL objects of the device, made once per context.
// A program with its uniforms as sent.
struct ProgramUniforms {
  StageProgram program;
  GLint stages[64] = {};
  float keys[16] = {};
  float plain[4] = {};
  float factor[4] = {};
  GLint fragment[4] = {};
  float target[4] = {};
  bool sent = false;
};

struct DeviceObjects {
  uint32_t generation = 0;
  ProgramUniforms programs[2];  // whole, plain
  GLuint vertexBuffer = 0;
  GLuint indexBuffer = 0;
  std::vector<std::pair<uint32_t, GLuint>> vertexArrays;  // by vertex layout
  GLuint samplers[kHostTextureUnits] = {};
  GLint samplerState[kHostTextureUnits][3] = {};  // mag, min, wrap as sent
};

DeviceObjects gObjects;

GLenum BlendFactorOf(uint32_t factor) {
  switch (factor) {
    case kBlendZero: return GL_ZERO;
    case kBlendOne: return GL_ONE;
    case kBlendSourceColor: return GL_SRC_COLOR;
    case kBlendInvSourceColor: return GL_ONE_MINUS_SRC_COLOR;
    case kBlendSourceAlpha: return GL_SRC_ALPHA;
    case kBlendInvSourceAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case kBlendDestinationAlpha: return GL_DST_ALPHA;
    case kBlendInvDestinationAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case kBlendDestinationColor: return GL_DST_COLOR;
    case kBlendInvDestinationColor: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
  }
}

GLenum BlendEquationOf(uint32_t operation) {
  if (operation == kBlendOpSubtract) return GL_FUNC_SUBTRACT;
  if (operation == kBlendOpReverseSubtract) return GL_FUNC_REVERSE_SUBTRACT;
  return GL_FUNC_ADD;
}

GLenum CompareOf(uint32_t compare) {
  switch (compare) {
    case kCmpNever: return GL_NEVER;
    case kCmpLess: return GL_LESS;
    case kCmpEqual: return GL_EQUAL;
    case kCmpLessEqual: return GL_LEQUAL;
    case kCmpGreater: return GL_GREATER;
    case kCmpNotEqual: return GL_NOTEQUAL;
    case kCmpGreaterEqual: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLint WrapOf(uint32_t address) {
  switch (address) {
    case kAddressWrap: return GL_REPEAT;
    case kAddressMirror: return GL_MIRRORED_REPEAT;
    case kAddressBorder: return GL_CLAMP_TO_BORDER;
    default: return GL_CLAMP_TO_EDGE;
  }
}

GLenum PrimitiveOf(HostPrimitive primitive) {
  switch (primitive) {
    case kPrimPointList: return GL_POINTS;
    case kPrimLineList: return GL_LINES;
    case kPrimLineStrip: return GL_LINE_STRIP;
    case kPrimTriangleStrip: return GL_TRIANGLE_STRIP;
    case kPrimTriangleFan: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

int VertexBytes(uint32_t fvf) {
  int bytes = 16;
  if (fvf & kFvfDiffuse) bytes += 4;
  if (fvf & kFvfSpecular) bytes += 4;
  if (fvf & kFvfTexture1) bytes += 8;
  if (fvf & kFvfTexture2) bytes += 16;
  return bytes;
}

float Channel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 1.0f;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const uint32_t full = mask >> shift;
  return static_cast<float>((value & mask) >> shift) / static_cast<float>(full);
}

bool EnsureObjects() {
  if (gObjects.generation == gDisplay.generation && gObjects.programs[0].program.program != 0) return true;
  gObjects = DeviceObjects();
  for (int plain = 0; plain < 2; ++plain) {
    gObjects.programs[plain].program = BuildStageProgram(plain == 1);
    if (gObjects.programs[plain].program.program == 0) return false;
  }
  gl::GenBuffers(1, &gObjects.vertexBuffer);
  gl::GenBuffers(1, &gObjects.indexBuffer);
  gl::GenSamplers(kHostTextureUnits, gObjects.samplers);
  for (int unit = 0; unit < kHostTextureUnits; ++unit) {
    gl::BindSampler(static_cast<GLuint>(unit), gObjects.samplers[unit]);
    gObjects.samplerState[unit][0] = GL_NEAREST;
    gObjects.samplerState[unit][1] = GL_NEAREST;
    gObjects.samplerState[unit][2] = GL_CLAMP_TO_EDGE;
    gl::SamplerParameteri(gObjects.samplers[unit], GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl::SamplerParameteri(gObjects.samplers[unit], GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl::SamplerParameteri(gObjects.samplers[unit], GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl::SamplerParameteri(gObjects.samplers[unit], GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  gObjects.generation = gDisplay.generation;
  return true;
}

GLuint VertexArrayFor(uint32_t fvf) {
  for (const auto& entry : gObjects.vertexArrays) {
    if (entry.first == fvf) return entry.second;
  }
  GLuint vertexArray = 0;
  gl::GenVertexArrays(1, &vertexArray);
  BindVertexArray(vertexArray);
  BindArrayBuffer(gObjects.vertexBuffer);
  gl::BindBuffer(GL_ELEMENT_ARRAY_BUFFER, gObjects.indexBuffer);
  const GLsizei stride = VertexBytes(fvf);
  uintptr_t offset = 0;
  gl::EnableVertexAttribArray(kAttribPosition);
  gl::VertexAttribPointer(kAttribPosition, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
  offset += 16;
  // Colours are 0xAARRGGBB, stored blue first.
  if (fvf & kFvfDiffuse) {
    gl::EnableVertexAttribArray(kAttribDiffuse);
    gl::VertexAttribPointer(kAttribDiffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<void*>(offset));
    offset += 4;
  } else {
    gl::VertexAttrib4f(kAttribDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  if (fvf & kFvfSpecular) {
    gl::EnableVertexAttribArray(kAttribSpecular);
    gl::VertexAttribPointer(kAttribSpecular, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                            reinterpret_cast<void*>(offset));
    offset += 4;
  } else {
    gl::VertexAttrib4f(kAttribSpecular, 0.0f, 0.0f, 0.0f, 0.0f);
  }
  if (fvf & (kFvfTexture1 | kFvfTexture2)) {
    gl::EnableVertexAttribArray(kAttribTexture0);
    gl::VertexAttribPointer(kAttribTexture0, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
    offset += 8;
  }
  if (fvf & kFvfTexture2) {
    gl::EnableVertexAttribArray(kAttribTexture1);
    gl::VertexAttribPointer(kAttribTexture1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
  }
  gObjects.vertexArrays.emplace_back(fvf, vertexArray);
  return vertexArray;
}

}  // namespace

struct HostDevice3D {
  int kind = 0;
  HostSurface* target = nullptr;
  uint32_t renderStates[kRsCount] = {};
  uint32_t stageStates[kHostStageCount][kTssCount] = {};
  HostSurface* textures[kHostStageCount] = {};
  HostViewport viewport = {};
  float transforms[8][16] = {};
  bool inScene = false;
};

void ReleaseDeviceGl() {
  if (gObjects.generation != gDisplay.generation) return;
  for (const auto& entry : gObjects.vertexArrays) gl::DeleteVertexArrays(1, &entry.second);
  if (gObjects.vertexBuffer) gl::DeleteBuffers(1, &gObjects.vertexBuffer);
  if (gObjects.indexBuffer) gl::DeleteBuffers(1, &gObjects.indexBuffer);
  gl::DeleteSamplers(kHostTextureUnits, gObjects.samplers);
  for (ProgramUniforms& p : gObjects.programs) {
    if (p.program.program) gl::DeleteProgram(p.program.program);
  }
  gObjects = DeviceObjects();
  gDisplay.shadow = GlShadow();
}

namespace {

std::vector<HostDevice3D*>& Devices() {
  static std::vector<HostDevice3D*> devices;
  return devices;
}

bool LiveDevice(const HostDevice3D* device) {
  return device && std::find(Devices().begin(), Devices().end(), device) != Devices().end();
}

bool CanRenderTo(const HostSurface* s) {
  return s && s->onGpu && (s->caps & kHostSurface3DDevice) && !(s->caps & kHostSurfaceZBuffer);
}

void SetDefaults(HostDevice3D* d) {
  uint32_t* rs = d->renderStates;
  rs[kRsZEnable] = 0;
  rs[kRsZWriteEnable] = 1;
  rs[kRsZFunc] = kCmpLessEqual;
  rs[kRsCullMode] = kCullCounterClockwise;
  rs[kRsShadeMode] = kShadeGouraud;
  rs[kRsAlphaFunc] = kCmpAlways;
  rs[kRsSourceBlend] = kBlendOne;
  rs[kRsDestinationBlend] = kBlendZero;
  rs[kRsBlendOperation] = kBlendOpAdd;
  rs[kRsTextureFactor] = 0xFFFFFFFF;
  rs[kRsLighting] = 1;
  rs[kRsDiffuseMaterialSource] = 1;
  rs[kRsSpecularMaterialSource] = 2;
  for (int stage = 0; stage < kHostStageCount; ++stage) {
    uint32_t* ts = d->stageStates[stage];
    ts[kTssColorOp] = stage == 0 ? kOpModulate : kOpDisable;
    ts[kTssColorArg1] = kArgTexture;
    ts[kTssColorArg2] = kArgCurrent;
    ts[kTssAlphaOp] = stage == 0 ? kOpSelectArg1 : kOpDisable;
    ts[kTssAlphaArg1] = kArgTexture;
    ts[kTssAlphaArg2] = kArgCurrent;
    ts[kTssTexCoordIndex] = static_cast<uint32_t>(stage);
    ts[kTssAddress] = kAddressWrap;
    ts[kTssMagFilter] = kFilterPoint;
    ts[kTssMinFilter] = kFilterPoint;
    ts[kTssMipFilter] = 0;
  }
  d->viewport = HostViewport{0, 0, d->target ? d->target->width : 0, d->target ? d->target->height : 0, 0.0f, 1.0f};
}

void SendUniform4f(const ProgramUniforms& p, GLint location, float* sent, const float* value) {
  if (std::memcmp(sent, value, 4 * sizeof(float)) == 0 && p.sent) return;
  gl::Uniform4fv(location, 1, value);
  std::memcpy(sent, value, 4 * sizeof(float));
}

// Brings the context in line with the device before a draw; false when
// nothing can be drawn.
bool Apply(HostDevice3D* d) {
  if (!MakeContextCurrent() || !EnsureObjects()) return false;
  HostSurface* target = d->target;
  if (!CanRenderTo(target) || HostSurfaceIsLost(target) != kHostOk) return false;
  if (target->caps & kHostSurfacePrimary) SyncPrimary(target);
  const GLuint framebuffer = SurfaceFramebuffer(target);
  if (framebuffer == 0) return false;
  const uint32_t* rs = d->renderStates;
  BindDrawFramebuffer(framebuffer);
  SetViewport(0, 0, target->width, target->height);
  // The viewport clips; it is given in the target's coordinates.
  const HostViewport& v = d->viewport;
  const int left = std::max(v.x - target->originX, 0);
  const int top = std::max(v.y - target->originY, 0);
  const int right = std::min(v.x + v.width - target->originX, target->width);
  const int bottom = std::min(v.y + v.height - target->originY, target->height);
  if (right <= left || bottom <= top) return false;
  SetScissor(true, left, top, right - left, bottom - top);
  SetBlend(rs[kRsAlphaBlendEnable] != 0, BlendFactorOf(rs[kRsSourceBlend]), BlendFactorOf(rs[kRsDestinationBlend]),
           BlendEquationOf(rs[kRsBlendOperation]));
  const bool depth = rs[kRsZEnable] != 0 && target->depth && target->depth->onGpu;
  SetDepth(depth, depth && rs[kRsZWriteEnable] != 0, CompareOf(rs[kRsZFunc]));
  // Vertices are in y-down pixels and GL's window y runs the same way here,
  // so a triangle clockwise on screen is counter-clockwise to GL.
  const uint32_t cull = rs[kRsCullMode];
  SetCull(cull == kCullClockwise || cull == kCullCounterClockwise,
          cull == kCullCounterClockwise ? GL_CCW : GL_CW);

  const float targetValue[4] = {static_cast<float>(target->originX), static_cast<float>(target->originY),
                                2.0f / static_cast<float>(target->width), 2.0f / static_cast<float>(target->height)};
  GLint stages[64] = {};
  float keys[16] = {};
  for (int stage = 0; stage < kHostStageCount; ++stage) {
    const uint32_t* ts = d->stageStates[stage];
    GLint* s0 = stages + stage * 4 * 2;
    s0[0] = static_cast<GLint>(ts[kTssColorOp]);
    s0[1] = static_cast<GLint>(ts[kTssColorArg1]);
    s0[2] = static_cast<GLint>(ts[kTssColorArg2]);
    s0[3] = static_cast<GLint>(ts[kTssAlphaOp]);
    s0[4] = static_cast<GLint>(ts[kTssAlphaArg1]);
    s0[5] = static_cast<GLint>(ts[kTssAlphaArg2]);
    s0[6] = static_cast<GLint>(ts[kTssTexCoordIndex] & 1);
    HostSurface* texture = stage < kHostTextureUnits ? d->textures[stage] : nullptr;
    if (texture && (texture->texture == 0 || HostSurfaceIsLost(texture) != kHostOk)) texture = nullptr;
    if (stage < kHostTextureUnits) {
      BindTextureUnit(stage, texture ? texture->texture : 0);
      const GLint mag = ts[kTssMagFilter] == kFilterLinear ? GL_LINEAR : GL_NEAREST;
      const GLint min = ts[kTssMinFilter] == kFilterLinear ? GL_LINEAR : GL_NEAREST;
      const GLint wrap = WrapOf(ts[kTssAddress]);
      GLint* sent = gObjects.samplerState[stage];
      const GLuint sampler = gObjects.samplers[stage];
      if (sent[0] != mag) gl::SamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, sent[0] = mag);
      if (sent[1] != min) gl::SamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, sent[1] = min);
      if (sent[2] != wrap) {
        gl::SamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap);
        gl::SamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap);
        sent[2] = wrap;
      }
    }
    if (texture) {
      s0[7] |= 1;
      if (rs[kRsColorKeyEnable] && texture->hasColorKey) {
        s0[7] |= 2;
        const HostPixelFormat& f = texture->format;
        const uint32_t key = texture->colorKey;
        const uint32_t alphaMask = (f.flags & kHostPixelAlpha) ? f.alphaMask : 0;
        float* k = keys + stage * 4;
        k[0] = Channel(key, f.redMask);
        k[1] = Channel(key, f.greenMask);
        k[2] = Channel(key, f.blueMask);
        k[3] = alphaMask ? Channel(key, alphaMask) : 1.0f;
      }
    }
  }
  float plain[4];
  PlainTerms(d->stageStates, (stages[7] & 1) != 0, plain);
  ProgramUniforms& u = gObjects.programs[plain[0] != 0.0f ? 1 : 0];
  const StageProgram& program = u.program;
  UseProgram(program.program);
  SendUniform4f(u, program.target, u.target, targetValue);
  if (!u.sent || std::memcmp(stages, u.stages, sizeof stages) != 0) {
    gl::Uniform4iv(program.stages, 16, stages);
    std::memcpy(u.stages, stages, sizeof stages);
  }
  SendUniform4f(u, program.plain, u.plain, plain);
  if (!u.sent || std::memcmp(keys, u.keys, sizeof keys) != 0) {
    gl::Uniform4fv(program.keys, 4, keys);
    std::memcpy(u.keys, keys, sizeof keys);
  }
  const uint32_t f = rs[kRsTextureFactor];
  const float factor[4] = {static_cast<float>((f >> 16) & 0xFF) / 255.0f, static_cast<float>((f >> 8) & 0xFF) / 255.0f,
                           static_cast<float>(f & 0xFF) / 255.0f, static_cast<float>(f >> 24) / 255.0f};
  SendUniform4f(u, program.factor, u.factor, factor);
  const GLint fragment[4] = {rs[kRsAlphaTestEnable] ? static_cast<GLint>(rs[kRsAlphaFunc]) : 0,
                             static_cast<GLint>(rs[kRsAlphaRef] & 0xFF), rs[kRsSpecularEnable] ? 1 : 0, 0};
  if (!u.sent || std::memcmp(fragment, u.fragment, sizeof fragment) != 0) {
    gl::Uniform4iv(program.fragment, 1, fragment);
    std::memcpy(u.fragment, fragment, sizeof fragment);
  }
  u.sent = true;
  return true;
}

}  // namespace

void ForgetSurfaceInDevices(HostSurface* surface) {
  for (HostDevice3D* d : Devices()) {
    for (HostSurface*& texture : d->textures) {
      if (texture == surface) texture = nullptr;
    }
    if (d->target == surface) d->target = nullptr;
  }
}

HostDevice3D* HostDevice3DCreate(int deviceKind, HostSurface* renderTarget) {
  if (!HostDisplayHasDevice3D() || deviceKind < kHostDeviceSoftware || deviceKind > kHostDeviceTransformAndLighting)
    return nullptr;
  if (!CanRenderTo(renderTarget) || !MakeContextCurrent() || !EnsureObjects()) return nullptr;
  auto* d = new HostDevice3D();
  d->kind = deviceKind;
  d->target = renderTarget;
  SetDefaults(d);
  Devices().push_back(d);
  return d;
}

void HostDevice3DRelease(HostDevice3D* device) {
  if (!LiveDevice(device)) return;
  Devices().erase(std::find(Devices().begin(), Devices().end(), device));
  delete device;
}

int HostDevice3DSetRenderState(HostDevice3D* device, HostRenderState state, uint32_t value) {
  if (!LiveDevice(device) || state < 0 || state >= kRsCount) return kHostInvalid;
  device->renderStates[state] = value;
  return kHostOk;
}

int HostDevice3DSetStageState(HostDevice3D* device, int stage, HostStageState state, uint32_t value) {
  if (!LiveDevice(device) || stage < 0 || stage >= kHostStageCount || state < 0 || state >= kTssCount)
    return kHostInvalid;
  device->stageStates[stage][state] = value;
  return kHostOk;
}

int HostDevice3DSetTexture(HostDevice3D* device, int stage, HostSurface* texture) {
  if (!LiveDevice(device) || stage < 0 || stage >= kHostStageCount) return kHostInvalid;
  if (texture && !(HostSurfaceCaps(texture) & kHostSurfaceTexture)) return kHostInvalid;
  device->textures[stage] = texture;
  return kHostOk;
}

int HostDevice3DSetRenderTarget(HostDevice3D* device, HostSurface* surface) {
  if (!LiveDevice(device)) return kHostInvalid;
  if (!CanRenderTo(surface)) return kHostInvalid;
  device->target = surface;
  return kHostOk;
}

int HostDevice3DSetViewport(HostDevice3D* device, const HostViewport& viewport) {
  if (!LiveDevice(device) || viewport.width <= 0 || viewport.height <= 0) return kHostInvalid;
  device->viewport = viewport;
  return kHostOk;
}

int HostDevice3DSetTransform(HostDevice3D* device, int which, const float matrix[16]) {
  if (!LiveDevice(device) || which < 0 || which >= 8) return kHostInvalid;
  std::memcpy(device->transforms[which], matrix, sizeof device->transforms[which]);
  return kHostOk;
}

int HostDevice3DBeginScene(HostDevice3D* device) {
  if (!LiveDevice(device)) return kHostInvalid;
  if (device->inScene) return kHostError;
  device->inScene = true;
  return kHostOk;
}

int HostDevice3DEndScene(HostDevice3D* device) {
  if (!LiveDevice(device)) return kHostInvalid;
  if (!device->inScene) return kHostError;
  device->inScene = false;
  // What was drawn on the window's surface is shown at once.
  if (device->target && (device->target->caps & kHostSurfacePrimary)) ShowPrimary();
  return kHostOk;
}

int HostDevice3DDrawPrimitive(HostDevice3D* device, HostPrimitive primitive, uint32_t fvf, const void* vertices,
                              int vertexCount) {
  if (!LiveDevice(device) || !vertices || vertexCount <= 0 || !(fvf & kFvfPositionRhw)) return kHostInvalid;
  if (!Apply(device)) return kHostError;
  BindVertexArray(VertexArrayFor(fvf));
  BindArrayBuffer(gObjects.vertexBuffer);
  gl::BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(VertexBytes(fvf)) * vertexCount, vertices,
                 GL_STREAM_DRAW);
  gl::DrawArrays(PrimitiveOf(primitive), 0, vertexCount);
  NoteGpuWrite(device->target);
  return kHostOk;
}

int HostDevice3DDrawIndexedPrimitive(HostDevice3D* device, HostPrimitive primitive, uint32_t fvf,
                                     const void* vertices, int vertexCount, const uint16_t* indices,
                                     int indexCount) {
  if (!LiveDevice(device) || !vertices || !indices || vertexCount <= 0 || indexCount <= 0 ||
      !(fvf & kFvfPositionRhw)) {
    return kHostInvalid;
  }
  for (int i = 0; i < indexCount; ++i) {
    if (indices[i] >= vertexCount) return kHostInvalid;
  }
  if (!Apply(device)) return kHostError;
  BindVertexArray(VertexArrayFor(fvf));
  BindArrayBuffer(gObjects.vertexBuffer);
  gl::BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(VertexBytes(fvf)) * vertexCount, vertices,
                 GL_STREAM_DRAW);
  gl::BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(uint16_t)) * indexCount, indices,
                 GL_STREAM_DRAW);
  gl::DrawElements(PrimitiveOf(primitive), indexCount, GL_UNSIGNED_SHORT, nullptr);
  NoteGpuWrite(device->target);
  return kHostOk;
}

int HostDevice3DLoad(HostDevice3D* device, HostSurface* destination, int x, int y, HostSurface* source,
                     const HostRect* sourceRect) {
  if (!LiveDevice(device)) return kHostInvalid;
  return HostSurfaceBltFast(destination, x, y, source, sourceRect, 0);
}
