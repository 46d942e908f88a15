#include "engine/events/MapHooks.h"

namespace {

int32_t NoMap() { return -1; }
bool NoCharacter(int32_t, CharacterPosition&) { return false; }
void IgnoreMove(int32_t, const CharacterPosition&) {}
int32_t NoFollowers() { return 0; }
bool Never() { return false; }
void IgnoreEvent(int32_t) {}
void Ignore() {}

constexpr MapHooks kDefaults = {NoMap,       NoCharacter, IgnoreMove, NoFollowers, NoCharacter,
                                IgnoreMove,  Never,       Never,      IgnoreEvent, Ignore};

MapHooks gHooks = kDefaults;

template <typename F>
F Or(F given, F fallback) {
  return given ? given : fallback;
}

}  // namespace

const MapHooks& CurrentMapHooks() { return gHooks; }

void SetMapHooks(const MapHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  gHooks = {Or(hooks->currentMapId, kDefaults.currentMapId),
            Or(hooks->mapEventPosition, kDefaults.mapEventPosition),
            Or(hooks->setMapEventPosition, kDefaults.setMapEventPosition),
            Or(hooks->followerCount, kDefaults.followerCount),
            Or(hooks->partyMemberPosition, kDefaults.partyMemberPosition),
            Or(hooks->setPartyMemberPosition, kDefaults.setPartyMemberPosition),
            Or(hooks->forcedMoveRouteRunning, kDefaults.forcedMoveRouteRunning),
            Or(hooks->isScrolling, kDefaults.isScrolling),
            Or(hooks->endTalkFacing, kDefaults.endTalkFacing),
            Or(hooks->requestPageRefresh, kDefaults.requestPageRefresh)};
}
