#include "engine/presentation/pictures/LivePictureHooks.h"

#include "engine/events/PictureHooks.h"
#include "engine/presentation/pictures/PictureList.h"

namespace {

PictureShowArguments ShowArgumentsOf(const PictureRequest& r) {
  PictureShowArguments a;
  a.divX = r.divX;
  a.divY = r.divY;
  a.x = r.x;
  a.y = r.y;
  a.pattern = r.pattern;
  a.opacity = r.opacity;
  a.blend = r.blend;
  a.frames = r.frames;
  a.angle = r.angle;
  a.anchor = r.anchor;
  a.color = r.color;
  a.delay = r.delay;
  a.relative = r.relative;
  return a;
}

PictureMoveArguments MoveArgumentsOf(const PictureRequest& r) {
  PictureMoveArguments a;
  a.x = r.x;
  a.y = r.y;
  a.pattern = r.pattern;
  a.opacity = r.opacity;
  a.blend = r.blend;
  a.frames = r.frames;
  a.angle = r.angle;
  a.color = r.color;
  a.delay = r.delay;
  a.relative = r.relative;
  return a;
}

const PictureHooks kLive = {
    [](const PictureRequest& r) {
      GamePictures.Show(r.first, r.last, r.text, ShowArgumentsOf(r), r.zoom, r.zoomMode, r.ninePiece);
    },
    [](const PictureRequest& r) {
      GamePictures.ShowText(r.first, r.last, r.text, ShowArgumentsOf(r), r.zoom, r.zoomMode);
    },
    [](const PictureRequest& r) { GamePictures.Move(r.first, r.last, MoveArgumentsOf(r), r.zoom, r.zoomMode); },
    [](int32_t first, int32_t last, int32_t frames, int32_t delay, int32_t color) {
      GamePictures.Erase(first, last, frames, delay, color);
    },
    [](int32_t first, int32_t last) { GamePictures.CancelDelays(first, last); },
    [](int32_t first, int32_t last, int32_t kind, int32_t a, int32_t b, int32_t c, int32_t frames) {
      GamePictures.ApplyEffect(first, last, kind, a, b, c, frames);
    },
    [](int32_t number, int32_t property) { return GamePictures.QueryProperty(number, property); },
};

}  // namespace

void InstallLivePictureHooks() { SetPictureHooks(&kLive); }
