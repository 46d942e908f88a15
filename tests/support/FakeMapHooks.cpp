#include "tests/support/FakeMapHooks.h"

#include <cstddef>

namespace {

FakeMapHooks* gMap = nullptr;

}  // namespace

FakeMapHooks::FakeMapHooks() {
  gMap = this;
  static const MapHooks kHooks = {
      [] { return gMap->mapId; },
      [](int32_t id, CharacterPosition& out) {
        auto found = gMap->events.find(id);
        if (found == gMap->events.end()) return false;
        out = found->second;
        return true;
      },
      [](int32_t id, const CharacterPosition& at) {
        if (gMap->events.count(id)) gMap->events[id] = at;
      },
      [] { return gMap->party.empty() ? 0 : static_cast<int32_t>(gMap->party.size()) - 1; },
      [](int32_t member, CharacterPosition& out) {
        if (member < 0 || static_cast<size_t>(member) >= gMap->party.size()) return false;
        out = gMap->party[static_cast<size_t>(member)];
        return true;
      },
      [](int32_t member, const CharacterPosition& at) {
        if (member >= 0 && static_cast<size_t>(member) < gMap->party.size()) gMap->party[static_cast<size_t>(member)] = at;
      },
      [] { return gMap->moveRoutesRunning; },
      [] { return gMap->scrolling; },
      [](int32_t id) { gMap->talkFacingEnded.push_back(id); },
      [] { ++gMap->pageRefreshRequests; },
  };
  SetMapHooks(&kHooks);
}

FakeMapHooks::~FakeMapHooks() {
  SetMapHooks(nullptr);
  gMap = nullptr;
}
