// The 3D path's device on a real GL context: which device and formats a
// start takes from what the driver lists, tiling at 64 tiles and past it,
// the state cache and the batches as GL calls, a lost display that comes
// back with every graphic, and the draw targets, captures and blend
// graphics.

#include <cstring>

#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "tests/runtime/graphics/device3d/Layer3DFixture.h"
#include "runtime/graphics/graphic/GraphicFromImage.h"
#include "tests/support/ImageLibraryFixtures.h"

namespace {

uint32_t PatternColour(int x, int y, int seed) {
  return static_cast<uint32_t>(((x * 7 + seed) & 0xFF) << 16 | ((y * 5 + seed) & 0xFF) << 8 | ((x + y * 3 + seed) & 0xFF));
}

GraphImage PatternImage(int width, int height, int seed) {
  GraphImage image = {};
  CreateXrgbGraphImage(width, height, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = PatternColour(x, y, seed);
      SetGraphImagePixel(&image, x, y, c >> 16, (c >> 8) & 0xFF, c & 0xFF, 255);
    }
  }
  return image;
}

int PatternGraphic(int width, int height, int seed) {
  GraphImage image = PatternImage(width, height, seed);
  const int graphic = MakeGraphicFromGraphImage(&image);
  FreeGraphImage(&image);
  return graphic;
}

// The pixels of the window that differ from the pattern drawn at (x, y),
// inside the part (x, y, x + width, y + height) that the window shows.
int PatternMismatches(const std::vector<uint32_t>& shown, int x, int y, int width, int height, int seed) {
  int wrong = 0;
  for (int py = std::max(y, 0); py < std::min(y + height, 480); ++py) {
    for (int px = std::max(x, 0); px < std::min(x + width, 640); ++px) {
      wrong += shown[static_cast<size_t>(py) * 640 + px] != PatternColour(px - x, py - y, seed);
    }
  }
  return wrong;
}

HostDeviceDesc Device(int kind) {
  HostDeviceDesc d = {};
  d.kind = kind;
  d.renderDepths = kHostRenderDepth16 | kHostRenderDepth32;
  d.powerOfTwoOnly = 1;
  d.minTextureWidth = 1;
  d.minTextureHeight = 1;
  d.maxTextureWidth = 2048;
  d.maxTextureHeight = 2048;
  d.maxBlendStages = 8;
  d.maxSimultaneousTextures = 4;
  return d;
}

HostDevice3DListing FullListing() {
  HostDevice3DListing l;
  l.devices = {Device(kHostDeviceHal), Device(kHostDeviceTransformAndLighting)};
  l.textureFormats = {HostRgbFormat(16, 0xF800, 0x07E0, 0x001F, 0), HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0),
                      HostRgbFormat(16, 0x7C00, 0x03E0, 0x001F, 0x8000),
                      HostRgbFormat(16, 0x0F00, 0x00F0, 0x000F, 0xF000),
                      HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u)};
  l.depthFormats = {HostPixelFormat{sizeof(HostPixelFormat), kHostPixelZBuffer, 0, 16, 0, 0, 0, 0}};
  return l;
}

class DeviceStartTest : public Layer3DFixture {
 protected:
  bool StartsAtOnce() const override { return false; }
};

struct ListingCase {
  const char* what;
  void (*change)(HostDevice3DListing& l);
  bool threeD;
  const char* logged;
};

TEST_F(DeviceStartTest, TheStartTakesTheDeviceAndFormatsTheDriverLists) {
  const ListingCase cases[] = {
      {"as listed", [](HostDevice3DListing&) {}, true, "ハードウエアＴ＆Ｌデバイスを発見しました"},
      {"HAL only",
       [](HostDevice3DListing& l) { l.devices = {Device(kHostDeviceHal)}; }, true, "ＨＡＬデバイスを発見しました"},
      {"no depth format", [](HostDevice3DListing& l) { l.depthFormats.clear(); }, true,
       "使用可能なＺバッファが見つかりませんでした"},
      {"only a 32-bit plain format",
       [](HostDevice3DListing& l) { l.textureFormats = {HostRgbFormat(32, 0xFF0000, 0xFF00, 0xFF, 0)}; }, false,
       "使用可能なテクスチャフォーマットが見つかりませんでした"},
      {"no device draws 32 bits",
       [](HostDevice3DListing& l) {
         for (HostDeviceDesc& d : l.devices) d.renderDepths = kHostRenderDepth16;
       },
       false, "現在の画面モードで使用できる描画デバイスが見つかりませんでした"},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.what);
    HostDevice3DListing listing = FullListing();
    c.change(listing);
    HostSetDevice3DListing(&listing);
    Start();
    EXPECT_EQ(HasDevice3D() != 0, c.threeD);
    EXPECT_TRUE(Logged(c.logged));
    if (c.threeD) {
      EXPECT_TRUE(Logged("３Ｄグラフィック描画機能を使用します"));
    } else {
      // The fallback: software mode, and the game goes on.
      EXPECT_TRUE(Logged("ソフトウエアレンダリングモードに変更します"));
      EXPECT_EQ(IsSoftwareScreens(), 1);
    }
    Stop();
  }
}

TEST_F(DeviceStartTest, AT_And_LDeviceIsKeptOverAHalListedAfterIt) {
  struct Order {
    std::vector<int> kinds;
    int tnl;
  };
  const Order orders[] = {{{kHostDeviceTransformAndLighting, kHostDeviceHal}, 1},
                          {{kHostDeviceHal, kHostDeviceTransformAndLighting}, 1},
                          {{kHostDeviceSoftware, kHostDeviceHal}, 0}};
  for (const Order& o : orders) {
    HostDevice3DListing listing = FullListing();
    listing.devices.clear();
    for (int kind : o.kinds) listing.devices.push_back(Device(kind));
    // A driver that tells no texture sizes gets 32 to 256.
    listing.devices.back().maxTextureWidth = 0;
    listing.devices.back().minTextureHeight = 0;
    HostSetDevice3DListing(&listing);
    Start();
    EXPECT_EQ(gD3D.hardwareTnl, o.tnl);
    if (gD3D.description.maxTextureWidth == 0) {
      EXPECT_EQ(gD3D.maxTextureSize, 256);
    }
    if (gD3D.description.minTextureHeight == 0) {
      EXPECT_EQ(gD3D.minTextureSize, 32);
    }
    Stop();
  }
}

TEST_F(DeviceStartTest, ATextureGraphicIsCutIntoAtMost64Tiles) {
  // Textures of at most 32 pixels: a 256 x 256 graphic takes 8 x 8 tiles.
  HostDevice3DListing listing = FullListing();
  for (HostDeviceDesc& d : listing.devices) d.maxTextureWidth = d.maxTextureHeight = 32;
  HostSetDevice3DListing(&listing);
  Start();
  SetDrawTarget(kBackScreen);
  const int graphic = PatternGraphic(256, 256, 5);
  ASSERT_GE(graphic, 0);
  EXPECT_EQ(GetGraphicRecord(graphic)->partCount, 64);
  ASSERT_EQ(DrawGraphicAt(100, 100, graphic, 0), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 100, 100, 256, 256, 5), 0);
  EXPECT_EQ(PatternGraphic(288, 256, 5), -1);
  EXPECT_TRUE(Logged("エラー：画像の分割数が最大数の 64 を超えました"));
}

TEST_F(DeviceStartTest, ASquareOnlyDeviceRefusesASplitPast64Tiles) {
  // 64 x 32 tiles become two 32 x 32 squares each: 32 columns make 64
  // squares, 33 columns 66, more than a graphic holds.
  HostDevice3DListing listing = FullListing();
  for (HostDeviceDesc& d : listing.devices) {
    d.maxTextureWidth = d.maxTextureHeight = 64;
    d.squareOnly = 1;
  }
  HostSetDevice3DListing(&listing);
  Start();
  SetDrawTarget(kBackScreen);
  const int graphic = PatternGraphic(2048, 32, 7);
  ASSERT_GE(graphic, 0);
  const GraphicEntry* g = GetGraphicRecord(graphic);
  ASSERT_EQ(g->partCount, 64);
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(g->parts[i]);
    EXPECT_EQ(tile->width, 32);
    EXPECT_EQ(tile->height, 32);
  }
  ASSERT_EQ(DrawGraphicAt(0, 300, graphic, 0), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 0, 300, 2048, 32, 7), 0);
  const int graphics = GetGraphicCount();
  EXPECT_EQ(PatternGraphic(2112, 32, 7), -1);
  EXPECT_EQ(GetGraphicCount(), graphics);
  EXPECT_TRUE(Logged("エラー：画像の分割数が最大数の 64 を超えました"));
}

TEST_F(DeviceStartTest, SoftwareModeAskedForAfterTheStartTakesOverTheWindow) {
  // The player's crash recovery: started with the hardware, then switched.
  Start();
  ASSERT_TRUE(HasDevice3D());
  ASSERT_EQ(EnableHardwareDrawing(0), 0);
  EXPECT_EQ(IsSoftwareScreens(), 1);
  EXPECT_FALSE(HostDisplayHasDevice3D());
  SetDrawTarget(kBackScreen);
  const int graphic = PatternGraphic(64, 48, 16);
  ASSERT_GE(graphic, 0);
  EXPECT_EQ(GetGraphicRecord(graphic)->format.texture, 0);
  ASSERT_EQ(DrawGraphicAt(40, 30, graphic, 0), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 40, 30, 64, 48, 16), 0);
}

class DeviceTest : public Layer3DFixture {
 protected:
  void SetUp() override {
    Layer3DFixture::SetUp();
    SetDrawTarget(kBackScreen);
    ClearDrawTarget();
  }
};

TEST_F(DeviceTest, AFullScreenGraphicTakesTwoTilesOfTheScreensTextureSizes) {
  const int graphic = PatternGraphic(640, 480, 1);
  const GraphicEntry* g = GetGraphicRecord(graphic);
  ASSERT_EQ(g->partCount, 2);
  const Surface3DData* first = GetSurface3DData(g->parts[0]);
  const Surface3DData* second = GetSurface3DData(g->parts[1]);
  EXPECT_EQ(GetImageRecord(first->imageRecord)->width, 512);
  EXPECT_EQ(GetImageRecord(first->imageRecord)->height, 512);
  EXPECT_EQ(GetImageRecord(second->imageRecord)->width, 128);
  EXPECT_EQ(second->x, 512);
  ASSERT_EQ(DrawGraphicAt(0, 0, graphic, 0), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 0, 0, 640, 480, 1), 0);
}

TEST_F(DeviceTest, OneTextureDrawsAsOneBatchAndAStateSetTwiceSendsNothing) {
  const int graphic = PatternGraphic(16, 16, 2);
  const int other = PatternGraphic(16, 16, 3);
  for (int i = 0; i < 300; ++i) DrawGraphicAt((i * 16) % 640, (i / 40) * 16, graphic, 0);
  FlushVertexBatch();
  // The same frame again: its vertices and one draw, no state at all.
  HostResetGlCounts();
  for (int i = 0; i < 300; ++i) DrawGraphicAt((i * 16) % 640, (i / 40) * 16, graphic, 0);
  SetBlendMode(0, 0);
  SetDrawFilter(0);
  FlushVertexBatch();
  HostGlCallCounts counts = HostGlCounts();
  EXPECT_EQ(counts.draws, 1u);
  EXPECT_EQ(counts.uploads, 1u);
  EXPECT_EQ(counts.stateChanges, 0u);
  // Each change of texture draws what is queued: one draw per texture run.
  HostResetGlCounts();
  for (int i = 0; i < 10; ++i) DrawGraphicAt(i * 16, 300, i % 2 ? other : graphic, 0);
  FlushVertexBatch();
  EXPECT_EQ(HostGlCounts().draws, 10u);
  // The filter: the same mode twice sends nothing the second time; a mode
  // that is neither point nor linear is refused.
  EXPECT_EQ(SetDrawFilter3D(1), 0);
  HostResetGlCounts();
  EXPECT_EQ(SetDrawFilter3D(1), 0);
  EXPECT_EQ(HostGlCounts().total, 0u);
  EXPECT_EQ(SetDrawFilter3D(2), -1);
}

TEST_F(DeviceTest, BlendModesWithoutARowDrawNothing) {
  const int graphic = PatternGraphic(32, 32, 4);
  for (int mode : {12, 40, -1}) {
    SetBlendMode(mode, 255);
    EXPECT_EQ(DrawGraphicAt(50, 50, graphic, 0), 0);
    EXPECT_EQ(DrawRectangle(100, 50, 140, 90, PackColor(255, 255, 255), 1), 0);
  }
  SetBlendMode(0, 0);
  const std::vector<uint32_t> shown = Shown();
  for (uint32_t p : shown) ASSERT_EQ(p, 0u);
}

TEST_F(DeviceTest, AGraphicDeletedWhileItsVerticesWaitIsDrawnFirst) {
  const int graphic = PatternGraphic(40, 30, 6);
  ASSERT_EQ(DrawGraphicAt(20, 20, graphic, 0), 0);
  ASSERT_EQ(DeleteGraphic(graphic), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 20, 20, 40, 30, 6), 0);
}

TEST_F(DeviceTest, TheFrontScreenShowsADrawAtOnce) {
  ASSERT_EQ(SetDrawTarget(kFrontScreen), 0);
  const int graphic = PatternGraphic(48, 40, 8);
  ASSERT_EQ(DrawGraphicAt(200, 150, graphic, 0), 0);
  for (int i = 0; i < 3; ++i) PumpMessages();
  EXPECT_EQ(PatternMismatches(X11WindowPixels(640, 480), 200, 150, 48, 40, 8), 0);
}

TEST_F(DeviceTest, ACaptureIntoATextureGraphicCopiesTheTargetAndRemembersItsMethodByKind) {
  const int source = PatternGraphic(64, 48, 9);
  ASSERT_EQ(DrawGraphicAt(10, 10, source, 0), 0);
  // Graphics with the alpha test (the default) and without remember their
  // methods apart.
  SetCreateAlphaTest(0);
  const int plain = CreateBlankGraphic(64, 48, 0);
  SetCreateAlphaTest(1);
  const int tested = CreateBlankGraphic(64, 48, 0);
  ASSERT_GE(plain, 0);
  ASSERT_EQ(CaptureScreenToGraphic(10, 10, 74, 58, plain), 0);
  EXPECT_EQ(gD3D.grabMethod[0], 0);
  EXPECT_EQ(gD3D.grabMethod[1], -1);
  ASSERT_EQ(CaptureScreenToGraphic(10, 10, 74, 58, tested), 0);
  EXPECT_EQ(gD3D.grabMethod[1], 0);
  // Larger than the graphic: refused before any copy.
  EXPECT_EQ(CaptureScreenToGraphic(0, 0, 65, 48, plain), -1);
  ASSERT_EQ(DrawGraphicAt(300, 200, plain, 0), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 300, 200, 64, 48, 9), 0);
}

TEST_F(DeviceTest, AScreenSaveReadsTheBackSurface) {
  const int graphic = PatternGraphic(64, 48, 10);
  ASSERT_EQ(DrawGraphicAt(30, 40, graphic, 0), 0);
  ASSERT_EQ(SaveScreenImage(30, 40, 94, 88, "shot.png", 0), 0);
  GraphImage saved = {};
  ASSERT_EQ(LoadImageFile("shot.png", nullptr, 0, 0, 0, &saved), 0);
  ASSERT_EQ(saved.width, 64);
  ASSERT_EQ(saved.height, 48);
  int wrong = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) wrong += (GetGraphImagePixelPacked(saved, x, y) & 0xFFFFFF) != PatternColour(x, y, 10);
  }
  EXPECT_EQ(wrong, 0);
  FreeGraphImage(&saved);
}

TEST_F(DeviceTest, ABlendGraphicGivesAHardEdgeAtItsBorderAndNothingAt255) {
  // The blend graphic: grey rising 4 a column.
  GraphImage ramp = {};
  CreateXrgbGraphImage(64, 64, &ramp);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) SetGraphImagePixel(&ramp, x, y, x * 4, x * 4, x * 4, 255);
  }
  gDrawState.createBlendGraphicImage = 1;
  const int blend = MakeGraphicFromGraphImage(&ramp);
  gDrawState.createBlendGraphicImage = 0;
  FreeGraphImage(&ramp);
  ASSERT_GE(blend, 0);
  const int graphic = PatternGraphic(64, 64, 11);
  ASSERT_EQ(DrawBlendGraph(100, 100, graphic, 0, blend, 128, 0), 0);
  ASSERT_EQ(DrawBlendGraph(300, 100, graphic, 0, blend, 255, 64), 0);
  const std::vector<uint32_t> shown = Shown();
  // Columns whose grey reaches 128 are drawn as they are, the others not.
  int wrong = 0;
  for (int y = 100; y < 164; ++y) {
    for (int x = 100; x < 164; ++x) {
      const uint32_t want = (x - 100) * 4 >= 128 ? PatternColour(x - 100, y - 100, 11) : 0;
      wrong += shown[static_cast<size_t>(y) * 640 + x] != want;
    }
  }
  EXPECT_EQ(wrong, 0);
  for (int y = 100; y < 164; ++y) {
    for (int x = 300; x < 364; ++x) ASSERT_EQ(shown[static_cast<size_t>(y) * 640 + x], 0u) << x << "," << y;
  }
}

// The scene of the loss test: two graphics from files (one with an alpha
// channel), a graphic derived from one, and a line of text.
void DrawLossScene(int plain, int alpha, int derived, int font) {
  SetDrawTarget(kBackScreen);
  ClearDrawTarget();
  DrawGraphicAt(10, 10, plain, 0);
  DrawGraphicAt(200, 10, alpha, 1);
  DrawGraphicAt(400, 10, derived, 0);
  DrawTextLineWithFont(10, 300, "文字 Text", PackColor(255, 255, 255), font, PackColor(0, 0, 255), 0);
}

std::string PngOf(int width, int height, int seed, bool withAlpha) {
  PngFixtureFields png;
  png.width = static_cast<uint32_t>(width);
  png.height = static_cast<uint32_t>(height);
  png.colourType = withAlpha ? 6 : 2;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = PatternColour(x, y, seed);
      png.rows += static_cast<char>(c >> 16);
      png.rows += static_cast<char>(c >> 8);
      png.rows += static_cast<char>(c);
      if (withAlpha) png.rows += static_cast<char>(x * 255 / (width - 1));
    }
  }
  return EncodePngFixture(png);
}

TEST_F(DeviceTest, ALostDisplayComesBackWithEveryGraphicFromItsFile) {
  dir.Write("plain.png", PngOf(120, 90, 12, false));
  dir.Write("alpha.png", PngOf(100, 80, 13, true));
  const int plain = LoadGraphicFile("plain.png", 0);
  const int alpha = LoadGraphicFile("alpha.png", 0);
  const int derived = DeriveGraphic(20, 10, 60, 50, plain);
  const int font = CreateFontToHandle("ＭＳ ゴシック", 24, 6, 3, -1, 2, 0, -1, -1);
  ASSERT_GE(plain, 0);
  ASSERT_GE(alpha, 0);
  ASSERT_GE(derived, 0);
  ASSERT_GE(font, 0);
  DrawLossScene(plain, alpha, derived, font);
  const std::vector<uint32_t> before = Shown();
  // The display's memory goes; the window procedure rebuilds the graphics
  // when the window comes back.
  HostSimulateSurfaceLoss();
  ASSERT_EQ(ReinitGraphics(), 0);
  ASSERT_TRUE(HasDevice3D());
  ASSERT_TRUE(GetGraphicRecord(plain) && GetGraphicRecord(alpha) && GetGraphicRecord(derived));
  ASSERT_EQ(IsFontHandleValid(font), 1);
  DrawLossScene(plain, alpha, derived, font);
  const std::vector<uint32_t> after = Shown();
  ASSERT_EQ(before.size(), after.size());
  int differ = 0;
  for (size_t i = 0; i < before.size(); ++i) differ += before[i] != after[i];
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(PatternMismatches(after, 10, 10, 120, 90, 12), 0);
}

TEST_F(DeviceTest, AnUploadIntoALostTextureMakesItAgainFirst) {
  const int graphic = PatternGraphic(32, 32, 14);
  HostSimulateSurfaceLoss();
  GraphImage image = PatternImage(32, 32, 15);
  EXPECT_EQ(TransferImageToGraphic(image, nullptr, nullptr, 0, 0, graphic, 0), 0);
  FreeGraphImage(&image);
  // The window procedure's check on activation brings the screens back.
  RestoreAndCheckSurfaces2D();
  CheckLostSurfaces3D();
  SetDrawTarget(kBackScreen);
  ASSERT_EQ(DrawGraphicAt(50, 50, graphic, 0), 0);
  EXPECT_EQ(PatternMismatches(Shown(), 50, 50, 32, 32, 15), 0);
}

}  // namespace
