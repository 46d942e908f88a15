#include "tools/demo/Gallery.h"

#include <vector>

#include "tests/support/CommandListBuilder.h"
#include "tools/demo/DemoImages.h"
#include "tools/demo/DemoMaps.h"
#include "tools/demo/Town.h"

namespace demo {

namespace {

constexpr int32_t kShowEventId = 2;
// A cell of the tile sheet left empty: the floor has a window in it.
constexpr int32_t kNoFloorTile = 7;

constexpr int32_t kPictureCommand = 150;
constexpr int32_t kToneCommand = 151;
constexpr int32_t kSpeechCommand = 141;
constexpr int32_t kSetTransition = 160;
constexpr int32_t kPrepareTransition = 161;
constexpr int32_t kRunTransition = 162;
constexpr int32_t kMapDrawingOff = 177;
constexpr int32_t kMapDrawingOn = 178;
constexpr int32_t kWait = 180;
constexpr int32_t kEffectCommand = 290;

// Picture command flag words.
enum PictureSource : int32_t { kFile = 0, kText = 2, kWindowFrame = 3 };
constexpr int32_t kRange = 0x1000000;
constexpr int32_t kFollowMap = 0x2000000;
constexpr int32_t kCentred = 1;
constexpr int32_t kAdditive = 1;
constexpr int32_t kKeep = -1000000;
// Picture colours: (R + 100) x 65536 + (G + 100) x 256 + (B + 100).
constexpr int32_t kNeutral = 0x646464;
constexpr int32_t Colour(int32_t r, int32_t g, int32_t b) { return (r + 100) << 16 | (g + 100) << 8 | (b + 100); }
// The screen tone keeps red in the low byte.
constexpr int32_t Tone(int32_t r, int32_t g, int32_t b) { return (r + 100) | (g + 100) << 8 | (b + 100) << 16; }
constexpr int32_t kToneIsFlash = 1 << 24;

struct Show {
  int32_t number;
  int32_t source = kFile;
  std::string what;  // the file, or the text
  int32_t x = 0, y = 0;
  int32_t splitX = 1, splitY = 1;  // a window frame: its width and height
  int32_t pattern = 1;
  int32_t blend = 0;
  int32_t anchor = 0;
  int32_t zoom = 100, zoomAxes = 0;
  int32_t angle = 0;
  int32_t opacity = 255;
  int32_t colour = kNeutral;
  int32_t delay = 0;
  int32_t frames = 0;
  int32_t extra = 0;
};

CommandListBuilder& Add(CommandListBuilder& b, const Show& s) {
  const int32_t word = s.source << 4 | s.blend << 8 | s.anchor << 12 | s.zoomAxes << 20 | s.extra;
  return b.Add({kPictureCommand, word, s.number, s.frames, s.splitX, s.splitY, s.pattern, s.opacity, s.x, s.y, s.zoom,
                s.angle, 0, s.colour, s.delay},
               {s.what});
}

// Effect kinds on pictures: flash, tint, offset, shake, zoom about a point.
CommandListBuilder& Effect(CommandListBuilder& b, int32_t kind, int32_t frames, int32_t first, int32_t last, int32_t a,
                           int32_t bValue, int32_t c) {
  return b.Add({kEffectCommand, kind << 4, frames, first, last, a, bValue, c});
}

EventCommandList ShowCommands() {
  CommandListBuilder b;
  // Stars behind the map, seen through the window in the floor; a glow
  // between the map and the hero; over them a sun, a strip cut in four, a
  // nine-piece frame with text in it, a sun that comes later, a strip that
  // keeps to the map, a sun stretched upward; a caption over everything.
  Add(b, {.number = kBehindMapPicture, .what = "Picture\\stars.bmp", .x = 224, .y = 64});
  Add(b, {.number = kUnderCharactersPicture, .what = "Picture\\glow.bmp", .x = 320, .y = 128, .blend = kAdditive,
          .anchor = kCentred});
  Add(b, {.number = 1, .what = "Picture\\sun.bmp", .x = 96, .y = 112, .anchor = kCentred, .angle = 450});
  Add(b, {.number = 2, .what = "Picture\\strip.bmp", .x = 464, .y = 64, .splitX = 4, .pattern = 3});
  Add(b, {.number = 3, .source = kWindowFrame, .what = "Picture\\frame.bmp", .x = 48, .y = 312, .splitX = 224,
          .splitY = 72});
  Add(b, {.number = 4, .source = kText, .what = "ピクチャの画廊\n４つの層に並びます", .x = 64, .y = 324});
  Add(b, {.number = 5, .what = "Picture\\sun.bmp", .x = 544, .y = 208, .anchor = kCentred, .zoom = 150,
          .colour = Colour(100, 0, 0), .delay = 40});
  Add(b, {.number = 6, .what = "Picture\\strip.bmp", .x = 32, .y = 208, .splitX = 4, .pattern = 1, .extra = kFollowMap});
  Add(b, {.number = 7, .what = "Picture\\sun.bmp", .x = 400, .y = 320, .zoom = 200, .zoomAxes = 1, .opacity = 160});
  Add(b, {.number = kTopPicture, .source = kText, .what = "\\c[4]ＰＩＣＴＵＲＥ　ＧＡＬＬＥＲＹ", .x = 184, .y = 8});
  b.Add({kWait, 50});
  // The sun turns a full circle; the effects.
  b.Add({kPictureCommand, 1 | 1 << 16, 1, 60, 0, 0, kKeep, kKeep, 0, 0, kKeep, 3600 + 450, 0, kNeutral});
  Effect(b, 0, 30, 7, 7, 100, 100, 100);
  Effect(b, 1, 20, 6, 6, -100, 0, 100);
  Effect(b, 2, 20, 3, 4, 0, -16, 0);
  Effect(b, 3, 4, 2, 2, 8, 0, 3);
  Effect(b, 4, 30, 5, 5, 544, 208, 60);
  b.Add({kWait, 60});
  // The screen: a warm tone and back, then a white flash.
  b.Add({kToneCommand, Tone(30, 0, -40), 30});
  b.Add({kWait, 40});
  b.Add({kToneCommand, Tone(0, 0, 0), 20});
  b.Add({kWait, 25});
  b.Add({kToneCommand, Tone(100, 100, 100) | kToneIsFlash, 20});
  b.Add({kWait, 30});
  // A cross-fade to the strip's other pictures.
  b.Add({kSetTransition, -1, 30 | 1 << 16});
  b.Add({kPrepareTransition});
  b.Add({kPictureCommand, 1 | 1 << 16, 2, 0, 0, 0, 1, kKeep, 0, 0, kKeep, kKeep, 0, kNeutral});
  b.Add({kPictureCommand, 1 | 1 << 16, 6, 0, 0, 0, 4, kKeep, 0, 0, kKeep, kKeep, 0, kNeutral});
  b.Add({kRunTransition});
  b.Add({kWait, 10});
  // The map held still while the pictures over it go on moving.
  b.Add({kMapDrawingOff});
  b.Add({kPictureCommand, 1 | 1 << 16, 1, 40, 0, 0, kKeep, kKeep, 0, 0, kKeep, 450, 0, kNeutral});
  b.Add({kWait, 40});
  b.Add({kMapDrawingOn});
  b.Add({kWait, 10});
  // No speech library: the command shows its error and the show goes on.
  b.Add({kSpeechCommand, 0, 100, 100, 0}, {"ようこそ画廊へ"});
  b.Add({kWait, 40});
  // Everything fades; the curator will run the show again.
  b.Add({kPictureCommand, 2 | kRange, kBehindMapPicture, 30, 0, kNeutral, kTopPicture});
  b.Add({kWait, 30});
  return b.Build();
}

// The curator, a step in front of the entrance, runs the show when spoken
// to.
MapEvent ShowEvent() {
  MapEvent show(kShowEventId);
  show.name = "学芸員";
  show.x = kGalleryEntranceX;
  show.y = kGalleryEntranceY - 1;
  EventPage& page = show.pages[0];
  page.graphic.fileName = "Chara\\villager.bmp";
  page.graphic.direction = 2;
  page.conditions.triggerKind = 0;  // spoken to with the decide key
  page.commands = ShowCommands();
  page.commandCount = static_cast<int32_t>(page.commands.size());
  return show;
}

std::string Stars() {
  Canvas c(192, 128);
  c.FillRect(0, 0, 192, 128, 0x101838);
  for (int i = 0; i < 60; ++i) c.FillRect(i * 37 % 190, i * 53 % 126, 1 + i % 2, 1 + i % 2, 0xFFFFE0);
  return c.Bmp();
}

std::string Glow() {
  Canvas c(96, 96);
  c.FillRect(0, 0, 96, 96, 0x000000);
  for (int r = 46; r > 0; r -= 6) c.FillEllipse(48, 48, r, r, static_cast<uint32_t>((48 - r) * 4) * 0x010100);
  return c.Bmp();
}

std::string Sun() {
  Canvas c(64, 64);
  c.FillEllipse(32, 32, 30, 30, 0xF0A020);
  c.FillEllipse(32, 32, 22, 22, 0xFFD040);
  c.FillRect(22, 24, 5, 6, 0x402000);
  c.FillRect(37, 24, 5, 6, 0x402000);
  c.FillRect(24, 42, 16, 3, 0x402000);
  return c.Bmp();
}

std::string Strip() {
  Canvas c(128, 32);
  const uint32_t colours[4] = {0xE04040, 0x40C040, 0x4060E0, 0xE0E040};
  for (int i = 0; i < 4; ++i) {
    c.FillRect(i * 32 + 2, 2, 28, 28, colours[i]);
    c.FillEllipse(i * 32 + 16, 16, 4 + 2 * i, 4 + 2 * i, 0xFFFFFF);
  }
  return c.Bmp();
}

// Nine pieces of 8 x 8: a gold edge around a blue field.
std::string Frame() {
  Canvas c(24, 24);
  c.FillRect(0, 0, 24, 24, 0xC8A040);
  c.FillRect(3, 3, 18, 18, 0x203060);
  c.FillRect(8, 8, 8, 8, 0x283870);
  return c.Bmp();
}

}  // namespace

void AddGallery(GameFolderContent& game) {
  MapData map = PlainMapData(kGalleryWidth, kGalleryHeight);
  map.header.name = "画廊";
  FillTiles(map, 0, 0, 0, kGalleryWidth, 1, kStoneTile);
  FillTiles(map, 0, 7, 2, 6, 4, kNoFloorTile);
  map.events = {Door(1, kGalleryEntranceX, kGalleryEntranceY + 1, kTownMap, kTownFromGalleryX, kTownFromGalleryY),
                ShowEvent()};
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  AddRoom(game, kGalleryMap, std::move(map));
  game.files.emplace_back("Data/Picture/stars.bmp", Stars());
  game.files.emplace_back("Data/Picture/glow.bmp", Glow());
  game.files.emplace_back("Data/Picture/sun.bmp", Sun());
  game.files.emplace_back("Data/Picture/strip.bmp", Strip());
  game.files.emplace_back("Data/Picture/frame.bmp", Frame());
}

}  // namespace demo
