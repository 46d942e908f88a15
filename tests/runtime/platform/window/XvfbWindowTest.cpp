// A real window on an X server (ctest runs this program under xvfb-run).

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "runtime/host/window/SdlWindow.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/system/LayerLifeCycle.h"
#include "runtime/platform/window/MainWindow.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformQueries.h"
#include "tests/support/TestDirectory.h"

namespace {

TEST(XvfbWindow, OpensAtTheScaledScreenSizeAndClosesCleanly) {
  char previous[PATH_MAX];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  TestDirectory dir;
  ASSERT_EQ(chdir(dir.Path().c_str()), 0);

  SetWindowTitle(("XvfbWindowTest-" + std::to_string(getpid())).c_str());
  ChangeWindowMode(1);
  SetWindowScale(1.5);
  SetRunInBackground(1);  // an X server without a window manager may never give the focus
  ASSERT_EQ(LayerInit(), 0);
  ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");

  HostRect client;
  ASSERT_TRUE(HostWindowClientRect(&client));
  EXPECT_EQ(client.right - client.left, 960);
  EXPECT_EQ(client.bottom - client.top, 720);
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(HostSdlWindow(), &width, &height);
  EXPECT_EQ(width, 960);
  EXPECT_EQ(height, 720);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(PumpMessages(), 0);

  EXPECT_EQ(LayerEnd(), 0);
  EXPECT_FALSE(HostWindowExists());
  EXPECT_EQ(IsEndRequested(), 1);
  const std::string log = ReadWholeFile(dir.File("Log.txt"));
  EXPECT_NE(log.find("Alloc num:0"), std::string::npos);
  ASSERT_EQ(chdir(previous), 0);
}

}  // namespace
