#include "tests/runtime/graphics/device3d/Layer3DFixture.h"

namespace {

class SceneTest : public Layer3DFixture {};

TEST_F(SceneTest, Smoke) {
  SetDrawTarget(kBackScreen);
  ClearDrawTarget();
  GraphImage image = {};
  CreateXrgbGraphImage(64, 48, &image);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) SetGraphImagePixel(&image, x, y, x * 3, y * 5, (x ^ y) & 0xFF, 255);
  }
  const int graphic = MakeGraphicFromGraphImage(&image);
  ASSERT_GE(graphic, 0);
  ASSERT_EQ(DrawGraphicAt(10, 20, graphic, 0), 0);
  const std::vector<uint32_t> shown = Shown();
  ASSERT_EQ(shown.size(), 640u * 480u);
  int wrong = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      const uint32_t want = static_cast<uint32_t>((x * 3) << 16 | (y * 5) << 8 | ((x ^ y) & 0xFF));
      if (shown[static_cast<size_t>(y + 20) * 640 + x + 10] != want && ++wrong < 5) {
        ADD_FAILURE() << x << "," << y << " " << std::hex << shown[static_cast<size_t>(y + 20) * 640 + x + 10];
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  FreeGraphImage(&image);
}

}  // namespace
