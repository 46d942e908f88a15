#pragma once
// A running layer on a real X server with Mesa's software OpenGL: the
// DirectDraw and 3D path, a 640 x 480 x 32 window at scale 1, the window's
// pixels read back through X11.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Direct3DState.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/DrawTarget.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "tests/runtime/graphics/WindowPixels.h"
#include "tests/support/TestDirectory.h"

class Layer3DFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    SetWindowTitle(("Layer3D-" + std::to_string(getpid())).c_str());
    ChangeWindowMode(1);
    SetRunInBackground(1);  // an X server without a window manager may never give the focus
    ASSERT_EQ(SetScreenMode(640, 480, 32, -1), 0);
    ASSERT_EQ(LayerInit(), 0);
    ASSERT_EQ(IsSoftwareScreens(), 0);
    ASSERT_TRUE(HasDevice3D());
  }

  void TearDown() override {
    LayerEnd();
    EXPECT_EQ(chdir(previous_), 0);
  }

  // Shows the back screen twice (the first show may meet a window not yet
  // mapped) and reads the window.
  static std::vector<uint32_t> Shown() {
    FlipScreen();
    for (int i = 0; i < 5; ++i) PumpMessages();
    FlipScreen();
    return WindowPixels(640, 480);
  }

  TestDirectory dir;

 private:
  char previous_[PATH_MAX];
};
