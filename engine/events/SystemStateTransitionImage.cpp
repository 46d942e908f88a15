// The transition image of the screen transitions: the file named by an entry
// of the transition images (system database type 11), made as a
// blend-graphic image that the layer reloads by itself after a lost display.

#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kTransitionImagesType = 11;

}  // namespace

void SystemState::LoadTransitionImage(int32_t number, int32_t frames, uint8_t waitFlag) {
  if (transitionImage != 0) DeleteGraphic(transitionImage);
  transitionImage = 0;
  if (number >= 0) {
    transitionImageName = DataFolder() + SystemDatabase.GetString(kTransitionImagesType, number, 0);
    const int graphic = LoadGraphicFileForced(transitionImageName.c_str());
    if (graphic >= 0) transitionImage = graphic;
    plainFade = 0;
  } else {
    transitionImageName.clear();
    plainFade = 1;
  }
  transitionTotal = frames;
  transitionWait = waitFlag;
}
