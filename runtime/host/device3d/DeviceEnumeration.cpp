// What the 3D device offers: the device kinds, the texture formats and the
// depth formats, or a listing that a test gives instead.

#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/device3d/GlState.h"

namespace {

const HostDevice3DListing* gListing = nullptr;

HostDeviceDesc Desc(int kind) {
  HostDeviceDesc d = {};
  d.kind = kind;
  d.renderDepths = kHostRenderDepth16 | kHostRenderDepth32;
  d.powerOfTwoOnly = 1;
  d.squareOnly = 0;
  d.minTextureWidth = 1;
  d.minTextureHeight = 1;
  d.maxTextureWidth = 2048;
  d.maxTextureHeight = 2048;
  d.maxBlendStages = kHostStageCount;
  d.maxSimultaneousTextures = kHostTextureUnits;
  return d;
}

HostPixelFormat Depth(int bits, uint32_t extraFlags) {
  HostPixelFormat f = {};
  f.size = sizeof f;
  f.flags = kHostPixelZBuffer | extraFlags;
  f.bitCount = static_cast<uint32_t>(bits);
  return f;
}

const HostDevice3DListing& RealListing() {
  static const HostDevice3DListing listing = {
      {Desc(kHostDeviceSoftware), Desc(kHostDeviceHal), Desc(kHostDeviceTransformAndLighting)},
      {HostRgbFormat(16, 0xF800, 0x07E0, 0x001F, 0), HostRgbFormat(16, 0x7C00, 0x03E0, 0x001F, 0),
       HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0), HostRgbFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000),
       HostRgbFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000), HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u)},
      {Depth(16, 0), Depth(32, kHostPixelStencil)},
  };
  return listing;
}

const HostDevice3DListing& Listing() { return gListing ? *gListing : RealListing(); }

}  // namespace

void HostSetDevice3DListing(const HostDevice3DListing* listing) { gListing = listing; }

int HostEnumDevices3D(HostDeviceCallback callback, void* context) {
  if (!HostDisplayHasDevice3D()) return kHostError;
  for (const HostDeviceDesc& d : Listing().devices) {
    if (!callback(d, context)) break;
  }
  return kHostOk;
}

int HostEnumDepthFormats(int, HostFormatCallback callback, void* context) {
  if (!HostDisplayHasDevice3D()) return kHostError;
  for (const HostPixelFormat& f : Listing().depthFormats) {
    if (!callback(f, context)) break;
  }
  return kHostOk;
}

int HostEnumTextureFormats(int, HostFormatCallback callback, void* context) {
  if (!HostDisplayHasDevice3D()) return kHostError;
  for (const HostPixelFormat& f : Listing().textureFormats) {
    if (!callback(f, context)) break;
  }
  return kHostOk;
}
