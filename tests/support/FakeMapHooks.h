#pragma once
// A map scene for the tests of the variables and the interpreter: a current
// map id, map events by id (with pages, triggers and start requests in
// pages), a party (hero first, then followers) with its graphics, installed
// as the map hooks while the object lives. What the events ask of the map
// is recorded.

#include <cstdint>
#include <map>
#include <string>
#include <algorithm>
#include <utility>
#include <vector>

#include "engine/events/MapHooks.h"

struct FakeMapEvent {
  std::vector<EventCommandList> pages;
  int32_t activePage = 0;  // -1 none
  int32_t trigger = 0;
  bool startRequested = false;
};

class FakeMapHooks {
 public:
  int32_t mapId = -1;
  std::map<int32_t, CharacterPosition> events;
  std::vector<CharacterPosition> party;  // [0] the hero, [k] follower k
  bool moveRoutesRunning = false;
  bool scrolling = false;
  std::vector<int32_t> talkFacingEnded;  // map event ids, in call order
  int32_t pageRefreshRequests = 0;
  // Events with pages, in the map's order (ascending id); an id here counts
  // as an event on the map even without a position.
  std::map<int32_t, FakeMapEvent> eventPages;
  bool pageRefreshPending = false;
  int32_t pageRefreshes = 0;
  std::vector<int32_t> talkFacingBegun;
  std::vector<std::pair<int32_t, int32_t>> erased;  // id, frames
  std::vector<int32_t> routesForced;                 // character ids
  std::vector<std::string> partyGraphics = std::vector<std::string>(7);  // [1] hero .. [6]
  int32_t partyOpacity = -1;
  int32_t followerResets = 0;
  int32_t followersStopped = -1;  // -1 never set
  std::vector<int32_t> followerImages;
  // The map commands.
  struct Call {
    std::string what;
    std::vector<int32_t> values;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  int32_t heroDirection = 2;
  std::vector<int32_t> tileFlags;  // setTileFlag writes here
  int32_t tileSetCount = 0;
  MapViewState view;
  // What the variable operation plus reads: characters by id, and per
  // precise position a terrain tag, the three tile layers (-1 each where
  // none is given, as outside the map), the tiles' and the hero's way.
  std::map<int32_t, CharacterFacts> characterFacts;
  std::map<std::pair<int32_t, int32_t>, int32_t> terrainTags;
  std::map<std::pair<int32_t, int32_t>, std::vector<int32_t>> tileLayers;
  std::vector<std::pair<int32_t, int32_t>> passable;
  std::vector<std::pair<int32_t, int32_t>> heroEnterable;
  int32_t eventUnderMouse = -1;
  std::pair<int32_t, int32_t> mouseAsked{-1, -1};

  // The event's pages; created on first use.
  FakeMapEvent& Event(int32_t id) { return eventPages[id]; }

  FakeMapHooks();
  ~FakeMapHooks();
  FakeMapHooks(const FakeMapHooks&) = delete;
  FakeMapHooks& operator=(const FakeMapHooks&) = delete;
};
