// The message waiter of a parallel event that a map change takes away.

#include <gtest/gtest.h>

#include "engine/data/CommonEventList.h"
#include "engine/events/CommonEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/map/MapScene.h"
#include "tests/engine/map/MapTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

class ParallelWaiterTest : public MapTest {
 protected:
  void SetUp() override {
    MapTest::SetUp();
    SystemStateHub = SystemState();
    WriteTileSets({TileSet{}});
    WriteMap("Map000.mps", PlainMap(20, 15));
    WriteMap("Map001.mps", PlainMap(20, 15));
    WriteMapList({{"Map000.mps"}, {"Map001.mps"}});
    CurrentMap.Reset();
    CommonEvents = CommonEventList();
    CommonEvents.Resize(2);
    CommonEvents.events[1].trigger = 0x03;  // parallel, always
    CommonEvents.events[1].commands = CommandListBuilder().Add({101}, {"m"}).Build();
  }
  void TearDown() override {
    ClearCommonEventRunners();
    CommonEvents = CommonEventList();
    SystemStateHub = SystemState();
    MapTest::TearDown();
  }

  static uint64_t RunnerSerial() {
    const CommonEventRunner* runner = FindCommonEventRunner(1);
    return runner && !runner->interpreters.empty() ? static_cast<uint64_t>(runner->interpreters[0].serial) : 0;
  }
};

TEST_F(ParallelWaiterTest, ATransferWhileAParallelEventsWaiterIsOpen) {
  CurrentMap.ChangeMap(0);
  CurrentMap.Update();
  const uint64_t first = RunnerSerial();
  ASSERT_NE(first, 0u);
  ASSERT_EQ(SystemStateHub.messageWaiter, first);
  ASSERT_EQ(SystemStateHub.pendingMessageText, "m");

  // The transfer frees the waiting runner; the hub keeps nothing of it.
  CurrentMap.ChangeMap(1);
  EXPECT_EQ(SystemStateHub.messageWaiter, 0u);
  EXPECT_EQ(SystemStateHub.messageWaiterMode, -1);

  // The window closes on the text it was showing: nobody is released.
  SystemStateHub.pendingMessageText.clear();
  SystemStateHub.ReleaseMessageWaiter();
  EXPECT_EQ(SystemStateHub.releasedMessageWaiter, 0u);

  // The new map's runner waits for its own message and is released alone.
  CurrentMap.Update();
  const uint64_t second = RunnerSerial();
  ASSERT_NE(second, 0u);
  EXPECT_NE(second, first);
  EXPECT_EQ(SystemStateHub.messageWaiter, second);
  SystemStateHub.pendingMessageText.clear();
  SystemStateHub.ReleaseMessageWaiter();
  EXPECT_EQ(SystemStateHub.releasedMessageWaiter, second);
  CurrentMap.Update();
  EXPECT_EQ(SystemStateHub.releasedMessageWaiter, 0u) << "taken by its waiter";
  CurrentMap.Update();
  EXPECT_EQ(SystemStateHub.pendingMessageText, "m") << "the event went on and runs again";
  EXPECT_EQ(SystemStateHub.messageWaiter, second);
}

}  // namespace
