// A real window on an X server (ctest runs this program under xvfb-run), in
// software mode: a scene drawn in four blend modes is presented through
// SDL's software renderer and the window's pixels, read back through X11, equal the picture
// the test computes; a line of Japanese text, anti-aliased and edged with a
// real font, is shown exactly as the back screen holds it.

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/window/SdlWindow.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/platform/system/ProcessorFeatures.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/MemImgTransfer.h"
#include "tests/runtime/softrender/ReferencePlainDraw.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TgaFileWriter.h"

// Last: the window system's macros clash with the test framework's names.
#include "tests/support/X11WindowPixels.h"

namespace {

struct Layer {
  Layer(double scale) {
    EXPECT_NE(getcwd(previous, sizeof previous), nullptr);
    EXPECT_EQ(chdir(dir.Path().c_str()), 0);
    SetWindowTitle(("XvfbPresentTest-" + std::to_string(getpid())).c_str());
    ChangeWindowMode(1);
    SetWindowScale(scale);
    SetRunInBackground(1);  // an X server without a window manager may never give the focus
    SetScreenMode(640, 480, 32, -1);
    // These scenes are the software path's: the 3D path's own run beside
    // them in tests/runtime/graphics/device3d.
    Enable3DDrawing(0);
    started = LayerInit() == 0;
  }
  ~Layer() {
    LayerEnd();
    EXPECT_EQ(chdir(previous), 0);
  }
  char previous[PATH_MAX];
  TestDirectory dir;
  bool started = false;
};

// A picture whose every pixel differs from its neighbours.
GraphImage Pattern(int width, int height, int seed) {
  GraphImage image = {};
  CreateXrgbGraphImage(width, height, &image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      SetGraphImagePixel(&image, x, y, (x * 3 + seed) & 0xFF, (y * 5 + seed * 7) & 0xFF, (x * y + seed) & 0xFF, 255);
    }
  }
  return image;
}

struct Step {
  int mode;
  int parameter;
  int x;
  int y;
  int seed;
};

void PresentsTheSceneExactly(double scale) {
  Layer layer(scale);
  ASSERT_TRUE(layer.started);
  ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
  SetDrawTarget(kBackScreen);
  ClearDrawTarget();

  MemImg expected = {};
  ASSERT_EQ(CreateScreenMemImg(&expected, 640, 480, MemImgXrgb8888), 0);
  FillMemImg(&expected, nullptr, 0);
  const Step steps[] = {{0, 0, 20, 20, 1}, {1, 128, 120, 90, 2}, {2, 200, 260, 170, 3}, {3, 255, 330, 260, 4}};
  for (const Step& s : steps) {
    GraphImage image = Pattern(200, 150, s.seed);
    const int graphic = MakeGraphicFromGraphImage(&image);
    ASSERT_GE(graphic, 0);
    SetBlendMode(s.mode, s.parameter);
    ASSERT_EQ(DrawGraphicAt(s.x, s.y, graphic, 0), 0);
    DeleteGraphic(graphic);

    MemImg source = {};
    ASSERT_EQ(CreateMemImg(&source, 200, 150, -1, 0, MemImgXrgb8888, 0, 0, nullptr), 0);
    ASSERT_EQ(TransferGraphImageToMemImg(image, nullptr, &source, 0, 0, 200, 150, 0, 0, 0), 0);
    DrawState state = gDrawState;
    state.drawRegion = IntRect{0, 0, 640, 480};
    ReferenceSoftDrawImage(&expected, &source, s.x, s.y, 0, nullptr, state, gSoftBlendTables.blendGraphic,
                           IsMmxUsable() == 1);
    ReleaseMemImg(&source);
    FreeGraphImage(&image);
  }
  SetBlendMode(0, 0);
  ASSERT_EQ(FlipScreen(), 0);
  for (int i = 0; i < 5; ++i) PumpMessages();
  ASSERT_EQ(FlipScreen(), 0);

  const int width = static_cast<int>(640 * scale);
  const int height = static_cast<int>(480 * scale);
  const std::vector<uint32_t> shown = X11WindowPixels(width, height);
  ASSERT_EQ(shown.size(), static_cast<size_t>(width) * static_cast<size_t>(height));
  int wrong = 0;
  for (int y = 0; y < height && wrong < 10; ++y) {
    for (int x = 0; x < width && wrong < 10; ++x) {
      const int sx = static_cast<int>(x / scale);
      const int sy = static_cast<int>(y / scale);
      const uint32_t want =
          LoadPixelBytes(expected.pixels + static_cast<size_t>(sy) * expected.store->pitch + sx * 4, 4) & 0xFFFFFF;
      const uint32_t got = shown[static_cast<size_t>(y) * width + x];
      if (got != want) {
        ++wrong;
        ADD_FAILURE() << "(" << x << "," << y << ") shows " << std::hex << got << ", expected " << want;
      }
    }
  }
  ReleaseMemImg(&expected);
}

TEST(XvfbPresent, TheSceneIsShownExactlyAtScaleOne) { PresentsTheSceneExactly(1.0); }

TEST(XvfbPresent, JapaneseAntialiasedEdgedTextIsShownAsTheBackScreenHoldsIt) {
  Layer layer(1.0);
  ASSERT_TRUE(layer.started);
  SetDrawTarget(kBackScreen);
  ClearDrawTarget();
  const int font = CreateFontToHandle("ＭＳ ゴシック", 24, 6, 3, -1, 2, 0, -1, -1);
  ASSERT_NE(font, -1);
  ASSERT_EQ(DrawTextLineWithFont(20, 40, "日本語のテキスト", PackColor(255, 255, 255), font, PackColor(0, 64, 255), 0), 0);
  // The glyphs are there: grey levels of the text, of the edge and between.
  int inked = 0;
  int partial = 0;
  for (int y = 40; y < 40 + 28; ++y) {
    for (int x = 20; x < 20 + 8 * 28; ++x) {
      const uint32_t p = LoadPixelBytes(gScreen.back.pixels + static_cast<size_t>(y) * gScreen.back.store->pitch + x * 4, 4) &
                         0xFFFFFF;
      inked += p != 0;
      partial += p != 0 && p != 0xFFFFFF && p != 0x0040FF;
    }
  }
  EXPECT_GT(inked, 500);
  EXPECT_GT(partial, 50);
  ASSERT_EQ(FlipScreen(), 0);
  for (int i = 0; i < 5; ++i) PumpMessages();
  ASSERT_EQ(FlipScreen(), 0);

  const std::vector<uint32_t> shown = X11WindowPixels(640, 480);
  ASSERT_EQ(shown.size(), 640u * 480u);
  int wrong = 0;
  for (int y = 0; y < 480 && wrong < 10; ++y) {
    for (int x = 0; x < 640 && wrong < 10; ++x) {
      const uint32_t want =
          LoadPixelBytes(gScreen.back.pixels + static_cast<size_t>(y) * gScreen.back.store->pitch + x * 4, 4) & 0xFFFFFF;
      const uint32_t got = shown[static_cast<size_t>(y) * 640 + x];
      if (got != want) {
        ++wrong;
        ADD_FAILURE() << "(" << x << "," << y << ") shows " << std::hex << got << ", expected " << want;
      }
    }
  }
  DeleteFontHandle(font);
}
// The fixture colour of (x, y): every pixel differs from its neighbours.
uint32_t FixtureColour(int x, int y, int seed) {
  return (static_cast<uint32_t>((x * 7 + seed) & 0xFF) << 16) | (static_cast<uint32_t>((y * 5 + seed) & 0xFF) << 8) |
         static_cast<uint32_t>((x + y + seed) & 0xFF);
}

TEST(XvfbPresent, LoadedPngBmpAndTgaFilesAreShownAsTheBackScreenHoldsThem) {
  Layer layer(1.0);
  ASSERT_TRUE(layer.started);
  constexpr int kW = 48;
  constexpr int kH = 40;
  PngFixtureFields png;
  png.width = kW;
  png.height = kH;
  std::vector<std::vector<uint32_t>> bmpRows;
  std::string tga;
  for (int y = 0; y < kH; ++y) {
    std::vector<uint32_t> bmpRow;
    for (int x = 0; x < kW; ++x) {
      const uint32_t p = FixtureColour(x, y, 1);
      png.rows += static_cast<char>(p >> 16);
      png.rows += static_cast<char>(p >> 8);
      png.rows += static_cast<char>(p);
      const uint32_t t = FixtureColour(x, y, 3);
      tga += static_cast<char>(t);
      tga += static_cast<char>(t >> 8);
      tga += static_cast<char>(t >> 16);
    }
  }
  // Bottom row first, as BMP files store them.
  for (int y = kH - 1; y >= 0; --y) {
    std::vector<uint32_t> row;
    for (int x = 0; x < kW; ++x) row.push_back(FixtureColour(x, y, 2));
    bmpRows.push_back(row);
  }
  BmpFileFields bmp;
  bmp.width = kW;
  bmp.height = kH;
  bmp.data = PackBmpRows(24, bmpRows);
  TgaFileFields tgaFields;
  tgaFields.width = kW;
  tgaFields.height = kH;
  tgaFields.data = tga;
  layer.dir.Write("pic.png", EncodePngFixture(png));
  layer.dir.Write("pic.bmp", BmpFile(bmp));
  layer.dir.Write("pic.tga", TgaFile(tgaFields));

  SetDrawTarget(kBackScreen);
  ClearDrawTarget();
  const char* names[] = {"pic.png", "pic.bmp", "pic.tga"};
  for (int i = 0; i < 3; ++i) {
    const int graphic = LoadGraphicFile(names[i], 1);
    ASSERT_GE(graphic, 0) << names[i];
    const int x = 40 + i * 120;
    ASSERT_EQ(DrawGraphicAt(x, 40, graphic, 0), 0);
    EXPECT_EQ(DrawGraphicStretched(x, 120, x + kW, 120 + kH, graphic, 0), 0);
    // Whatever the renderer draws of these is shown like the rest.
    DrawGraphicStretched(x, 200, x + kW * 2, 200 + kH / 2, graphic, 0);
    DrawGraphicRotatedInt(x + 40, 320, 1.5, 0.7, graphic, 0, 0);
    DrawRectangle(x, 400, x + 60, 440, PackColor(255, 128, 0), 0);
    DrawRectangle(x + 4, 404, x + 56, 436, PackColor(0, 128, 255), 1);
    for (int y = 0; y < kH; y += 13) {
      for (int px = 0; px < kW; px += 11) {
        const uint32_t want = FixtureColour(px, y, i + 1);
        const auto back = [](int bx, int by) {
          return LoadPixelBytes(gScreen.back.pixels + static_cast<size_t>(by) * gScreen.back.store->pitch + bx * 4, 4) &
                 0xFFFFFFu;
        };
        EXPECT_EQ(back(x + px, 40 + y), want) << names[i] << " " << px << "," << y;
        EXPECT_EQ(back(x + px, 120 + y), want) << names[i] << " " << px << "," << y;
      }
    }
    DeleteGraphic(graphic);
  }
  ASSERT_EQ(FlipScreen(), 0);
  for (int i = 0; i < 5; ++i) PumpMessages();
  ASSERT_EQ(FlipScreen(), 0);
  const std::vector<uint32_t> shown = X11WindowPixels(640, 480);
  ASSERT_EQ(shown.size(), 640u * 480u);
  int wrong = 0;
  for (int y = 0; y < 480 && wrong < 10; ++y) {
    for (int x = 0; x < 640 && wrong < 10; ++x) {
      const uint32_t want =
          LoadPixelBytes(gScreen.back.pixels + static_cast<size_t>(y) * gScreen.back.store->pitch + x * 4, 4) & 0xFFFFFF;
      const uint32_t got = shown[static_cast<size_t>(y) * 640 + x];
      if (got != want) {
        ++wrong;
        ADD_FAILURE() << "(" << x << "," << y << ") shows " << std::hex << got << ", expected " << want;
      }
    }
  }
}

TEST(XvfbPresent, TheSceneIsShownExactlyAtScaleTwo) { PresentsTheSceneExactly(2.0); }

}  // namespace
