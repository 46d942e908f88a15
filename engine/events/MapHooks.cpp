#include "engine/events/MapHooks.h"

namespace {

int32_t NoMap() { return -1; }
bool NoCharacter(int32_t, CharacterPosition&) { return false; }
void IgnoreMove(int32_t, const CharacterPosition&) {}
int32_t NoFollowers() { return 0; }
bool Never() { return false; }
void IgnoreEvent(int32_t) {}
void Ignore() {}
bool NoStartRequest(int32_t&, int32_t&) { return false; }
int32_t NoPages(int32_t) { return -1; }
bool NoCommands(int32_t, int32_t, EventCommandList&) { return false; }
void IgnoreErase(int32_t, int32_t) {}
void IgnoreRoute(int32_t, const MoveRoute&) {}
std::string NoGraphic(int32_t) { return ""; }
void IgnoreGraphic(int32_t, const std::string&) {}
void IgnoreFlag(bool) {}
bool NoFacts(int32_t, CharacterFacts&) { return false; }
int32_t NoTag(int32_t, int32_t) { return 0; }
int32_t NoEventAt(int32_t, int32_t, bool) { return -1; }
bool Closed(int32_t, int32_t) { return false; }
int32_t OutsideMap(int32_t, int32_t, int32_t) { return -1; }
int32_t NoEventUnder(int32_t, int32_t) { return -1; }
EventCommandList* NoList(int32_t, int32_t, int32_t) { return nullptr; }
void IgnorePlace(int32_t, int32_t, int32_t) {}
int32_t FacingDown() { return 2; }
bool NoTable(int32_t, int32_t) { return false; }
bool NoTileSet(int32_t) { return false; }
void IgnoreTiles(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}
void NoView(MapViewState& out) { out = MapViewState{}; }
void IgnoreShake(int32_t, int32_t, int32_t, int32_t) {}
void IgnoreScroll(int32_t, int32_t, int32_t) {}
void IgnoreCharacterShake(int32_t, int32_t, int32_t, int32_t, int32_t) {}

constexpr MapHooks kDefaults = {NoMap,       NoCharacter, IgnoreMove, NoFollowers, NoCharacter,
                                IgnoreMove,  Never,       Never,      IgnoreEvent, Ignore,
                                Ignore,      NoStartRequest, IgnoreEvent, IgnoreEvent, NoPages,
                                NoCommands,  IgnoreEvent, IgnoreErase, IgnoreRoute, NoGraphic,
                                IgnoreGraphic, IgnoreEvent, Ignore,   IgnoreFlag,  IgnoreEvent,
                                NoList,      IgnorePlace, FacingDown, NoTable,    Ignore,
                                NoTileSet,   IgnoreTiles, NoView,     IgnoreShake, Ignore,
                                IgnoreScroll, IgnoreShake, IgnorePlace, IgnoreCharacterShake,
                                NoFacts,     NoTag,       NoEventAt,  Closed,      Closed,
                                OutsideMap,  NoEventUnder};

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
            Or(hooks->requestPageRefresh, kDefaults.requestPageRefresh),
            Or(hooks->refreshPagesIfRequested, kDefaults.refreshPagesIfRequested),
            Or(hooks->firstStartRequest, kDefaults.firstStartRequest),
            Or(hooks->clearStartRequest, kDefaults.clearStartRequest),
            Or(hooks->beginTalkFacing, kDefaults.beginTalkFacing),
            Or(hooks->mapEventPageCount, kDefaults.mapEventPageCount),
            Or(hooks->mapEventCommands, kDefaults.mapEventCommands),
            Or(hooks->requestStart, kDefaults.requestStart),
            Or(hooks->startErase, kDefaults.startErase),
            Or(hooks->forceMoveRoute, kDefaults.forceMoveRoute),
            Or(hooks->partyGraphic, kDefaults.partyGraphic),
            Or(hooks->setPartyGraphic, kDefaults.setPartyGraphic),
            Or(hooks->setPartyOpacity, kDefaults.setPartyOpacity),
            Or(hooks->resetFollowers, kDefaults.resetFollowers),
            Or(hooks->setFollowersStopped, kDefaults.setFollowersStopped),
            Or(hooks->renewFollowerImages, kDefaults.renewFollowerImages),
            Or(hooks->mapEventPageList, kDefaults.mapEventPageList),
            Or(hooks->placeCharacter, kDefaults.placeCharacter),
            Or(hooks->heroDirection, kDefaults.heroDirection),
            Or(hooks->setTileFlag, kDefaults.setTileFlag),
            Or(hooks->restoreTileFlags, kDefaults.restoreTileFlags),
            Or(hooks->changeTileSet, kDefaults.changeTileSet),
            Or(hooks->rewriteTiles, kDefaults.rewriteTiles),
            Or(hooks->mapView, kDefaults.mapView),
            Or(hooks->startShake, kDefaults.startShake),
            Or(hooks->stopShake, kDefaults.stopShake),
            Or(hooks->requestScroll, kDefaults.requestScroll),
            Or(hooks->startZoom, kDefaults.startZoom),
            Or(hooks->setCharacterEffect, kDefaults.setCharacterEffect),
            Or(hooks->startCharacterShake, kDefaults.startCharacterShake),
            Or(hooks->characterFacts, kDefaults.characterFacts),
            Or(hooks->terrainTagAt, kDefaults.terrainTagAt),
            Or(hooks->eventAt, kDefaults.eventAt),
            Or(hooks->tilesPassable, kDefaults.tilesPassable),
            Or(hooks->heroCanEnter, kDefaults.heroCanEnter),
            Or(hooks->tileAt, kDefaults.tileAt),
            Or(hooks->eventUnderMouse, kDefaults.eventUnderMouse)};
}
