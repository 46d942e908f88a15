#pragma once
// Parts of the presentation that the map drawing and the graphics restore
// call and that tests replace with recording fakes: the pictures drawn
// between the map's layers, and the window skins, the wait cursor and the
// picture files reloaded after the display was lost. The pictures' defaults
// are the game's picture list; the windows live in the game scene, which
// installs its own (until then nothing is reloaded for them).

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
