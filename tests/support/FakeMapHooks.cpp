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
      [] {
        if (!gMap->pageRefreshPending) return;
        gMap->pageRefreshPending = false;
        ++gMap->pageRefreshes;
      },
      [](int32_t& id, int32_t& trigger) {
        for (auto& [eventId, event] : gMap->eventPages) {
          if (!event.startRequested) continue;
          id = eventId;
          trigger = event.trigger;
          return true;
        }
        return false;
      },
      [](int32_t id) {
        if (gMap->eventPages.count(id)) gMap->eventPages[id].startRequested = false;
      },
      [](int32_t id) { gMap->talkFacingBegun.push_back(id); },
      [](int32_t id) {
        auto found = gMap->eventPages.find(id);
        return found == gMap->eventPages.end() ? -1 : static_cast<int32_t>(found->second.pages.size());
      },
      [](int32_t id, int32_t page, EventCommandList& out) {
        auto found = gMap->eventPages.find(id);
        if (found == gMap->eventPages.end()) return false;
        const int32_t at = page < 0 ? found->second.activePage : page;
        if (at < 0 || static_cast<size_t>(at) >= found->second.pages.size()) return false;
        out = found->second.pages[static_cast<size_t>(at)];
        return true;
      },
      [](int32_t id) {
        auto found = gMap->eventPages.find(id);
        if (found == gMap->eventPages.end()) return;
        for (const auto& [erasedId, frames] : gMap->erased) {
          if (erasedId == id) return;
        }
        const int32_t at = found->second.activePage;
        if (at >= 0 && static_cast<size_t>(at) < found->second.pages.size() && found->second.pages[static_cast<size_t>(at)].size() > 1) {
          found->second.startRequested = true;
        }
      },
      [](int32_t id, int32_t frames) { gMap->erased.emplace_back(id, frames); },
      [](int32_t id, const MoveRoute&) { gMap->routesForced.push_back(id); },
      [](int32_t member) {
        return member >= 1 && member <= 6 ? gMap->partyGraphics[static_cast<size_t>(member)] : std::string();
      },
      [](int32_t member, const std::string& name) {
        if (member >= 1 && member <= 6) gMap->partyGraphics[static_cast<size_t>(member)] = name;
      },
      [](int32_t opacity) { gMap->partyOpacity = opacity; },
      [] { ++gMap->followerResets; },
      [](bool stopped) { gMap->followersStopped = stopped; },
      [](int32_t image) { gMap->followerImages.push_back(image); },
      [](int32_t, int32_t id, int32_t page) -> EventCommandList* {
        auto found = gMap->eventPages.find(id);
        if (found == gMap->eventPages.end() || page < 0 || static_cast<size_t>(page) >= found->second.pages.size()) {
          return nullptr;
        }
        return &found->second.pages[static_cast<size_t>(page)];
      },
      [](int32_t id, int32_t x, int32_t y) { gMap->calls.push_back({"place", {id, x, y}}); },
      [] { return gMap->heroDirection; },
      [](int32_t index, int32_t flags) {
        if (index < 0 || static_cast<size_t>(index) >= gMap->tileFlags.size()) return false;
        gMap->tileFlags[static_cast<size_t>(index)] = flags;
        return true;
      },
      [] { gMap->calls.push_back({"restoreFlags", {}}); },
      [](int32_t number) {
        gMap->calls.push_back({"tileSet", {number}});
        return number >= 0 && number < gMap->tileSetCount;
      },
      [](int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h, int32_t tile) {
        gMap->calls.push_back({"tiles", {layer, x, y, w, h, tile}});
      },
      [](MapViewState& out) { out = gMap->view; },
      [](int32_t a, int32_t b, int32_t axis, int32_t frames) { gMap->calls.push_back({"shake", {a, b, axis, frames}}); },
      [] { gMap->calls.push_back({"stopShake", {}}); },
      [](int32_t dx, int32_t dy, int32_t speed) { gMap->calls.push_back({"scroll", {dx, dy, speed}}); },
      [](int32_t x, int32_t y, int32_t zoom, int32_t frames) { gMap->calls.push_back({"zoom", {x, y, zoom, frames}}); },
      [](int32_t id, int32_t colour, int32_t frames) { gMap->calls.push_back({"effect", {id, colour, frames}}); },
      [](int32_t id, int32_t ax, int32_t ay, int32_t swings, int32_t period) {
        gMap->calls.push_back({"characterShake", {id, ax, ay, swings, period}});
      },
      [](int32_t id, CharacterFacts& out) {
        auto found = gMap->characterFacts.find(id);
        if (found == gMap->characterFacts.end()) return false;
        out = found->second;
        return true;
      },
      [](int32_t x, int32_t y) {
        auto found = gMap->terrainTags.find({x, y});
        return found == gMap->terrainTags.end() ? 0 : found->second;
      },
      [](int32_t x, int32_t y, bool precise) {
        for (const auto& [id, at] : gMap->events) {
          if (precise ? (at.preciseX == x && at.preciseY == y) : (at.preciseX / 2 == x && at.preciseY / 2 == y)) return id;
        }
        return -1;
      },
      [](int32_t x, int32_t y) {
        return std::find(gMap->passable.begin(), gMap->passable.end(), std::make_pair(x, y)) != gMap->passable.end();
      },
      [](int32_t x, int32_t y) {
        return std::find(gMap->heroEnterable.begin(), gMap->heroEnterable.end(), std::make_pair(x, y)) !=
               gMap->heroEnterable.end();
      },
      [](int32_t x, int32_t y, int32_t layer) {
        auto found = gMap->tileLayers.find({x, y});
        if (found == gMap->tileLayers.end() || layer < 0 || static_cast<size_t>(layer) >= found->second.size()) return -1;
        return found->second[static_cast<size_t>(layer)];
      },
      [](int32_t x, int32_t y) {
        gMap->mouseAsked = {x, y};
        return gMap->eventUnderMouse;
      },
  };
  SetMapHooks(&kHooks);
}

FakeMapHooks::~FakeMapHooks() {
  SetMapHooks(nullptr);
  gMap = nullptr;
}
