#include "engine/map/SceneMapHooks.h"

#include "engine/events/MapHooks.h"
#include "engine/map/MapScene.h"
#include "engine/map/MapSceneHooks.h"

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

const MapHooks kSceneHooks = {CurrentMapId,           MapEventPosition,    SetMapEventPosition,
                              FollowerCount,          PartyMemberPosition, SetPartyMemberPosition,
                              ForcedMoveRouteRunning, IsScrolling,         EndTalkFacing,
                              RequestPageRefresh};

}  // namespace

void InstallSceneMapHooks() { SetMapHooks(&kSceneHooks); }
