#include "tests/support/LiveMapGame.h"

#include "engine/events/RootInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/SceneMapHooks.h"
#include "engine/services/InputState.h"

void ResetLiveMapGame(int32_t heroTileX, int32_t heroTileY) {
  InstallSceneMapHooks();
  RootRunner = RootEventRunner();
  Variables = VariableStore();
  SystemStateHub = SystemState();
  ResetRootInterpreter();
  Input.Reset();
  PlayerHero = Hero();
  PlayerHero.PlaceCharacter(heroTileX, heroTileY);
  PlayerHero.ResetFollowers();
}
