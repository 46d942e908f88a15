// The drawing hardware's stand-in on a real GL context (ctest runs this
// program under xvfb-run with Mesa's software rasteriser): surfaces keep
// what is written into them in every format, the 3D device draws
// pre-transformed quads pixel-exactly, blends as its factors say, sends
// nothing to GL that GL already holds, and surfaces of the display's
// memory are lost and restored.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "runtime/host/device3d/Device3D.h"
#include "runtime/host/window/Window.h"

namespace {

struct TexturedVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};

constexpr uint32_t kTexturedFvf = kFvfPositionRhw | kFvfDiffuse | kFvfTexture1;

class Device3DTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(HostVideoStart());
    ASSERT_TRUE(HostHasHardwareDrawing());
    ASSERT_NE(HostWindowCreate("Device3DTest", HostWindowStyle::Windowed, HostRect{0, 0, 640, 480}), 0u);
    ASSERT_EQ(HostDisplayObjectCreate(true), kHostOk);
    ASSERT_TRUE(HostDisplayHasDevice3D());
  }
  void TearDown() override {
    if (device) HostDevice3DRelease(device);
    for (HostSurface* s : surfaces) HostSurfaceRelease(s);
    HostDisplayObjectRelease();
    HostWindowDestroy();
    HostVideoStop();
  }

  HostSurface* Make(int width, int height, uint32_t caps, const HostPixelFormat* format = nullptr) {
    HostSurfaceDesc desc;
    desc.width = width;
    desc.height = height;
    desc.caps = caps;
    if (format) {
      desc.hasFormat = true;
      desc.format = *format;
    }
    HostSurface* s = HostSurfaceCreate(desc, nullptr);
    if (s) surfaces.push_back(s);
    return s;
  }

  // A 32-bit render target and a device drawing on it with the layer's
  // plain textured set-up: texture colour, texture alpha, point sampling.
  void MakeDevice(int width, int height) {
    target = Make(width, height, kHostSurfaceOffscreen | kHostSurface3DDevice);
    ASSERT_NE(target, nullptr);
    device = HostDevice3DCreate(kHostDeviceHal, target);
    ASSERT_NE(device, nullptr);
    HostDevice3DSetRenderState(device, kRsCullMode, kCullNone);
    HostDevice3DSetRenderState(device, kRsShadeMode, kShadeFlat);
    HostDevice3DSetStageState(device, 0, kTssColorOp, kOpSelectArg1);
    HostDevice3DSetStageState(device, 0, kTssColorArg1, kArgTexture);
    HostDevice3DSetStageState(device, 0, kTssAlphaOp, kOpSelectArg1);
    HostDevice3DSetStageState(device, 0, kTssAlphaArg1, kArgTexture);
    HostDevice3DSetStageState(device, 0, kTssAddress, kAddressClamp);
  }

  // A surface's pixel as stored.
  static uint32_t PixelOf(HostSurface* s, int x, int y) {
    uint8_t* p = nullptr;
    int pitch = 0;
    const HostRect r = {x, y, x + 1, y + 1};
    if (HostSurfaceLock(s, &r, kHostLockReadOnly, &p, &pitch) != kHostOk) return 0xDEADBEEF;
    uint32_t v = 0;
    std::memcpy(&v, p, HostSurfaceFormat(s).bitCount / 8);
    HostSurfaceUnlock(s);
    return v;
  }

  static void WritePattern(HostSurface* s, uint32_t (*pattern)(int x, int y)) {
    int width = 0;
    int height = 0;
    HostSurfaceSize(s, &width, &height);
    uint8_t* p = nullptr;
    int pitch = 0;
    ASSERT_EQ(HostSurfaceLock(s, nullptr, kHostLockWriteOnly, &p, &pitch), kHostOk);
    const int bytes = static_cast<int>(HostSurfaceFormat(s).bitCount / 8);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t v = pattern(x, y);
        std::memcpy(p + y * pitch + x * bytes, &v, static_cast<size_t>(bytes));
      }
    }
    ASSERT_EQ(HostSurfaceUnlock(s), kHostOk);
  }

  // Two triangles covering pixels (x, y) to (x + w, y + h) with the whole
  // texture, shifted by half a pixel as the layer draws.
  static void Quad(TexturedVertex* v, float x, float y, float w, float h, uint32_t colour) {
    const float l = x - 0.5f;
    const float t = y - 0.5f;
    const float r = x + w - 0.5f;
    const float b = y + h - 0.5f;
    v[0] = {l, t, 0.2f, 1.0f, colour, 0, 0};
    v[1] = {r, t, 0.2f, 1.0f, colour, 1, 0};
    v[2] = {l, b, 0.2f, 1.0f, colour, 0, 1};
    v[3] = {r, b, 0.2f, 1.0f, colour, 1, 1};
    v[4] = {l, b, 0.2f, 1.0f, colour, 0, 1};
    v[5] = {r, t, 0.2f, 1.0f, colour, 1, 0};
  }

  std::vector<HostSurface*> surfaces;
  HostSurface* target = nullptr;
  HostDevice3D* device = nullptr;
};

uint32_t Pattern(int x, int y) { return static_cast<uint32_t>(x * 0x010307 + y * 0x0B0503 + (x ^ y) * 0x1000000); }

TEST_F(Device3DTest, EveryTextureFormatKeepsWhatIsWritten) {
  struct Case {
    HostPixelFormat format;
    uint32_t mask;
  };
  const Case cases[] = {
      {HostRgbFormat(16, 0xF800, 0x07E0, 0x001F, 0), 0xFFFF},
      {HostRgbFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000), 0xFFFF},
      {HostRgbFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000), 0xFFFF},
      {HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u), 0xFFFFFFFF},
      {HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0), 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format.bitCount);
    HostSurface* texture = Make(37, 21, kHostSurfaceTexture, &c.format);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(HostSurfaceCaps(texture) & kHostSurfaceVideoMemory);
    WritePattern(texture, Pattern);
    // Through the GPU into system memory of the same format.
    HostSurface* copy = Make(37, 21, kHostSurfaceOffscreen | kHostSurfaceSystemMemory, &c.format);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(HostSurfaceBlt(copy, nullptr, texture, nullptr, 0), kHostOk);
    for (int y = 0; y < 21; y += 4) {
      for (int x = 0; x < 37; x += 3) EXPECT_EQ(PixelOf(copy, x, y), Pattern(x, y) & c.mask) << x << "," << y;
    }
  }
}

TEST_F(Device3DTest, FillsAndKeyedBlitsLandWhereTheySay) {
  const HostPixelFormat f = HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0);
  HostSurface* gpu = Make(16, 16, kHostSurfaceOffscreen | kHostSurface3DDevice, &f);
  HostSurface* sys = Make(4, 4, kHostSurfaceOffscreen | kHostSurfaceSystemMemory, &f);
  ASSERT_NE(gpu, nullptr);
  ASSERT_NE(sys, nullptr);
  ASSERT_EQ(HostSurfaceColorFill(gpu, nullptr, 0xFF102030), kHostOk);
  const HostRect r = {4, 5, 8, 9};
  ASSERT_EQ(HostSurfaceColorFill(gpu, &r, 0xFF405060), kHostOk);
  EXPECT_EQ(PixelOf(gpu, 3, 5), 0xFF102030u);
  EXPECT_EQ(PixelOf(gpu, 4, 5), 0xFF405060u);
  EXPECT_EQ(PixelOf(gpu, 7, 8), 0xFF405060u);
  EXPECT_EQ(PixelOf(gpu, 8, 8), 0xFF102030u);
  // Keyed: the key's pixels leave the destination as it was.
  ASSERT_EQ(HostSurfaceColorFill(sys, nullptr, 0x00FF00FF), kHostOk);
  const HostRect centre = {1, 1, 3, 3};
  ASSERT_EQ(HostSurfaceColorFill(sys, &centre, 0x00ABCDEF), kHostOk);
  HostSurfaceSetColorKey(sys, 0x00FF00FF);
  ASSERT_EQ(HostSurfaceBltFast(gpu, 10, 10, sys, nullptr, kHostBltSourceKey), kHostOk);
  EXPECT_EQ(PixelOf(gpu, 10, 10) & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(PixelOf(gpu, 11, 11) & 0xFFFFFF, 0xABCDEFu);
  // Unkeyed, the same copy writes every pixel.
  ASSERT_EQ(HostSurfaceBltFast(gpu, 10, 10, sys, nullptr, 0), kHostOk);
  EXPECT_EQ(PixelOf(gpu, 10, 10) & 0xFFFFFF, 0xFF00FFu);
}

uint32_t Checker(int x, int y) { return ((x + y) & 1) ? 0xFFFF0000u : static_cast<uint32_t>(0xFF000000u | (x << 8) | y); }

TEST_F(Device3DTest, APointSampledQuadPutsEachTexelOnOnePixel) {
  MakeDevice(64, 64);
  const HostPixelFormat argb = HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
  HostSurface* texture = Make(32, 32, kHostSurfaceTexture, &argb);
  ASSERT_NE(texture, nullptr);
  WritePattern(texture, Checker);
  HostDevice3DSetTexture(device, 0, texture);
  HostDevice3DSetViewport(device, HostViewport{0, 0, 64, 64, 0.0f, 1.0f});
  TexturedVertex v[6];
  Quad(v, 7, 9, 32, 32, 0xFFFFFFFF);
  ASSERT_EQ(HostDevice3DBeginScene(device), kHostOk);
  ASSERT_EQ(HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6), kHostOk);
  ASSERT_EQ(HostDevice3DEndScene(device), kHostOk);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool inside = x >= 7 && x < 39 && y >= 9 && y < 41;
      const uint32_t want = inside ? Checker(x - 7, y - 9) & 0xFFFFFF : 0;
      ASSERT_EQ(PixelOf(target, x, y) & 0xFFFFFF, want) << x << "," << y;
    }
  }
}

TEST_F(Device3DTest, TheViewportClipsWhatIsDrawn) {
  MakeDevice(32, 32);
  HostDevice3DSetStageState(device, 0, kTssColorArg1, kArgDiffuse);
  HostDevice3DSetStageState(device, 0, kTssAlphaArg1, kArgDiffuse);
  HostDevice3DSetViewport(device, HostViewport{8, 4, 10, 6, 0.0f, 1.0f});
  TexturedVertex v[6];
  Quad(v, 0, 0, 32, 32, 0xFF00FF00);
  HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6);
  EXPECT_EQ(PixelOf(target, 7, 4) & 0xFFFFFF, 0u);
  EXPECT_EQ(PixelOf(target, 8, 4) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(PixelOf(target, 17, 9) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(PixelOf(target, 18, 9) & 0xFFFFFF, 0u);
  EXPECT_EQ(PixelOf(target, 17, 10) & 0xFFFFFF, 0u);
}

TEST_F(Device3DTest, BlendFactorsAndEquationsGiveTheirArithmetic) {
  MakeDevice(8, 8);
  // The drawn colour is the vertex colour: source (s, a), target t.
  HostDevice3DSetStageState(device, 0, kTssColorArg1, kArgDiffuse);
  HostDevice3DSetStageState(device, 0, kTssAlphaArg1, kArgDiffuse);
  HostDevice3DSetRenderState(device, kRsAlphaBlendEnable, 1);
  struct Case {
    uint32_t source, destination, operation;
    int (*expect)(int s, int a, int t);
  };
  const Case cases[] = {
      {kBlendSourceAlpha, kBlendInvSourceAlpha, kBlendOpAdd, [](int s, int a, int t) { return (s * a + t * (255 - a)) / 255; }},
      {kBlendSourceAlpha, kBlendOne, kBlendOpAdd, [](int s, int a, int t) { return std::min(255, s * a / 255 + t); }},
      {kBlendZero, kBlendSourceColor, kBlendOpAdd, [](int s, int, int t) { return s * t / 255; }},
      {kBlendInvDestinationColor, kBlendZero, kBlendOpAdd, [](int s, int, int t) { return s * (255 - t) / 255; }},
      {kBlendSourceAlpha, kBlendOne, kBlendOpReverseSubtract, [](int s, int a, int t) { return std::max(0, t - s * a / 255); }},
  };
  const int s = 200;
  const int a = 100;
  const int t = 90;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source * 100 + c.destination * 10 + c.operation);
    HostSurfaceColorFill(target, nullptr, 0xFF000000u | static_cast<uint32_t>(t) * 0x010101u);
    HostDevice3DSetRenderState(device, kRsSourceBlend, c.source);
    HostDevice3DSetRenderState(device, kRsDestinationBlend, c.destination);
    HostDevice3DSetRenderState(device, kRsBlendOperation, c.operation);
    TexturedVertex v[6];
    Quad(v, 0, 0, 8, 8, static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(s) * 0x010101u);
    ASSERT_EQ(HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6), kHostOk);
    const int got = static_cast<int>(PixelOf(target, 3, 3) & 0xFF);
    EXPECT_NEAR(got, c.expect(s, a, t), 1);
  }
}

TEST_F(Device3DTest, ColourKeyAndAlphaTestLeavePixelsOut) {
  MakeDevice(8, 8);
  const HostPixelFormat rgb = HostRgbFormat(16, 0xF800, 0x07E0, 0x001F, 0);
  HostSurface* texture = Make(2, 1, kHostSurfaceTexture, &rgb);
  ASSERT_NE(texture, nullptr);
  WritePattern(texture, [](int x, int) -> uint32_t { return x == 0 ? 0xF81F : 0x07E0; });
  HostSurfaceSetColorKey(texture, 0xF81F);
  HostDevice3DSetTexture(device, 0, texture);
  HostDevice3DSetRenderState(device, kRsColorKeyEnable, 1);
  TexturedVertex v[6];
  Quad(v, 0, 0, 8, 8, 0xFFFFFFFF);
  HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6);
  EXPECT_EQ(PixelOf(target, 1, 1) & 0xFFFFFF, 0u);
  EXPECT_EQ(PixelOf(target, 6, 1) & 0xFFFFFF, 0x00FF00u);
  // Alpha below the reference fails the test.
  HostDevice3DSetRenderState(device, kRsColorKeyEnable, 0);
  HostDevice3DSetStageState(device, 0, kTssAlphaArg1, kArgDiffuse);
  HostDevice3DSetRenderState(device, kRsAlphaTestEnable, 1);
  HostDevice3DSetRenderState(device, kRsAlphaFunc, kCmpGreater);
  HostDevice3DSetRenderState(device, kRsAlphaRef, 16);
  Quad(v, 0, 0, 8, 8, 0x10FFFFFF);
  HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6);
  EXPECT_EQ(PixelOf(target, 1, 1) & 0xFFFFFF, 0u);
  Quad(v, 0, 0, 8, 8, 0x11FFFFFF);
  HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6);
  EXPECT_EQ(PixelOf(target, 1, 1) & 0xFFFFFF, 0xFF00FFu);
}

TEST_F(Device3DTest, ARepeatedDrawSendsOnlyItsVerticesAndTheDraw) {
  MakeDevice(64, 64);
  const HostPixelFormat argb = HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
  HostSurface* texture = Make(32, 32, kHostSurfaceTexture, &argb);
  WritePattern(texture, Checker);
  HostDevice3DSetTexture(device, 0, texture);
  HostDevice3DSetRenderState(device, kRsAlphaBlendEnable, 1);
  HostDevice3DSetRenderState(device, kRsSourceBlend, kBlendSourceAlpha);
  HostDevice3DSetRenderState(device, kRsDestinationBlend, kBlendInvSourceAlpha);
  TexturedVertex v[6];
  Quad(v, 3, 3, 32, 32, 0x80FFFFFF);
  ASSERT_EQ(HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6), kHostOk);
  HostResetGlCounts();
  // Setting a state to the value it holds changes nothing either.
  HostDevice3DSetRenderState(device, kRsSourceBlend, kBlendSourceAlpha);
  ASSERT_EQ(HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6), kHostOk);
  const HostGlCallCounts counts = HostGlCounts();
  EXPECT_EQ(counts.total, 2u);
  EXPECT_EQ(counts.draws, 1u);
  EXPECT_EQ(counts.uploads, 1u);
  EXPECT_EQ(counts.stateChanges, 0u);
  // One changed state costs its own calls only.
  HostResetGlCounts();
  HostDevice3DSetRenderState(device, kRsDestinationBlend, kBlendOne);
  HostDevice3DDrawPrimitive(device, kPrimTriangleList, kTexturedFvf, v, 6);
  EXPECT_EQ(HostGlCounts().stateChanges, 1u);
}

TEST_F(Device3DTest, ALossTakesTheDisplaysMemoryAndARestoreGivesItBackEmpty) {
  const HostPixelFormat f = HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0);
  HostSurface* gpu = Make(8, 8, kHostSurfaceTexture, &f);
  HostSurface* sys = Make(8, 8, kHostSurfaceOffscreen | kHostSurfaceSystemMemory, &f);
  HostSurfaceColorFill(gpu, nullptr, 0x123456);
  HostSurfaceColorFill(sys, nullptr, 0x654321);
  HostSimulateSurfaceLoss();
  EXPECT_EQ(HostSurfaceIsLost(gpu), kHostSurfaceLost);
  EXPECT_EQ(HostSurfaceIsLost(sys), kHostOk);
  uint8_t* p = nullptr;
  int pitch = 0;
  EXPECT_EQ(HostSurfaceLock(gpu, nullptr, 0, &p, &pitch), kHostSurfaceLost);
  EXPECT_EQ(HostSurfaceBltFast(sys, 0, 0, gpu, nullptr, 0), kHostSurfaceLost);
  ASSERT_EQ(HostSurfaceRestore(gpu), kHostOk);
  EXPECT_EQ(HostSurfaceIsLost(gpu), kHostOk);
  EXPECT_EQ(PixelOf(gpu, 3, 3) & 0xFFFFFF, 0u);
  EXPECT_EQ(PixelOf(sys, 3, 3), 0x654321u);
}

}  // namespace
