#include "engine/map/SceneMapHooks.h"

#include <string>
#include <vector>

#include "engine/events/MapHooks.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/map/MapReadings.h"

namespace {

CharacterPosition PositionOf(const MapCharacter& c) { return {c.preciseX, c.preciseY, c.height}; }

void Move(MapCharacter& c, const CharacterPosition& position) {
  c.preciseX = position.preciseX;
  c.preciseY = position.preciseY;
  c.height = position.height;
}

int32_t CurrentMapId() { return CurrentMap.mapId; }

bool MapEventPosition(int32_t eventId, CharacterPosition& out) {
  if (eventId < 0) return false;
  const MapCharacter* c = FindCharacter(eventId);
  if (!c) return false;
  out = PositionOf(*c);
  return true;
}

void SetMapEventPosition(int32_t eventId, const CharacterPosition& position) {
  if (eventId < 0) return;
  if (MapCharacter* c = FindCharacter(eventId)) Move(*c, position);
}

// More followers than any party holds means a table that never ends.
constexpr int32_t kMaxFollowers = 1000;

int32_t FollowerCount() {
  int32_t count = 0;
  while (count < kMaxFollowers && CurrentMapSceneHooks().follower(count)) ++count;
  return count;
}

// Party member 0 is the hero, k the k-th follower.
MapCharacter* PartyMember(int32_t member) {
  if (member < 0) return nullptr;
  return FindCharacter(member == 0 ? MapCharacter::kHeroId : MapCharacter::kFirstFollowerId - (member - 1));
}

bool PartyMemberPosition(int32_t member, CharacterPosition& out) {
  const MapCharacter* c = PartyMember(member);
  if (!c) return false;
  out = PositionOf(*c);
  return true;
}

void SetPartyMemberPosition(int32_t member, const CharacterPosition& position) {
  if (MapCharacter* c = PartyMember(member)) Move(*c, position);
}

// Any map event, the hero or a follower still on a forced move route.
bool ForcedMoveRouteRunning() {
  for (const MapEventState& e : CurrentMap.events) {
    if (e.forcedRoute) return true;
  }
  for (int32_t member = 0; member <= FollowerCount(); ++member) {
    const MapCharacter* c = PartyMember(member);
    if (c && c->forcedRoute) return true;
  }
  return false;
}

bool IsScrolling() { return CurrentMap.IsScrolling(); }

void EndTalkFacing(int32_t eventId) {
  if (eventId < 0) return;
  if (MapCharacter* c = FindCharacter(eventId)) c->EndTalkFacing();
}

void RequestPageRefresh() { CurrentMap.RequestPageRefresh(); }

void RefreshPagesIfRequested() {
  if (CurrentMap.pageRefresh) CurrentMap.RefreshPages();
}

bool FirstStartRequest(int32_t& eventId, int32_t& trigger) {
  for (const MapEventState& e : CurrentMap.events) {
    if (!e.startRequested) continue;
    eventId = e.id;
    trigger = e.trigger;
    return true;
  }
  return false;
}

void ClearStartRequest(int32_t eventId) {
  if (MapEventState* e = CurrentMap.FindEvent(eventId)) e->startRequested = 0;
}

void BeginTalkFacing(int32_t eventId) {
  if (MapCharacter* c = eventId >= 0 ? FindCharacter(eventId) : nullptr) c->BeginTalkFacing();
}

int32_t MapEventPageCount(int32_t eventId) {
  const MapEventState* e = CurrentMap.FindEvent(eventId);
  return e ? static_cast<int32_t>(e->mapEvent.pages.size()) : -1;
}

const EventPage* PageOf(const MapEventState& e, int32_t page) {
  const int32_t at = page < 0 ? e.pageIndex : page;
  if (at < 0 || static_cast<size_t>(at) >= e.mapEvent.pages.size()) return nullptr;
  return &e.mapEvent.pages[static_cast<size_t>(at)];
}

bool MapEventCommands(int32_t eventId, int32_t page, std::vector<EventCommand>& out) {
  const MapEventState* e = CurrentMap.FindEvent(eventId);
  const EventPage* p = e ? PageOf(*e, page) : nullptr;
  if (!p) return false;
  out = p->commands;
  return true;
}

void RequestStart(int32_t eventId) {
  MapEventState* e = CurrentMap.FindEvent(eventId);
  const EventPage* p = e ? PageOf(*e, -1) : nullptr;
  // A page of the end command alone has nothing to run.
  if (!p || p->commands.size() <= 1 || e->eraseCounter >= 0) return;
  e->startRequested = 1;
}

void StartErase(int32_t eventId, int32_t frames) {
  if (MapEventState* e = CurrentMap.FindEvent(eventId)) {
    e->eraseStartOpacity = e->opacity;
    e->eraseCounter = e->eraseTotal = frames;
  }
}

std::string PartyGraphic(int32_t member) {
  const MapCharacter* c = PartyMember(member - 1);
  return c ? c->graphicFile : std::string();
}

void SetPartyGraphic(int32_t member, const std::string& name) {
  if (MapCharacter* c = PartyMember(member - 1)) c->graphicFile = name;
}

void SetPartyOpacity(int32_t opacity) {
  for (int32_t member = 0; member <= FollowerCount(); ++member) {
    if (MapCharacter* c = PartyMember(member)) c->opacity = static_cast<int16_t>(opacity);
  }
}

MapHooks SceneHooks() {
  MapHooks hooks{};
  hooks.currentMapId = CurrentMapId;
  hooks.mapEventPosition = MapEventPosition;
  hooks.setMapEventPosition = SetMapEventPosition;
  hooks.followerCount = FollowerCount;
  hooks.partyMemberPosition = PartyMemberPosition;
  hooks.setPartyMemberPosition = SetPartyMemberPosition;
  hooks.forcedMoveRouteRunning = ForcedMoveRouteRunning;
  hooks.isScrolling = IsScrolling;
  hooks.endTalkFacing = EndTalkFacing;
  hooks.requestPageRefresh = RequestPageRefresh;
  hooks.refreshPagesIfRequested = RefreshPagesIfRequested;
  hooks.firstStartRequest = FirstStartRequest;
  hooks.clearStartRequest = ClearStartRequest;
  hooks.beginTalkFacing = BeginTalkFacing;
  hooks.mapEventPageCount = MapEventPageCount;
  hooks.mapEventCommands = MapEventCommands;
  hooks.requestStart = RequestStart;
  hooks.startErase = StartErase;
  hooks.partyGraphic = PartyGraphic;
  hooks.setPartyGraphic = SetPartyGraphic;
  hooks.setPartyOpacity = SetPartyOpacity;
  AddMapReadings(hooks);
  return hooks;
}

const MapHooks kSceneHooks = SceneHooks();

}  // namespace

void InstallSceneMapHooks() { SetMapHooks(&kSceneHooks); }
