#pragma once
// Stand-in for the display's drawing hardware, over OpenGL 3.3 core through
// SDL's GL context: a display object, surfaces of the display's memory and
// of system memory (lock, colour key, blits, fills, loss), and a 3D device
// that draws pre-transformed vertices under render states and texture-stage
// states. The shapes follow what the layer's screen device and 3D path
// call; the names and numbers are this program's own.
//
// Coordinates are pixels, y down. A surface of the display's memory lives
// in a GL texture (stored top row first); a surface of system memory in
// plain memory. The primary surface is the window: its coordinates are the
// desktop's in the windowed style (the window's client area shows the part
// of it under the window) and the layer's screen in full-screen style.

#include <cstdint>
#include <vector>

#include "runtime/host/window/Window.h"

// Results.
constexpr int kHostOk = 0;
constexpr int kHostError = -1;
constexpr int kHostSurfaceLost = -2;
constexpr int kHostUnsupported = -3;
constexpr int kHostInvalid = -4;

struct HostPixelFormat {
  uint32_t size;
  uint32_t flags;
  uint32_t fourCC;
  uint32_t bitCount;  // colour depth, or depth-buffer bits
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t alphaMask;
};
static_assert(sizeof(HostPixelFormat) == 32);

constexpr uint32_t kHostPixelAlpha = 0x1;
constexpr uint32_t kHostPixelAlphaOnly = 0x2;
constexpr uint32_t kHostPixelFourCC = 0x4;
constexpr uint32_t kHostPixelRgb = 0x40;
constexpr uint32_t kHostPixelZBuffer = 0x400;
constexpr uint32_t kHostPixelStencil = 0x4000;
constexpr uint32_t kHostPixelLuminance = 0x20000;
constexpr uint32_t kHostPixelBumpMap = 0x80000;

HostPixelFormat HostRgbFormat(int bits, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);

// ---------------------------------------------------------------- display

// Whether windows can get a GL context here (start-up asks before the
// window exists; SDL's dummy driver says no). A yes makes the next window a
// GL window.
bool HostHasHardwareDrawing();
// Test seam: the answer of HostHasHardwareDrawing whatever the driver (-1:
// ask the driver again).
void HostForceHardwareDrawing(int answer);

// The display object: made with a GL context when the window can have one
// and the drawing hardware is wanted, else without (it then gives only
// system-memory surfaces). kHostOk.
int HostDisplayObjectCreate(bool wantHardware);
// Releases the object; every surface of the display's memory left is lost.
void HostDisplayObjectRelease();
bool HostDisplayObjectExists();
// The object has a working GL 3.3 core context: the 3D device is there.
bool HostDisplayHasDevice3D();
// The pixel format of the display mode in force (the desktop's in the
// windowed style).
HostPixelFormat HostDisplayPixelFormat();
// The GL renderer's name, empty without a context.
const char* HostDisplayRendererName();

// --------------------------------------------------------------- surfaces

struct HostSurface;

constexpr uint32_t kHostSurfacePrimary = 0x1;
constexpr uint32_t kHostSurfaceOffscreen = 0x2;
constexpr uint32_t kHostSurfaceTexture = 0x4;
constexpr uint32_t kHostSurface3DDevice = 0x8;
constexpr uint32_t kHostSurfaceSystemMemory = 0x10;
constexpr uint32_t kHostSurfaceVideoMemory = 0x20;
constexpr uint32_t kHostSurfaceZBuffer = 0x40;
constexpr uint32_t kHostSurfaceFlip = 0x80;
constexpr uint32_t kHostSurfaceManaged = 0x100;

struct HostSurfaceDesc {
  int width = 0;   // ignored for the primary (the window's size)
  int height = 0;
  uint32_t caps = 0;
  bool hasFormat = false;  // else the display's
  HostPixelFormat format = {};
  int backBuffers = 0;     // primary with a flip chain: 1
};

// Null on failure, with the result in *result when given.
HostSurface* HostSurfaceCreate(const HostSurfaceDesc& desc, int* result);
void HostSurfaceRelease(HostSurface* surface);
// The flip chain's back buffer of a primary made with one.
HostSurface* HostSurfaceBackBuffer(HostSurface* primary);
// The depth surface the 3D device uses while drawing on this surface (null
// detaches).
int HostSurfaceAttachDepth(HostSurface* surface, HostSurface* depth);
uint32_t HostSurfaceCaps(const HostSurface* surface);
HostPixelFormat HostSurfaceFormat(const HostSurface* surface);
void HostSurfaceSize(const HostSurface* surface, int* width, int* height);

constexpr uint32_t kHostLockReadOnly = 0x1;
constexpr uint32_t kHostLockWriteOnly = 0x2;
// Locks a rectangle (null: all) and gives the address of its top-left pixel
// and the row pitch. One lock at a time per surface.
int HostSurfaceLock(HostSurface* surface, const HostRect* rect, uint32_t flags, uint8_t** pixels, int* pitch);
int HostSurfaceUnlock(HostSurface* surface);

constexpr uint32_t kHostBltSourceKey = 0x1;
// Copies a rectangle (null: all) into a rectangle (null: all), scaling by
// nearest; with the source key, pixels equal to the source's colour key are
// left out.
int HostSurfaceBlt(HostSurface* destination, const HostRect* destinationRect, HostSurface* source,
                   const HostRect* sourceRect, uint32_t flags);
int HostSurfaceBltFast(HostSurface* destination, int x, int y, HostSurface* source, const HostRect* sourceRect,
                       uint32_t flags);
// Fills with a pixel value of the surface's format.
int HostSurfaceColorFill(HostSurface* destination, const HostRect* rect, uint32_t value);
// Fills a depth surface (or the depth attached to a surface) with a depth
// value of its bits.
int HostSurfaceDepthFill(HostSurface* destination, const HostRect* rect, uint32_t value);
// The source colour key, a pixel value of the surface's format.
int HostSurfaceSetColorKey(HostSurface* surface, uint32_t key);
// kHostOk, or kHostSurfaceLost while its content is gone.
int HostSurfaceIsLost(const HostSurface* surface);
// Makes a lost surface usable again, its content undefined (cleared here).
int HostSurfaceRestore(HostSurface* surface);
// Shows the back buffer of the flip chain.
int HostSurfaceFlip(HostSurface* primary);

// Test seam: every surface of the display's memory is lost at once, as
// when another program took the display.
void HostSimulateSurfaceLoss();

// -------------------------------------------------------------- 3D device

enum HostDeviceKind : int32_t {
  kHostDeviceSoftware = 1,  // the emulation: never accepted by the layer
  kHostDeviceHal = 2,
  kHostDeviceTransformAndLighting = 3,
};

constexpr uint32_t kHostRenderDepth16 = 0x1;
constexpr uint32_t kHostRenderDepth32 = 0x2;

struct HostDeviceDesc {
  int32_t kind;
  uint32_t renderDepths;
  int32_t powerOfTwoOnly;
  int32_t squareOnly;
  int32_t minTextureWidth;
  int32_t minTextureHeight;
  int32_t maxTextureWidth;
  int32_t maxTextureHeight;
  int32_t maxBlendStages;
  int32_t maxSimultaneousTextures;
};

// Enumeration callbacks return 1 to go on, 0 to stop.
using HostDeviceCallback = int (*)(const HostDeviceDesc& desc, void* context);
using HostFormatCallback = int (*)(const HostPixelFormat& format, void* context);
// kHostError without the 3D device.
int HostEnumDevices3D(HostDeviceCallback callback, void* context);
int HostEnumDepthFormats(int deviceKind, HostFormatCallback callback, void* context);
int HostEnumTextureFormats(int deviceKind, HostFormatCallback callback, void* context);

// Test seam: what the enumerations list (null: the real lists).
struct HostDevice3DListing {
  std::vector<HostDeviceDesc> devices;
  std::vector<HostPixelFormat> textureFormats;
  std::vector<HostPixelFormat> depthFormats;
};
void HostSetDevice3DListing(const HostDevice3DListing* listing);

enum HostRenderState : int32_t {
  kRsZEnable,
  kRsZWriteEnable,
  kRsZFunc,
  kRsCullMode,
  kRsShadeMode,
  kRsFogEnable,
  kRsTexturePerspective,
  kRsColorKeyEnable,
  kRsColorKeyBlendEnable,
  kRsLighting,
  kRsDitherEnable,
  kRsAlphaTestEnable,
  kRsAlphaRef,
  kRsAlphaFunc,
  kRsAlphaBlendEnable,
  kRsDiffuseMaterialSource,
  kRsSpecularMaterialSource,
  kRsSpecularEnable,
  kRsTextureFactor,
  kRsSourceBlend,
  kRsDestinationBlend,
  kRsBlendOperation,
  kRsCount,
};

enum HostStageState : int32_t {
  kTssColorOp,
  kTssColorArg1,
  kTssColorArg2,
  kTssAlphaOp,
  kTssAlphaArg1,
  kTssAlphaArg2,
  kTssTexCoordIndex,
  kTssAddress,
  kTssMagFilter,
  kTssMinFilter,
  kTssMipFilter,
  kTssCount,
};

constexpr int kHostStageCount = 8;
constexpr int kHostTextureUnits = 4;

enum HostStageOp : uint32_t {
  kOpDisable = 1,
  kOpSelectArg1,
  kOpSelectArg2,
  kOpModulate,
  kOpModulate2x,
  kOpModulate4x,
  kOpAdd,
  kOpSubtract,
  kOpBlendDiffuseAlpha,
  kOpBlendTextureAlpha,
  kOpBlendFactorAlpha,
  kOpBlendCurrentAlpha,
};

// Stage arguments, with the complement flag.
constexpr uint32_t kArgDiffuse = 0;
constexpr uint32_t kArgCurrent = 1;
constexpr uint32_t kArgTexture = 2;
constexpr uint32_t kArgFactor = 3;
constexpr uint32_t kArgSpecular = 4;
constexpr uint32_t kArgComplement = 0x10;

enum HostBlendFactor : uint32_t {
  kBlendZero = 1,
  kBlendOne,
  kBlendSourceColor,
  kBlendInvSourceColor,
  kBlendSourceAlpha,
  kBlendInvSourceAlpha,
  kBlendDestinationAlpha,
  kBlendInvDestinationAlpha,
  kBlendDestinationColor,
  kBlendInvDestinationColor,
};

enum HostBlendOperation : uint32_t { kBlendOpAdd = 1, kBlendOpSubtract, kBlendOpReverseSubtract };

// Comparisons of the depth and alpha tests.
enum HostCompare : uint32_t {
  kCmpNever = 1,
  kCmpLess,
  kCmpEqual,
  kCmpLessEqual,
  kCmpGreater,
  kCmpNotEqual,
  kCmpGreaterEqual,
  kCmpAlways,
};

constexpr uint32_t kCullNone = 1;
constexpr uint32_t kCullClockwise = 2;
constexpr uint32_t kCullCounterClockwise = 3;
constexpr uint32_t kShadeFlat = 1;
constexpr uint32_t kShadeGouraud = 2;
constexpr uint32_t kFilterPoint = 1;
constexpr uint32_t kFilterLinear = 2;
constexpr uint32_t kAddressWrap = 1;
constexpr uint32_t kAddressMirror = 2;
constexpr uint32_t kAddressClamp = 3;
constexpr uint32_t kAddressBorder = 4;

enum HostPrimitive : int32_t {
  kPrimPointList = 1,
  kPrimLineList,
  kPrimLineStrip,
  kPrimTriangleList,
  kPrimTriangleStrip,
  kPrimTriangleFan,
};

// Vertex layouts: position x, y, z, reciprocal w (floats), then the parts
// the code names, in this order: diffuse and specular colours (0xAARRGGBB),
// one or two pairs of texture coordinates.
constexpr uint32_t kFvfPositionRhw = 0x4;
constexpr uint32_t kFvfDiffuse = 0x40;
constexpr uint32_t kFvfSpecular = 0x80;
constexpr uint32_t kFvfTexture1 = 0x100;
constexpr uint32_t kFvfTexture2 = 0x200;

struct HostViewport {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  float minZ;
  float maxZ;
};

struct HostDevice3D;

// Null when the 3D device is missing, the kind is not offered or the
// surface cannot be drawn on.
HostDevice3D* HostDevice3DCreate(int deviceKind, HostSurface* renderTarget);
void HostDevice3DRelease(HostDevice3D* device);
int HostDevice3DSetRenderState(HostDevice3D* device, HostRenderState state, uint32_t value);
int HostDevice3DSetStageState(HostDevice3D* device, int stage, HostStageState state, uint32_t value);
int HostDevice3DSetTexture(HostDevice3D* device, int stage, HostSurface* texture);
int HostDevice3DSetRenderTarget(HostDevice3D* device, HostSurface* surface);
// The viewport clips what is drawn; vertices stay in the target's pixels.
int HostDevice3DSetViewport(HostDevice3D* device, const HostViewport& viewport);
// Kept for completeness: pre-transformed vertices are not transformed.
int HostDevice3DSetTransform(HostDevice3D* device, int which, const float matrix[16]);
int HostDevice3DBeginScene(HostDevice3D* device);
int HostDevice3DEndScene(HostDevice3D* device);
int HostDevice3DDrawPrimitive(HostDevice3D* device, HostPrimitive primitive, uint32_t fvf, const void* vertices,
                              int vertexCount);
int HostDevice3DDrawIndexedPrimitive(HostDevice3D* device, HostPrimitive primitive, uint32_t fvf,
                                     const void* vertices, int vertexCount, const uint16_t* indices,
                                     int indexCount);
// Copies a rectangle of one texture into another at (x, y).
int HostDevice3DLoad(HostDevice3D* device, HostSurface* destination, int x, int y, HostSurface* source,
                     const HostRect* sourceRect);

// Test seam: the GL calls made so far, by kind.
struct HostGlCallCounts {
  uint64_t total;
  uint64_t draws;         // draw, clear and blit calls
  uint64_t primitives;    // of those, the draws of vertices
  uint64_t stateChanges;  // binds, enables, blend, depth, uniforms, scissor
  uint64_t uploads;       // vertex and texture data
  uint64_t readbacks;
};
HostGlCallCounts HostGlCounts();
void HostResetGlCounts();
