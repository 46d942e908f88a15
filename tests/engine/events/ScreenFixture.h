#pragma once
// A running layer drawing into the back screen, with a fresh root runner,
// game information and hub (its two screen-sized graphics made), for the
// screen tone, the flash and the transitions.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/map/EventCommandList.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/StartupSettings.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/BmpFileWriter.h"

class ScreenTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start();
    SetDrawTarget(kBackScreen);
    TileUnit = 32;
    GameInformation = GameInfo();
    RootRunner = RootEventRunner();
    ResetSystemStateHub();
  }

  void TearDown() override {
    interpreter = EventInterpreter();
    SystemStateHub = SystemState();
    RootRunner = RootEventRunner();
    GraphicsFixture::TearDown();
  }

  // The whole back screen in one colour (0xRRGGBB), as a drawn frame left it.
  static void FillScreen(uint32_t rgb) {
    SetBlendMode(0, 255);
    SetDrawBrightness(255, 255, 255);
    DrawRectangle(0, 0, 640, 480, PackColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF), 1);
  }

  // A transition mask, a grey image: black on the left half, white on the
  // right.
  void WriteHalfMask(const std::string& name) const {
    std::vector<std::vector<uint32_t>> rows(480, std::vector<uint32_t>(640, 0));
    for (auto& row : rows) std::fill(row.begin() + 320, row.end(), 255u);
    BmpFileFields mask;
    mask.width = 640;
    mask.height = -480;
    mask.bitCount = 8;
    for (uint32_t i = 0; i < 256; ++i) mask.palette.push_back(i * 0x010101u);
    mask.data = PackBmpRows(8, rows);
    dir.Write(name, BmpFile(mask));
  }

  // Starts the list on the test's interpreter and runs one frame.
  void Run(const EventCommandList& list) {
    interpreter = EventInterpreter();
    interpreter.StartOwnEvent(list, -1, 0);
    interpreter.RunFrame();
  }

  EventInterpreter interpreter;
};
