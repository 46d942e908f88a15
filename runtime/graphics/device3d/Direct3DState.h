#pragma once
// The 3D path's global record: the device (one of four records, only one
// ever made), every device state it was last sent, the three vertex
// batches, the texture formats chosen at the start, and the flags that the
// draw target sets.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/DDPixelFormat.h"
#include "runtime/host/device3d/Device3D.h"

constexpr int kDeviceRecords = 4;
constexpr int kStageCacheSize = 8;
constexpr int kTextureFormatCount = 9;

// Vertex kinds: untextured, one texture, blend graphic and texture.
constexpr int kVertexUntextured = 0;
constexpr int kVertexTextured = 1;
constexpr int kVertexBlended = 2;
constexpr uint32_t kVertexFormatCodes[3] = {0x44, 0x144, 0x2C4};
constexpr int kVertexBytes[3] = {20, 28, 40};
constexpr int kBatchCapacity[3] = {3225, 2340, 1638};

struct VertexUntextured {
  float x, y, z, rhw;
  uint32_t diffuse;
};
struct VertexTextured {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};
struct VertexBlended {
  float x, y, z, rhw;
  uint32_t diffuse;
  uint32_t specular;
  float u0, v0, u1, v1;
};
static_assert(sizeof(VertexUntextured) == 20 && sizeof(VertexTextured) == 28 && sizeof(VertexBlended) == 40);

struct StageCacheEntry {
  HostSurface* texture;
  uint16_t alphaArg1, alphaArg2, alphaOp, colorArg1, colorArg2, colorOp;
};

struct Device3DRecord {
  int32_t inUse;
  HostDevice3D* device;
  HostSurface* defaultTarget;
  HostSurface* currentTarget;
  HostSurface* texture;
  HostSurface* blendTexture;
  int32_t lastPart;
  int32_t lastFlags;
  int32_t colorModulation;
  int32_t alphaModulation;
  int32_t blendMode;
  int32_t border;
  int32_t range;
  int32_t alphaChannelUse;
  int32_t alphaTestUse;
  int32_t stageDirty;
  int32_t textureDirty;
  int32_t discardBatch;
  int32_t force;
  // Render states as sent.
  uint32_t alphaTestEnable, alphaRef, alphaFunc, alphaBlendEnable, diffuseSource, specularSource, specularEnable,
      textureFactor, sourceBlend, destinationBlend, blendOperation;
  int32_t stagesInUse;
  StageCacheEntry stages[kStageCacheSize];
  int32_t inScene;
  int32_t filterMode;
  int32_t magFilter[kStageCacheSize];
  int32_t minFilter[kStageCacheSize];
  int32_t mipFilter[kStageCacheSize];
  int32_t depthEnable, depthWrite, depthFunc, shadeMode, culling, addressMode, fogEnable, perspective, lighting,
      colorKeyEnable;
  int32_t writePosition;  // in vertices
  int32_t queuedCount;
  int32_t vertexKind;
  int32_t primitiveType;
  HostViewport viewport;
  VertexUntextured batch0[3225];
  VertexTextured batch1[2340];
  VertexBlended batch2[1638];
};

struct TextureFormatEntry {
  DDPixelFormat pixelFormat;
  ColorFormat colorFormat;
};

struct Direct3DState {
  int32_t object;  // the Direct3D object: the display's 3D device is there
  int32_t currentDevice;
  int32_t hardwareTnl;
  HostDeviceDesc description;
  int32_t deviceFound;
  int32_t minTextureSize;
  int32_t maxTextureSize;
  uint32_t vertexColor;
  float blendScaleU;
  float blendScaleV;
  TextureFormatEntry formats[kTextureFormatCount];
  int32_t frontSceneFlag;
  int32_t suppressed;
  DDPixelFormat depthFormat;
  int32_t depthFormatFound;
  int32_t grabMethod[2];  // plain and alpha targets; -1 while none is known
  Device3DRecord devices[kDeviceRecords];
  int32_t started;
};

extern Direct3DState gD3D;

// The current record, or null while none is in use.
Device3DRecord* CurrentDevice3D();
// The record's device interface is there.
bool DeviceReady(const Device3DRecord* record);
// A device record exists and Direct3D draws can run.
int HasDevice3D();

DDPixelFormat ToDDPixelFormat(const HostPixelFormat& format);
HostPixelFormat ToHostPixelFormat(const DDPixelFormat& format);
