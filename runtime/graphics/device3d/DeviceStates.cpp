// The device record's cached setters, the vertex batches, the scene bracket,
// the viewport and the transforms.

#include <cstring>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/PlatformQueries.h"

namespace {

Device3DRecord* Record(int device) {
  Device3DRecord* d = &gD3D.devices[device & (kDeviceRecords - 1)];
  return DeviceReady(d) ? d : nullptr;
}

void* BatchOf(Device3DRecord& d, int kind) {
  if (kind == kVertexUntextured) return d.batch0;
  if (kind == kVertexTextured) return d.batch1;
  return d.batch2;
}

int Flush(Device3DRecord& d) {
  if (d.queuedCount != 0 && !IsEndRequested() && !d.discardBatch && d.device) {
    HostDevice3DDrawPrimitive(d.device, static_cast<HostPrimitive>(d.primitiveType), kVertexFormatCodes[d.vertexKind],
                              BatchOf(d, d.vertexKind), d.queuedCount);
  }
  d.queuedCount = 0;
  d.writePosition = 0;
  return 0;
}

// A render state through the cache: -1 when refused by the device.
int SendRenderState(Device3DRecord& d, int32_t* cached, HostRenderState state, int32_t value, bool drawFirst = true) {
  if (*cached == value && !d.force) return 0;
  if (drawFirst) Flush(d);
  int result = 0;
  if (d.device && HostDevice3DSetRenderState(d.device, state, static_cast<uint32_t>(value)) != kHostOk) result = -1;
  if (result == 0) *cached = value;
  return result;
}

int EndSceneOn(Device3DRecord& d) {
  if (!d.inScene) return 0;
  Flush(d);
  if (d.device) HostDevice3DEndScene(d.device);
  d.inScene = 0;
  return 0;
}

}  // namespace

int FlushVertexBatch() {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return -1;
  return Flush(*d);
}

int BeginScene3D(int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (d->inScene) return 0;
  if (d->device) HostDevice3DBeginScene(d->device);
  d->inScene = 1;
  d->lastPart = 0;
  d->lastFlags = 0;
  return 0;
}

int EndScene3D() {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return -1;
  return EndSceneOn(*d);
}

int UpdateVertexColor3D() {
  const uint32_t alpha = gDrawState.blendMode != 0 ? static_cast<uint32_t>(gDrawState.blendParameter) : 255;
  gD3D.vertexColor = alpha << 24 | (gDrawState.brightness & 0xFFFFFF);
  return 0;
}

int SetDrawFilter3D(int filterMode) { return SetFilter3D(filterMode, gD3D.currentDevice); }

int SetViewportFromRect3D(const IntRect& rect) {
  if (gD3D.suppressed) return 0;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width == 0 || height == 0) return -1;
  const IntRect& front = gDrawState.frontScreenRect;
  return SetViewport3D(HostViewport{rect.left + front.left, rect.top + front.top, width, height, 0.0f, 1.0f},
                       gD3D.currentDevice);
}

int SetViewport3D(const HostViewport& viewport, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  const HostViewport& c = d->viewport;
  if (c.x == viewport.x && c.y == viewport.y && c.width == viewport.width && c.height == viewport.height &&
      !d->force) {
    return 0;
  }
  Flush(*d);
  EndSceneOn(*d);
  if (d->device) {
    const int result = HostDevice3DSetViewport(d->device, viewport);
    if (result != kHostOk) return LogFormat("ビューポートのセットに失敗しました ErrorCode %x", static_cast<unsigned>(result));
  }
  d->viewport = viewport;
  return 0;
}

int SetRenderTarget3D(HostSurface* surface, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  HostSurface* target = surface ? surface : d->defaultTarget;
  if (target == d->currentTarget && !d->force) return 0;
  Flush(*d);
  EndSceneOn(*d);
  if (d->device && HostDevice3DSetRenderTarget(d->device, target) != kHostOk) return -1;
  d->currentTarget = target;
  return 0;
}

int SetWorldMatrix3D(const Matrix4& matrix, int index) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return -1;
  Flush(*d);
  if (index < 0 || index > 3) return 0;
  if (d->device) HostDevice3DSetTransform(d->device, index, &matrix.m[0][0]);
  return 0;
}

int SetViewMatrix3D(const Matrix4& matrix) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return -1;
  Flush(*d);
  if (d->device) HostDevice3DSetTransform(d->device, 4, &matrix.m[0][0]);
  return 0;
}

int SetProjectionMatrix3D(const Matrix4& matrix) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d) return -1;
  Flush(*d);
  if (d->device) HostDevice3DSetTransform(d->device, 5, &matrix.m[0][0]);
  return 0;
}

int SetDepthEnable3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->depthEnable, kRsZEnable, value == 1 ? 1 : 0);
}

int SetDepthWrite3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->depthWrite, kRsZWriteEnable, value);
}

int SetDepthFunc3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->depthFunc, kRsZFunc, value);
}

int SetCullMode3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (d->culling == value && !d->force) return 0;
  Flush(*d);
  if (d->device) HostDevice3DSetRenderState(d->device, kRsCullMode, value != 0 ? kCullCounterClockwise : kCullNone);
  d->culling = value;
  return 0;
}

int SetShadeMode3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->shadeMode, kRsShadeMode, value);
}

int SetFogEnable3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->fogEnable, kRsFogEnable, value);
}

int SetTexturePerspective3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->perspective, kRsTexturePerspective, value, false);
}

int SetColorKeyEnable3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  return SendRenderState(*d, &d->colorKeyEnable, kRsColorKeyEnable, value);
}

int SetFilter3D(int filterMode, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (filterMode != 0 && filterMode != 1) return -1;
  const int value = filterMode == 0 ? kFilterPoint : kFilterLinear;
  for (int stage = 0; stage < d->stagesInUse && stage < kStageCacheSize; ++stage) {
    if (d->magFilter[stage] != value || d->force) {
      Flush(*d);
      if (d->device) HostDevice3DSetStageState(d->device, stage, kTssMagFilter, static_cast<uint32_t>(value));
      d->magFilter[stage] = value;
    }
    if (d->minFilter[stage] != value || d->force) {
      Flush(*d);
      if (d->device) HostDevice3DSetStageState(d->device, stage, kTssMinFilter, static_cast<uint32_t>(value));
      d->minFilter[stage] = value;
    }
  }
  d->filterMode = filterMode;
  return 0;
}

int SetTexture3D(HostSurface* texture, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (d->texture == texture && !d->force) return 0;
  Flush(*d);
  if ((d->texture == nullptr) != (texture == nullptr)) d->stageDirty = 1;
  d->texture = texture;
  d->textureDirty = 1;
  return 0;
}

int SetBlendTexture3D(HostSurface* texture, int border, int range, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  const int newBorder = border == -1 ? d->border : border;
  const int newRange = range == -1 ? d->range : range;
  const bool unchanged = (d->blendTexture == texture && d->border == newBorder && d->range == newRange) ||
                         (!d->blendTexture && !texture);
  if (unchanged && !d->force) return 0;
  Flush(*d);
  d->blendTexture = texture;
  d->border = newBorder;
  d->range = newRange;
  d->stageDirty = 1;
  return 0;
}

int SetColorModulation3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (d->colorModulation == value && !d->force) return 0;
  Flush(*d);
  d->colorModulation = value;
  d->stageDirty = 1;
  return 0;
}

int SetAlphaModulation3D(int value, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (d->alphaModulation == value && !d->force) return 0;
  Flush(*d);
  d->alphaModulation = value;
  d->stageDirty = 1;
  return 0;
}

int SetBlendSource3D(int blendMode, int alphaChannelUse, int alphaTestUse, int device) {
  Device3DRecord* d = Record(device);
  if (!d) return -1;
  if (d->blendMode == blendMode && d->alphaChannelUse == alphaChannelUse && d->alphaTestUse == alphaTestUse &&
      !d->force) {
    return 0;
  }
  Flush(*d);
  d->blendMode = blendMode;
  d->alphaChannelUse = alphaChannelUse;
  d->alphaTestUse = alphaTestUse;
  d->stageDirty = 1;
  return 0;
}

void* QueueVertices3D(int kind, HostPrimitive primitive, int n) {
  Device3DRecord* d = CurrentDevice3D();
  if (!d || n <= 0 || n >= kBatchCapacity[kind]) return nullptr;
  if (kind != d->vertexKind) {
    Flush(*d);
    d->vertexKind = kind;
  }
  if (d->queuedCount != 0) {
    const int after = d->queuedCount + n;
    const bool full = primitive == kPrimLineList ? after > kBatchCapacity[kind] : after >= kBatchCapacity[kind];
    if (d->primitiveType != primitive || full) Flush(*d);
  }
  uint8_t* batch = static_cast<uint8_t*>(BatchOf(*d, kind));
  void* at = batch + static_cast<size_t>(d->writePosition) * static_cast<size_t>(kVertexBytes[kind]);
  d->primitiveType = primitive;
  d->writePosition += n;
  d->queuedCount += n;
  return at;
}

void ForgetSurface3D(HostSurface* surface) {
  if (!surface) return;
  for (int i = 0; i < kDeviceRecords; ++i) {
    Device3DRecord& d = gD3D.devices[i];
    if (!d.inUse) continue;
    const bool used = d.texture == surface || d.blendTexture == surface || d.currentTarget == surface;
    bool staged = false;
    for (const StageCacheEntry& s : d.stages) staged = staged || s.texture == surface;
    if (!used && !staged) continue;
    Flush(d);
    if (d.texture == surface) {
      d.texture = nullptr;
      d.textureDirty = 1;
      d.stageDirty = 1;
    }
    if (d.blendTexture == surface) {
      d.blendTexture = nullptr;
      d.stageDirty = 1;
    }
    for (int stage = 0; stage < kStageCacheSize; ++stage) {
      if (d.stages[stage].texture != surface) continue;
      if (d.device) HostDevice3DSetTexture(d.device, stage, nullptr);
      d.stages[stage].texture = nullptr;
    }
    if (d.currentTarget == surface) {
      EndSceneOn(d);
      d.currentTarget = d.defaultTarget;
      if (d.device) HostDevice3DSetRenderTarget(d.device, d.defaultTarget);
    }
  }
}
