#pragma once
// A live map for the tests of events, routes, the hero and the map
// commands: a 20 x 15 map of open ground with the scene's map hooks, fresh
// variables, root runner and root interpreter (picking events), system
// state, input and hero (the game's own, found through the default hooks).
// Frame runs one frame in the game's order: the map scene, the root
// runner's interpreter, the hero.

#include <cstdint>
#include <vector>

#include "engine/data/map/EventPage.h"
#include "engine/map/MapEventState.h"
#include "tests/engine/map/MapTestFixture.h"

class LiveMapTest : public MapTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A page: trigger, commands (the end command added), a graphic or none.
  static EventPage Page(int32_t trigger, EventCommandList commands = {}, bool graphic = true);
  // A page that holds while self variable `slot` of its event is at least
  // value.
  static EventPage PageWhenSelf(int32_t slot, int32_t value, int32_t trigger, EventCommandList commands = {});
  // An event on tile (tileX, tileY) with these pages, built as the map
  // builds it, in id order.
  static MapEventState& AddPagedEvent(int32_t id, int32_t tileX, int32_t tileY, std::vector<EventPage> pages);
  static MapEventState& Event(int32_t id);
  static void Frame(int32_t count = 1);
  // Self variable `slot` of event id on the current map.
  static int32_t Self(int32_t id, int32_t slot);
  // Commands that add 1 to self variable `slot` of the running event.
  static EventCommandList CountInSelf(int32_t slot);
};
