// The demo game in a real window on an X server (ctest runs this program
// under xvfb-run): in software mode what the window shows is exactly the
// picture the player drew.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/shell/GameIni.h"

#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/screen/Presenter.h"
#include "runtime/softrender/MemImg.h"
#include "tests/support/PlayHarness.h"
#include "tests/support/TestDirectory.h"
#include "tools/demo/DemoGame.h"

// Last: the window system's macros clash with the test framework's names.
#include "tests/support/X11WindowPixels.h"

namespace {

struct Picture {
  std::vector<uint32_t> window;
  std::vector<uint32_t> back;
};

// The back screen as 0x00RRGGBB.
std::vector<uint32_t> BackScreen() {
  std::vector<uint32_t> pixels;
  const MemImg& back = gScreen.back;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const uint8_t* at = back.pixels + static_cast<size_t>(y) * back.store->pitch + static_cast<size_t>(x) * 4;
      pixels.push_back((uint32_t{at[2]} << 16 | uint32_t{at[1]} << 8 | at[0]));
    }
  }
  return pixels;
}

// Game.ini as a player left it after a clean run, on the drawing path asked
// for.
void WriteSettings(const std::string& folder, int softMode) {
  PlayerSettings settings;
  settings.start = 0;
  settings.softMode = softMode;
  settings.windowMode = 1;
  std::ofstream(folder + "/" + kGameIniName, std::ios::binary) << FormatGameIni(settings);
}

size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return SIZE_MAX;
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST(XvfbPlay, TheWindowShowsTheDemoExactlyAsTheBackScreenHoldsIt) {
  TestDirectory dir;
  demo::WriteDemoGame(dir.Path());
  WriteSettings(dir.Path(), 1);
  PlayHarness play(dir.Path());
  play.realWindow = true;
  play.realFonts = true;
  std::vector<Picture> pictures;
  play.onFrame = [&](int64_t frame) {
    // After the frame before was drawn and shown.
    if (frame == 10 || frame == 40) pictures.push_back({X11WindowPixels(640, 480), BackScreen()});
  };
  play.Play(41);
  ASSERT_EQ(pictures.size(), 2u);
  for (const Picture& p : pictures) {
    ASSERT_EQ(p.window.size(), 640u * 480u);
    EXPECT_EQ(Differences(p.window, p.back), 0u);
  }
}

}  // namespace
