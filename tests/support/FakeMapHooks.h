#pragma once
// A map scene for the tests of the variables: a current map id, map events
// by id and a party (hero first, then followers), installed as the map hooks
// while the object lives.

#include <cstdint>
#include <map>
#include <vector>

#include "engine/events/MapHooks.h"

class FakeMapHooks {
 public:
  int32_t mapId = -1;
  std::map<int32_t, CharacterPosition> events;
  std::vector<CharacterPosition> party;  // [0] the hero, [k] follower k
  bool moveRoutesRunning = false;
  bool scrolling = false;
  std::vector<int32_t> talkFacingEnded;  // map event ids, in call order
  int32_t pageRefreshRequests = 0;

  FakeMapHooks();
  ~FakeMapHooks();
  FakeMapHooks(const FakeMapHooks&) = delete;
  FakeMapHooks& operator=(const FakeMapHooks&) = delete;
};
