// demo-screenshot FOLDER FILE.png: plays the demo game in FOLDER headless
// with the system's fonts, walks the hero to the villager, talks to him and
// saves the screen with his words shown as FILE.png (a name below FOLDER).

#include <cstdio>
#include <string>

#include "engine/events/SystemState.h"
#include "engine/map/Hero.h"
#include "runtime/Movan.h"
#include "tests/support/HeroWalker.h"
#include "tests/support/PlayHarness.h"
#include "tools/demo/DemoGame.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: demo-screenshot FOLDER FILE.png\n");
    return 2;
  }
  const std::string file = argv[2];
  demo::WriteDemoGame(argv[1]);
  PlayHarness play(argv[1]);
  play.realFonts = true;
  play.hashing = false;
  int64_t standing = -1;
  int64_t opened = -1;
  int result = -1;
  play.onFrame = [&](int64_t frame) {
    const int32_t x = demo::kVillagerX - 1;
    const int32_t y = demo::kVillagerY;
    if (standing < 0) {
      if (HeroStandsOn(x, y) && !PlayerHero.IsMoving()) {
        standing = frame;
      } else {
        play.HoldNow(ArrowTowardTile(x, y));
        return;
      }
    }
    if (opened < 0) {
      if (SystemStateHub.windowOpen) {
        opened = frame;
        play.HoldNow({});
        return;
      }
      const int64_t since = frame - standing;
      play.HoldNow(since < 2       ? std::vector<int>{kKeyRight}
                   : since % 4 < 2 ? std::vector<int>{kKeyEnter}
                                   : std::vector<int>{});
      return;
    }
    // Once the whole message is shown.
    if (frame == opened + 90 && result < 0) result = SaveScreenImage(0, 0, 640, 480, file.c_str(), 0);
  };
  play.Play(900);
  if (result != 0) {
    std::fprintf(stderr, "demo-screenshot: no screenshot taken\n");
    return 1;
  }
  return 0;
}
