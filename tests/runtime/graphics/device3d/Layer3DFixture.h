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
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/device3d/Device3D.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "tests/support/TestDirectory.h"

// Last: the window system's macros clash with the test framework's names.
#include "tests/support/X11WindowPixels.h"

class Layer3DFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    if (StartsAtOnce()) {
      Start();
      ASSERT_EQ(IsSoftwareScreens(), 0);
      ASSERT_TRUE(HasDevice3D());
    }
  }

  void TearDown() override {
    LayerEnd();
    HostSetDevice3DListing(nullptr);
    EXPECT_EQ(chdir(previous_), 0);
  }

  // Fixtures that set something up before the start say no.
  virtual bool StartsAtOnce() const { return true; }

  void Start() {
    SetWindowTitle(("Layer3D-" + std::to_string(getpid())).c_str());
    ChangeWindowMode(1);
    SetRunInBackground(1);  // an X server without a window manager may never give the focus
    ASSERT_EQ(SetScreenMode(640, 480, 32, -1), 0);
    ASSERT_EQ(LayerInit(), 0);
  }

  // Ends the layer and forgets what its run left in the screen's state, so
  // that the next start is a first one.
  void Stop() {
    LayerEnd();
    gScreen = ScreenState();
    gScreenDevice = ScreenDevice();
    HostSetDevice3DListing(nullptr);
  }

  // Shows the back screen twice (the first show may meet a window not yet
  // mapped) and reads the window.
  static std::vector<uint32_t> Shown() {
    FlipScreen();
    for (int i = 0; i < 5; ++i) PumpMessages();
    FlipScreen();
    return X11WindowPixels(640, 480);
  }

  // The log's lines without their time stamps.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    FILE* f = fopen(dir.File("Log.txt").c_str(), "rb");
    if (!f) return lines;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      const size_t colon = line.find(':');
      if (colon != std::string::npos && line.find_first_not_of("0123456789") == colon) line.erase(0, colon + 1);
      while (!line.empty() && line[0] == '\t') line.erase(0, 1);
      lines.push_back(line);
      start = end + 2;
    }
    return lines;
  }

  bool Logged(const std::string& line) const {
    for (const std::string& l : LogLines()) {
      if (l == line) return true;
    }
    return false;
  }

  TestDirectory dir;

 private:
  char previous_[PATH_MAX];
};
