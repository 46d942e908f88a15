#pragma once
// A layer ready to start in a fresh folder: the clock is fake and moves on
// by a millisecond at every read of the tick, window messages come from a
// fake source, keyboard, mouse and joypads are fake, the single-instance
// check is off, sound mixes against a manual clock, fonts take their glyphs
// from the fake glyph source and the window mode is on.
// Whatever the test started is ended again.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/system/InstanceLock.h"
#include "runtime/host/sound/SoundDevice.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/input/InputDevices.h"
#include "runtime/platform/system/LayerLifeCycle.h"
#include "runtime/platform/system/PlatformState.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeEventSource.h"
#include "tests/support/FakeGlyphSource.h"
#include "tests/support/FakeInput.h"
#include "tests/support/TestDirectory.h"

class LayerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    gPlatform = PlatformState();
    gPlatform.windowMode = 1;
    gScreenDevice = ScreenDevice();
    HostSetInstanceLockEnabled(false);
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    clock.AdvanceOnEveryTickRead(1000);
  }

  void TearDown() override {
    LayerEnd();
    InputEnd();  // a read after the end starts input again
    HostVideoStop();
    HostSetInstanceLockEnabled(true);
    HostSoundSetOutput(HostSoundOutput::kSdl);
    gPlatform = PlatformState();
    gScreenDevice = ScreenDevice();
  }

  // The log's lines without their time stamps.
  std::vector<std::string> LogLines() const { return LogLinesOf(dir.File("Log.txt")); }

  static std::vector<std::string> LogLinesOf(const std::string& path) {
    const std::string text = ReadWholeFile(path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      const size_t colon = line.find(':');
      if (colon != std::string::npos && colon > 0 &&
          line.find_first_not_of("0123456789") == colon) {
        line.erase(0, colon + 1);
      }
      lines.push_back(line);
      start = end + 2;
    }
    return lines;
  }

  TestDirectory dir;
  ScopedCurrentDirectory inDir{dir.Path()};
  FakeClock clock;
  FakeEventSource events;
  FakeInput input;
  FakeGlyphSource glyphs;
};
