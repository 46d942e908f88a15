#pragma once
// Parts of the presentation that the map drawing and the graphics restore
// call but that come later or live in the game scene: the pictures drawn
// between the map's layers, and the window skins, the wait cursor and the
// picture files reloaded after the display was lost. Their owners install
// their functions here (the game scene those of its windows); until then
// nothing is drawn or reloaded.

#include <cstdint>

struct PresentationHooks {
  // The pictures of one layer: -2 those numbered -100000 and below (behind
  // the tiles), -1 those from -99999 to -1 (above the lower tiles).
  void (*drawPictures)(int32_t layer);
  // The choice window's skins and the message window's wait cursor.
  void (*loadChoiceSkins)();
  void (*loadWaitCursor)();
  // Every image of the picture file table.
  void (*reloadPictureFiles)();
};

// The installed table; its members are never null.
const PresentationHooks& CurrentPresentationHooks();

// Null restores the defaults; a null member gets its default.
void SetPresentationHooks(const PresentationHooks* hooks);
