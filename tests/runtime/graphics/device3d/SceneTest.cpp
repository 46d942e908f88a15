// The software path's scenes drawn through the 3D path and read back from
// the window: each step is drawn by the layer (on the GPU) and by the
// software renderer into a memory image with the same draw state, and the
// window must show what the memory image holds, within the tolerance each
// step states.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

#include "runtime/graphics/format/PixelCodec.h"
#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/graphics/fonts/RenderString.h"
#include "runtime/graphics/graphic/SoftDrawFamilies.h"
#include "runtime/softrender/MemImgTransfer.h"
#include "runtime/softrender/SoftDraw.h"
#include "tests/runtime/graphics/device3d/Layer3DFixture.h"

namespace {

// A picture whose every pixel differs from its neighbours; pixels of the
// transparent colour (black here) make a few holes.
GraphImage Pattern(int width, int height, int seed) {
  GraphImage image = {};
  CreateXrgbGraphImage(width, height, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((x + y * 3) % 17 == 0) {
        SetGraphImagePixel(&image, x, y, 0, 0, 0, 255);
      } else {
        SetGraphImagePixel(&image, x, y, (x * 3 + seed) & 0xFF, (y * 5 + seed * 7) & 0xFF, (x * y + seed) & 0xFF, 255);
      }
    }
  }
  return image;
}

class SceneTest : public Layer3DFixture {
 protected:
  void SetUp() override {
    Layer3DFixture::SetUp();
    SetDrawTarget(kBackScreen);
    ClearDrawTarget();
    ASSERT_EQ(CreateScreenMemImg(&expected, 640, 480, MemImgXrgb8888), 0);
    FillMemImg(&expected, nullptr, 0);
  }
  void TearDown() override {
    for (int g : graphics) DeleteGraphic(g);
    for (MemImg& m : sources) ReleaseMemImg(&m);
    ReleaseMemImg(&expected);
    Layer3DFixture::TearDown();
  }

  // The graphic of an image, for the layer, and its memory image, for the
  // software renderer.
  int Graphic(const GraphImage& image, const MemImg** source) {
    const int graphic = MakeGraphicFromGraphImage(const_cast<GraphImage*>(&image));
    graphics.push_back(graphic);
    sources.emplace_back();
    MemImg& m = sources.back();
    // Keyed as the layer keys its graphics: the transparent colour packed
    // with the bits no channel uses.
    const uint32_t key = EncodePixel(*GetMemImgColorFormat(MemImgXrgb8888, 0, 0), 0, 0, 0, 255);
    CreateMemImg(&m, image.width, image.height, -1, key, MemImgXrgb8888, 0, 0, nullptr);
    TransferGraphImageToMemImg(image, nullptr, &m, 0, 0, image.width, image.height, 0, 0, 0);
    *source = &m;
    return graphic;
  }

  // The largest difference of one channel between the window and the
  // expected image inside a rectangle, and how many pixels differ at all.
  struct Difference {
    int largest = 0;
    int pixels = 0;
  };
  Difference Compare(const std::vector<uint32_t>& shown, const IntRect& r) const {
    Difference d;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const uint32_t want =
            LoadPixelBytes(expected.pixels + static_cast<size_t>(y) * expected.store->pitch + x * 4, 4) & 0xFFFFFF;
        const uint32_t got = shown[static_cast<size_t>(y) * 640 + x];
        int worst = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          worst = std::max(worst, std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF)));
        }
        d.largest = std::max(d.largest, worst);
        d.pixels += worst != 0;
      }
    }
    return d;
  }

  uint32_t ExpectedAt(int x, int y) const {
    x = std::clamp(x, 0, 639);
    y = std::clamp(y, 0, 479);
    return LoadPixelBytes(expected.pixels + static_cast<size_t>(y) * expected.store->pitch + x * 4, 4) & 0xFFFFFF;
  }

  static int ChannelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
  }

  MemImg expected = {};
  std::vector<int> graphics;
  std::deque<MemImg> sources;
};

struct BlendStep {
  int mode;
  int parameter;
  uint32_t brightness;
  int tolerance;  // per channel
};

TEST_F(SceneTest, EveryBlendModeOfAPlainDrawMatchesTheSoftwarePath) {
  // Copies at scale 1 sample one texel per pixel: exact. Blends run in the
  // GPU's arithmetic, which rounds where the software tables truncate:
  // within 2 per channel. Subtraction below 255: within 3, since the
  // software path subtracts green and red in halves with a carry (the
  // arithmetic it must keep) and lands up to 2 above the exact difference.
  const BlendStep steps[] = {
      {0, 0, 0xFFFFFF, 0},     {1, 128, 0xFFFFFF, 2}, {1, 255, 0xFFFFFF, 0}, {2, 200, 0xFFFFFF, 2},
      {3, 255, 0xFFFFFF, 2},   {3, 100, 0xFFFFFF, 3}, {4, 0, 0xFFFFFF, 2},   {10, 100, 0xFFFFFF, 2},
      {11, 150, 0xFFFFFF, 2},  {0, 0, 0xC86432, 2},   {1, 90, 0x80FF40, 2},  {2, 255, 0x404040, 2},
  };
  // A background every blend has something to work on.
  GraphImage backdrop = Pattern(640, 480, 9);
  const MemImg* backdropSource = nullptr;
  const int backdropGraphic = Graphic(backdrop, &backdropSource);
  SetBlendMode(0, 0);
  ASSERT_EQ(DrawGraphicAt(0, 0, backdropGraphic, 0), 0);
  SoftDrawImage(&expected, backdropSource, 0, 0, 0, nullptr);
  FreeGraphImage(&backdrop);
  std::vector<IntRect> areas;
  for (size_t i = 0; i < std::size(steps); ++i) {
    const BlendStep& s = steps[i];
    GraphImage image = Pattern(140, 100, static_cast<int>(i) + 1);
    const MemImg* source = nullptr;
    const int graphic = Graphic(image, &source);
    FreeGraphImage(&image);
    const int x = 10 + static_cast<int>(i % 4) * 155;
    const int y = 10 + static_cast<int>(i / 4) * 150;
    SetBlendMode(s.mode, s.parameter);
    SetDrawBrightness(s.brightness >> 16, (s.brightness >> 8) & 0xFF, s.brightness & 0xFF);
    ASSERT_EQ(DrawGraphicAt(x, y, graphic, 1), 0);
    SoftDrawImage(&expected, source, x, y, 1, nullptr);
    areas.push_back(IntRect{x, y, x + 140, y + 100});
  }
  SetBlendMode(0, 0);
  SetDrawBrightness(255, 255, 255);
  const std::vector<uint32_t> shown = Shown();
  ASSERT_EQ(shown.size(), 640u * 480u);
  EXPECT_EQ(Compare(shown, IntRect{0, 460, 640, 480}).largest, 0);
  for (size_t i = 0; i < areas.size(); ++i) {
    const Difference d = Compare(shown, areas[i]);
    EXPECT_LE(d.largest, steps[i].tolerance) << "mode " << steps[i].mode << " parameter " << steps[i].parameter
                                             << " brightness " << std::hex << steps[i].brightness;
  }
}

struct ShapeStep {
  const char* what;
  IntRect area;
  int tolerance;  // per channel
  // 0: each pixel against the same pixel of the software path. 1: against
  // that pixel or one of its eight neighbours, for draws that resample
  // (the GPU samples at pixel centres, the software path steps from the
  // rectangle's edge, so a texel edge may fall one pixel apart).
  int reach;
  int strayPixels;  // pixels allowed past that, in thousandths of the area
};

TEST_F(SceneTest, StretchedRotatedAndShapeDrawsMatchTheSoftwarePath) {
  GraphImage image = Pattern(64, 48, 3);
  const MemImg* source = nullptr;
  const int graphic = Graphic(image, &source);
  FreeGraphImage(&image);
  std::vector<ShapeStep> steps;
  SetBlendMode(0, 0);
  // Whole-number scales and mirrors put every texel on whole pixels: exact.
  ASSERT_EQ(DrawGraphicStretched(10, 10, 138, 106, graphic, 1), 0);
  gSoftDrawFamilies.drawScaled(&expected, source, 10, 10, 138, 106, 1, nullptr);
  steps.push_back({"stretched twice", IntRect{10, 10, 138, 106}, 0, 0, 0});
  ASSERT_EQ(DrawGraphicStretched(278, 10, 150, 106, graphic, 1), 0);
  gSoftDrawFamilies.drawScaled(&expected, source, 278, 10, 150, 106, 1, nullptr);
  steps.push_back({"mirrored", IntRect{150, 10, 278, 106}, 0, 0, 0});
  // Other scales: the two samplings may round a pixel to the neighbouring
  // texel where a texel edge falls near a pixel centre.
  ASSERT_EQ(DrawGraphicStretched(300, 10, 401, 77, graphic, 1), 0);
  gSoftDrawFamilies.drawScaled(&expected, source, 300, 10, 401, 77, 1, nullptr);
  steps.push_back({"stretched 101 x 67", IntRect{300, 10, 401, 77}, 0, 1, 0});
  // Turned by nothing about an integral point: each texel on one pixel.
  ASSERT_EQ(DrawGraphicRotatedInt(500, 60, 1.0, 0.0, graphic, 1, 0), 0);
  gSoftDrawFamilies.drawRotated(&expected, source, 500, 60, 0.0f, 1.0f, 1, 0, nullptr);
  steps.push_back({"turned by nothing", IntRect{468, 36, 532, 84}, 0, 0, 0});
  // Turned: the rasterisers also differ along the graphic's edges and its
  // holes' edges, where a pixel is in for one and out for the other.
  ASSERT_EQ(DrawGraphicRotatedInt(100, 220, 1.0, 0.5, graphic, 1, 0), 0);
  gSoftDrawFamilies.drawRotated(&expected, source, 100, 220, 0.5f, 1.0f, 1, 0, nullptr);
  steps.push_back({"turned half a radian", IntRect{50, 170, 150, 270}, 0, 1, 50});
  // Boxes: filled in a copy exact, translucent within 2; outlines exact.
  const uint32_t orange = PackColor(255, 128, 0);
  ASSERT_EQ(DrawRectangle(200, 180, 260, 240, orange, 1), 0);
  const IntRect filled = {200, 180, 260, 240};
  gSoftDrawFamilies.fillRect(&expected, &filled, orange);
  steps.push_back({"filled box", filled, 0, 0, 0});
  ASSERT_EQ(DrawRectangle(280, 180, 340, 240, orange, 0), 0);
  const LineSegment outline[4] = {{280, 180, 339, 180, orange, 0},
                                  {339, 180, 339, 239, orange, 0},
                                  {339, 239, 280, 239, orange, 0},
                                  {280, 239, 280, 180, orange, 0}};
  gSoftDrawFamilies.drawLines(&expected, outline, 4);
  steps.push_back({"box outline", IntRect{278, 178, 342, 242}, 0, 0, 0});
  SetBlendMode(1, 128);
  const uint32_t blue = PackColor(0, 128, 255);
  ASSERT_EQ(DrawRectangle(10, 300, 130, 340, blue, 1), 0);
  const IntRect over = {10, 300, 130, 340};
  gSoftDrawFamilies.fillRect(&expected, &over, blue);
  steps.push_back({"translucent box", over, 2, 0, 0});
  // With 3D drawing off the lines go through the 2D path on the locked back
  // screen: exact.
  SetBlendMode(0, 0);
  Enable3DDrawing(0);
  ASSERT_EQ(DrawRectangle(400, 180, 470, 250, blue, 0), 0);
  ASSERT_EQ(DrawRectangle(410, 190, 460, 240, orange, 1), 0);
  Enable3DDrawing(1);
  const LineSegment lines[4] = {{400, 180, 469, 180, blue, 0},
                                {469, 180, 469, 249, blue, 0},
                                {469, 249, 400, 249, blue, 0},
                                {400, 249, 400, 180, blue, 0}};
  gSoftDrawFamilies.drawLines(&expected, lines, 4);
  const IntRect inner = {410, 190, 460, 240};
  gSoftDrawFamilies.fillRect(&expected, &inner, orange);
  steps.push_back({"2D path", IntRect{398, 178, 472, 252}, 0, 0, 0});

  const std::vector<uint32_t> shown = Shown();
  ASSERT_EQ(shown.size(), 640u * 480u);
  for (const ShapeStep& s : steps) {
    Difference d;
    const IntRect& r = s.area;
    const int area = (r.right - r.left) * (r.bottom - r.top);
    int stray = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        bool near = false;
        for (int dy = -s.reach; dy <= s.reach && !near; ++dy) {
          for (int dx = -s.reach; dx <= s.reach && !near; ++dx) {
            near = ChannelDistance(shown[static_cast<size_t>(y) * 640 + x], ExpectedAt(x + dx, y + dy)) <= s.tolerance;
          }
        }
        stray += !near;
      }
    }
    EXPECT_LE(stray * 1000, s.strayPixels * area) << s.what;
  }
}

struct TextStep {
  int type;
  int edge;
  int mode;
  int parameter;
  int tolerance;  // per channel; -1: only the inked pixels are compared
};

TEST_F(SceneTest, TextMatchesTheSoftwarePath) {
  // The 3D path's fonts keep their glyphs in a texture, the software path's
  // in memory. Glyphs without anti-aliasing are exact. Anti-aliased levels
  // are 4-bit alphas in the texture, which the GPU widens by 17 where the
  // software path multiplies by 16: within 16 per channel (17 with a blend
  // on top). An anti-aliased edge is the union of its stamps in a texture
  // cache and the largest stamp in a memory cache, so edged anti-aliased
  // text inks the same pixels in other shades.
  const TextStep steps[] = {{0, 1, 0, 0, 0}, {1, 1, 0, 0, 0}, {2, 1, 0, 0, 16}, {3, 2, 0, 0, -1}, {2, 1, 1, 160, 17}};
  const char* text = "日本語のテキスト ABC";
  for (size_t i = 0; i < std::size(steps); ++i) {
    const TextStep& t = steps[i];
    const int texture = CreateFontToHandle("ＭＳ ゴシック", 24, 6, t.type, -1, t.edge, 0, -1, -1);
    Enable3DDrawing(0);
    const int memory = CreateFontToHandle("ＭＳ ゴシック", 24, 6, t.type, -1, t.edge, 0, -1, -1);
    Enable3DDrawing(1);
    ASSERT_GE(texture, 0);
    ASSERT_GE(memory, 0);
    ASSERT_TRUE(LiveFontEntry(texture)->textureCache);
    ASSERT_FALSE(LiveFontEntry(memory)->textureCache);
    const int y = 10 + static_cast<int>(i) * 40;
    const uint32_t colour = PackColor(255, 240, 200);
    const uint32_t edgeColour = PackColor(0, 64, 255);
    SetBlendMode(t.mode, t.parameter);
    ASSERT_EQ(DrawTextLineWithFont(20, y, text, colour, texture, edgeColour, 0), 0);
    // The software path: straight onto the image, or through an image with
    // alpha drawn like a graphic for anti-aliased text.
    IntRect region = {0, 0, 640, 480};
    if (t.type & kFontAntialiased) {
      MemImg textImage = {};
      ASSERT_EQ(CreateMemImg(&textImage, 640, 40, -1, 0, MemImgXrgb8888, 0, 1, nullptr), 0);
      FillMemImg(&textImage, nullptr, 0);
      const IntRect whole = {0, 0, 640, 40};
      RenderString(kRenderStringDraw, 0, 0, 0, 1.0, 1.0, text, colour, edgeColour, &textImage, &whole, 1, memory, -1, 0,
                   nullptr);
      SoftDrawImage(&expected, &textImage, 20, y, 1, nullptr);
      ReleaseMemImg(&textImage);
    } else {
      RenderString(kRenderStringDraw, 20, y, 0, 1.0, 1.0, text, colour, edgeColour, &expected, &region, 1, memory, -1,
                   0, nullptr);
    }
    DeleteFontHandle(texture);
    DeleteFontHandle(memory);
  }
  SetBlendMode(0, 0);
  const std::vector<uint32_t> shown = Shown();
  ASSERT_EQ(shown.size(), 640u * 480u);
  for (size_t i = 0; i < std::size(steps); ++i) {
    const int y = 10 + static_cast<int>(i) * 40;
    if (steps[i].tolerance < 0) {
      int inkedApart = 0;
      for (int py = y; py < y + 40; ++py) {
        for (int px = 0; px < 640; ++px) inkedApart += (shown[static_cast<size_t>(py) * 640 + px] != 0) != (ExpectedAt(px, py) != 0);
      }
      EXPECT_EQ(inkedApart, 0) << "type " << steps[i].type;
      continue;
    }
    const Difference d = Compare(shown, IntRect{0, y, 640, y + 40});
    EXPECT_LE(d.largest, steps[i].tolerance) << "type " << steps[i].type << " mode " << steps[i].mode;
  }
}

}  // namespace
