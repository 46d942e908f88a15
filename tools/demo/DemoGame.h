#pragma once
// The demo game: a town where a new game starts and the rooms its doors
// lead to. Everything is made here, from the project's own format writers
// and pictures drawn from shapes. Each room has its own file; what the
// rooms share is in DemoAssets and DemoMaps.

#include <string>

#include "tests/support/GameFolderWriter.h"
#include "tools/demo/DemoAssets.h"
#include "tools/demo/DemoMaps.h"
#include "tools/demo/Field.h"
#include "tools/demo/Gallery.h"
#include "tools/demo/SmallRoom.h"
#include "tools/demo/Town.h"

namespace demo {

// The whole game.
GameFolderContent DemoGame();
void WriteDemoGame(const std::string& folder);

}  // namespace demo
