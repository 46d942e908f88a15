#pragma once
// What the picture command, the picture effects and the variable operation
// plus need of the pictures, which live on the presentation floor above.
// The presentation installs the live list's operations; until then, and in
// tests that put a recording fake in their place, nothing is shown and
// every property reads -1.
//
// Ranges are the first and last picture number, both included.

#include <cstdint>
#include <string>

// A show or a move as the picture command reads it.
struct PictureRequest {
  int32_t first = 0;
  int32_t last = 0;
  std::string text;  // the file name, or the expanded text of a text picture
  int32_t divX = 1;  // split counts, or width and height of a nine-piece picture
  int32_t divY = 1;
  int32_t x = 0;
  int32_t y = 0;
  int32_t pattern = 1;
  int32_t opacity = 255;
  int32_t blend = 0;  // index in the low four bits; 0x100 follows the map (shows only)
  int32_t frames = 0;
  int32_t zoom = 100;
  int32_t zoomMode = 0;  // 0 both axes, 1 the height only, 2 the width only
  int32_t angle = 0;
  int32_t anchor = 0;  // shows only
  int32_t color = 0x646464;
  int32_t delay = 0;
  bool relative = false;
  bool ninePiece = false;  // image shows only

  bool operator==(const PictureRequest&) const = default;
};

struct PictureHooks {
  void (*show)(const PictureRequest& request);
  void (*showText)(const PictureRequest& request);
  void (*move)(const PictureRequest& request);
  void (*erase)(int32_t first, int32_t last, int32_t frames, int32_t delay, int32_t color);
  void (*cancelDelays)(int32_t first, int32_t last);
  // kind 0 flash, 1 tint, 2 offset, 3 shake, 4 zoom about a point.
  void (*applyEffect)(int32_t first, int32_t last, int32_t kind, int32_t a, int32_t b, int32_t c, int32_t frames);
  // -1 when no picture has the number or the property is not 0-8.
  int32_t (*queryProperty)(int32_t number, int32_t property);
};

const PictureHooks& CurrentPictureHooks();
// Null restores the defaults; entries left null take the default.
void SetPictureHooks(const PictureHooks* hooks);
