#pragma once
// A running layer in software mode on SDL's dummy driver with the fake
// clock, presenting through the null presenter.

#include "runtime/Movan.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/screen/Display.h"
#include "runtime/host/screen/Presenter.h"
#include "runtime/softrender/MemImg.h"
#include "tests/runtime/platform/system/LayerFixture.h"

class GraphicsFixture : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    gScreen = ScreenState();
    gDrawState = DrawState{{0, 0, 640, 480}, BlendCopy, 0, -1, 0, 0, 0xFFFFFF};
    HostSetPresenter(&presenter);
    SetRunInBackground(1);
  }

  void TearDown() override {
    LayerFixture::TearDown();
    HostSetPresenter(nullptr);
    HostSetDisplayModeFilter(nullptr);
    gScreen = ScreenState();
  }

  // Starts the layer with the screen depth given first (0: none set).
  void Start(int depth = 32) {
    if (depth != 0) {
      ASSERT_EQ(SetScreenMode(640, 480, depth, -1), 0);
    }
    ASSERT_EQ(LayerInit(), 0);
    logLinesAtStart_ = LogLines().size();
    recordsAtStart_ = GetImageRecordCount();
    surfacesAtStart_ = GetSurface2DCount();
  }

  // Image records and 2D surfaces made since the start (the default font's
  // text image is there from the start).
  int NewImageRecords() const { return GetImageRecordCount() - recordsAtStart_; }
  int NewSurfaces() const { return GetSurface2DCount() - surfacesAtStart_; }

  std::vector<std::string> NewLogLines() const {
    const std::vector<std::string> all = LogLines();
    return std::vector<std::string>(all.begin() + static_cast<long>(logLinesAtStart_), all.end());
  }

  // A pixel of the draw target's memory image, as stored.
  static uint32_t TargetPixel(int x, int y) {
    const MemImg* image = gScreen.drawImage;
    const int bytes = MemImgBytesPerPixel(image->store);
    const uint8_t* at = image->pixels + static_cast<size_t>(y) * image->store->pitch + static_cast<size_t>(x) * bytes;
    return bytes == 4 ? LoadPixelBytes(at, 4) : LoadPixelBytes(at, bytes);
  }

  static uint32_t BackPixel(int x, int y) {
    const MemImg& image = gScreen.back;
    const uint8_t* at = image.pixels + static_cast<size_t>(y) * image.store->pitch + static_cast<size_t>(x) * 4;
    return LoadPixelBytes(at, 4) & 0xFFFFFF;
  }

  // A graphic of one colour (0xRRGGBB), made from an image.
  static int SolidGraphic(int width, int height, uint32_t rgb) {
    GraphImage image = {};
    if (CreateXrgbGraphImage(width, height, &image) != 0) return -1;
    FillGraphImage(&image, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, 255);
    const int graphic = MakeGraphicFromGraphImage(&image);
    FreeGraphImage(&image);
    return graphic;
  }

  HostNullPresenter presenter;

 private:
  size_t logLinesAtStart_ = 0;
  int recordsAtStart_ = 0;
  int surfacesAtStart_ = 0;
};
