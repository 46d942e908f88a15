#include "tests/engine/map/LiveMapFixture.h"

#include <algorithm>

#include "engine/events/MapHooks.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/services/InputState.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/LiveMapGame.h"

void LiveMapTest::SetUp() {
  MapTest::SetUp();
  SetMapSceneHooks(nullptr);  // the game's hero
  UseMap(20, 15);
  ResetLiveMapGame(0, 14);  // the hero out of the way in the bottom left corner
}

void LiveMapTest::TearDown() {
  ResetRootInterpreter();
  PlayerHero = Hero(0);
  Input.Reset();
  SetMapHooks(nullptr);
  MapTest::TearDown();
}

EventPage LiveMapTest::Page(int32_t trigger, EventCommandList commands, bool graphic) {
  EventPage page;
  page.conditions.triggerKind = static_cast<uint8_t>(trigger);
  CommandListBuilder list;
  for (const EventCommand& c : commands) list.Add({c.arguments.begin(), c.arguments.end()}, {c.strings.begin(), c.strings.end()});
  page.commands = list.Build();
  page.commandCount = static_cast<int32_t>(page.commands.size());
  if (graphic) page.graphic.graphicId = 1;
  page.route.options[MoveRoute::kOptionBits] = 2;  // animates walking; blocks others
  return page;
}

EventPage LiveMapTest::PageWhenSelf(int32_t slot, int32_t value, int32_t trigger, EventCommandList commands) {
  EventPage page = Page(trigger, std::move(commands));
  page.conditions.flags[0] = 1 | (1 << 4);  // >=
  page.conditions.leftIds[0] = 1100000 + slot;
  page.conditions.rightOperands[0] = value;
  return page;
}

MapEventState& LiveMapTest::AddPagedEvent(int32_t id, int32_t tileX, int32_t tileY, std::vector<EventPage> pages) {
  MapEvent source(id);
  source.x = tileX;
  source.y = tileY;
  source.pages = std::move(pages);
  source.pageCount = static_cast<int32_t>(source.pages.size());
  MapData& data = CurrentMap.mapData;
  const auto at = std::find_if(data.events.begin(), data.events.end(), [id](const MapEvent& e) { return e.id > id; });
  const auto index = at - data.events.begin();
  data.events.insert(at, source);
  CurrentMap.events.insert(CurrentMap.events.begin() + index, MapEventState(CurrentMap, CurrentMap.mapId, source));
  return CurrentMap.events[static_cast<size_t>(index)];
}

MapEventState& LiveMapTest::Event(int32_t id) { return *CurrentMap.FindEvent(id); }

void LiveMapTest::Frame(int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    CurrentMap.Update();
    RootInterpreter.RunFrame();
    PlayerHero.Control();
  }
}

int32_t LiveMapTest::Self(int32_t id, int32_t slot) { return Variables.GetVariable(1000000 + id * 10 + slot); }

EventCommandList LiveMapTest::CountInSelf(int32_t slot) {
  // Without the end command: Page ends the list.
  return {CommandListBuilder().Variable(1100000 + slot, 1100000 + slot, 1, 0, 0).Build().front()};
}
