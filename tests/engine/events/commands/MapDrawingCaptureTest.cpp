#include <gtest/gtest.h>

#include "engine/data/map/EventCommandList.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

class MapDrawingCaptureTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    Start(32);
    SetDrawTarget(kBackScreen);
    SystemStateHub = SystemState();
    RootRunner = RootEventRunner();
  }
  void TearDown() override {
    SystemStateHub = SystemState();
    RootRunner = RootEventRunner();
    GraphicsFixture::TearDown();
  }
  static void Run(const EventCommandList& list) {
    EventInterpreter interpreter;
    interpreter.StartOwnEvent(list, -1, -1);
    interpreter.RunFrame();
  }
};

TEST_F(MapDrawingCaptureTest, MapDrawingOffKeepsThePictureOfTheScreenAsTheFrozenMap) {
  SystemStateHub.frozenMapGraphic = CreateBlankGraphic(640, 480, 1);
  ASSERT_GE(SystemStateHub.frozenMapGraphic, 0);
  DrawRectangle(0, 0, 640, 480, PackColor(10, 20, 30), 1);
  DrawRectangle(600, 440, 640, 480, PackColor(200, 100, 50), 1);
  Run(CommandListBuilder().Add({177}).Build());
  EXPECT_EQ(RootRunner.mapDrawing, 0);

  ClearDrawTarget();
  DrawGraphicAt(0, 0, SystemStateHub.frozenMapGraphic, 0);
  EXPECT_EQ(BackPixel(0, 0), 0x0A141Eu);
  EXPECT_EQ(BackPixel(639, 479), 0xC86432u);

  Run(CommandListBuilder().Add({178}).Build());
  EXPECT_EQ(RootRunner.mapDrawing, 1);
}

TEST_F(MapDrawingCaptureTest, WithoutAFrozenMapGraphicOnlyTheFlagChanges) {
  Run(CommandListBuilder().Add({177}).Build());
  EXPECT_EQ(RootRunner.mapDrawing, 0);
}

}  // namespace
