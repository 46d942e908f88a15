#include "engine/map/SceneMapHooks.h"

#include <string>
#include <vector>

#include "engine/events/MapHooks.h"
#include "engine/map/Hero.h"
#include "engine/map/MapReadings.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"
#include "engine/map/MapSettings.h"

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
  if (MapEventState* e = CurrentMap.FindEvent(eventId)) e->ClearStartRequest();
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

bool MapEventCommands(int32_t eventId, int32_t page, EventCommandList& out) {
  const MapEventState* e = CurrentMap.FindEvent(eventId);
  const EventPage* p = e ? PageOf(*e, page) : nullptr;
  if (!p) return false;
  out = p->commands;
  return true;
}

void RequestStart(int32_t eventId) {
  if (MapEventState* e = CurrentMap.FindEvent(eventId)) e->RequestStart();
}

void StartErase(int32_t eventId, int32_t frames) {
  if (MapEventState* e = CurrentMap.FindEvent(eventId)) e->StartErase(frames);
}

void ForceMoveRoute(int32_t characterId, const MoveRoute& route) {
  if (MapCharacter* c = FindCharacter(characterId)) c->ForceMoveRoute(route);
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

void ResetFollowers() { PlayerHero.ResetFollowers(); }

void SetFollowersStopped(bool stopped) {
  PlayerHero.followersInStep = stopped ? 1 : 0;
  PlayerHero.lastStep = 0;
}

void RenewFollowerImages(int32_t extraImage) {
  for (MapCharacter& f : PlayerHero.followers) {
    f.extraImageLoaded = -1;
    if (f.extraBytes.empty()) f.extraBytes.resize(1);
    f.extraBytes[0] = static_cast<uint8_t>(extraImage);
  }
}

EventCommandList* MapEventPageList(int32_t mapId, int32_t eventId, int32_t page) {
  if (mapId != CurrentMap.mapId) return nullptr;
  MapEventState* e = CurrentMap.FindEvent(eventId);
  if (!e || page < 0 || static_cast<size_t>(page) >= e->mapEvent.pages.size()) return nullptr;
  return &e->mapEvent.pages[static_cast<size_t>(page)].commands;
}

void PlaceCharacter(int32_t characterId, int32_t tileX, int32_t tileY) {
  if (MapCharacter* c = FindCharacter(characterId)) c->PlaceCharacter(tileX, tileY);
}

int32_t HeroDirection() {
  const MapCharacter* hero = CurrentMapSceneHooks().hero();
  return hero ? hero->direction : 2;
}

bool SetTileFlag(int32_t index, int32_t flags) { return CurrentMap.SetTileFlag(index, flags); }
void RestoreTileFlags() { CurrentMap.RestoreTileFlags(); }
bool ChangeTileSet(int32_t number) { return CurrentMap.ChangeTileSet(number); }

void RewriteTiles(int32_t layer, int32_t x, int32_t y, int32_t w, int32_t h, int32_t tile) {
  CurrentMap.RewriteTiles(layer, x, y, w, h, tile);
}

void ViewState(MapViewState& out) {
  const MapScene& map = CurrentMap;
  out.width = map.HasMap() ? map.Width() : 0;
  out.height = map.HasMap() ? map.Height() : 0;
  out.loopX = map.loopX != 0;
  out.loopY = map.loopY != 0;
  out.scrollX = map.scrollX;
  out.scrollY = map.scrollY;
  out.tileUnit = CurrentMapSettings.tileUnit;
}

void StartShake(int32_t a, int32_t b, int32_t axis, int32_t frames) { CurrentMap.StartShake(a, b, axis, frames); }
void StopShake() { CurrentMap.StopShake(); }
void RequestScroll(int32_t dx, int32_t dy, int32_t speed) { CurrentMap.RequestScroll(dx, dy, speed); }

void StartZoom(int32_t centreX, int32_t centreY, int32_t percent, int32_t frames) {
  CurrentMap.StartZoom(centreX, centreY, percent, frames);
}

void SetCharacterEffect(int32_t characterId, int32_t packedColour, int32_t frames) {
  if (MapCharacter* c = FindCharacter(characterId)) c->SetEffect(packedColour, frames);
}

void StartCharacterShake(int32_t characterId, int32_t ampX, int32_t ampY, int32_t swings, int32_t period) {
  if (MapCharacter* c = FindCharacter(characterId)) c->StartShake(ampX, ampY, swings, period);
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
  hooks.forceMoveRoute = ForceMoveRoute;
  hooks.resetFollowers = ResetFollowers;
  hooks.setFollowersStopped = SetFollowersStopped;
  hooks.renewFollowerImages = RenewFollowerImages;
  hooks.mapEventPageList = MapEventPageList;
  hooks.placeCharacter = PlaceCharacter;
  hooks.heroDirection = HeroDirection;
  hooks.setTileFlag = SetTileFlag;
  hooks.restoreTileFlags = RestoreTileFlags;
  hooks.changeTileSet = ChangeTileSet;
  hooks.rewriteTiles = RewriteTiles;
  hooks.mapView = ViewState;
  hooks.startShake = StartShake;
  hooks.stopShake = StopShake;
  hooks.requestScroll = RequestScroll;
  hooks.startZoom = StartZoom;
  hooks.setCharacterEffect = SetCharacterEffect;
  hooks.startCharacterShake = StartCharacterShake;
  AddMapReadings(hooks);
  return hooks;
}

const MapHooks kSceneHooks = SceneHooks();

}  // namespace

void InstallSceneMapHooks() { SetMapHooks(&kSceneHooks); }
