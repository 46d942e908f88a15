#pragma once
// A running layer (software screens, fake clock, devices and window
// messages) with a fresh game around it: game information, root runner,
// hub, input state and an empty recording, the window active and nothing
// held. The error screen is the logging default unless a test installs one.

#include "engine/data/GameInfo.h"
#include "engine/data/ReplayLog.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"
#include "engine/shell/InputUpdate.h"
#include "runtime/host/input/KeyCodes.h"
#include "tests/runtime/graphics/GraphicsFixture.h"

class ShellTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start();
    TileUnit = 32;
    GameInformation = GameInfo();
    RootRunner = RootEventRunner();
    SystemStateHub = SystemState();
    Input = InputState();
    ReplayPlaying = ReplayEnded = false;
    // The edges remember the last update of the process: start from one
    // with nothing held.
    UpdateInput();
    GameReplay = ReplayLog();
  }

  void TearDown() override {
    SetErrorScreenHandler(nullptr);
    ReplayPlaying = ReplayEnded = false;
    GameReplay = ReplayLog::Blank();
    Input = InputState();
    RootRunner = RootEventRunner();
    SystemStateHub = SystemState();
    GraphicsFixture::TearDown();
  }

  // Client coordinates of the cursor, as the window reports a move.
  void MoveMouse(int x, int y) {
    events.Push(HostMessageId::MouseMove, x, y);
    PumpMessages();
  }
};
