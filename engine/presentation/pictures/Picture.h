#pragma once
// One picture: an image cut into equal pieces (one shown at a time), a
// nine-piece window frame stretched to a width and height, or a block of
// rich text. Its appearance values move over frames: each is kept as a
// target (the plain name) and a start (the name with From); the value shown
// is target + (start - target) x framesLeft / framesTotal while frames are
// left. Operations may be delayed: they then wait in the picture's queue.
//
// A plain value: copies are member by member (graphics as numbers; the
// picture file table owns them).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/presentation/pictures/PictureEffects.h"
#include "engine/presentation/text/TextBlock.h"

class ByteCursor;
class SaveBuffer;

// A delayed operation: its text (file name or text) and its integers,
// element 0 the delay in frames, element 1 the kind, then the arguments of
// the operation in the order it takes them.
struct QueuedPictureOperation {
  enum Kind : int32_t { kShowImage = 0, kShowText = 1, kMove = 2, kErase = 3, kShowNinePiece = 4 };
  std::string text;
  std::vector<int32_t> arguments;
  bool operator==(const QueuedPictureOperation&) const = default;
};

// The arguments of a show, as the picture takes them (zooms per axis).
struct PictureShowArguments {
  int32_t divX = 1;  // split counts; width and height of a nine-piece picture
  int32_t divY = 1;
  int32_t x = 0;
  int32_t y = 0;
  int32_t pattern = 1;
  int32_t opacity = 255;
  int32_t blend = 0;  // index in the low four bits, follow-the-map flag
  int32_t frames = 0;
  int32_t zoomX = 100;
  int32_t zoomY = 100;
  int32_t angle = 0;
  int32_t anchor = 0;
  int32_t color = 0x646464;
  int32_t delay = 0;
  bool relative = false;
};

struct PictureMoveArguments {
  int32_t x = 0;
  int32_t y = 0;
  int32_t pattern = 1;
  int32_t opacity = 255;
  int32_t blend = 0;
  int32_t frames = 0;
  int32_t zoomX = 100;
  int32_t zoomY = 100;
  int32_t angle = 0;
  int32_t color = 0x646464;
  int32_t delay = 0;
  bool relative = false;
};

class Picture {
 public:
  int32_t imageHandle = 0;     // whole image; 0 none, -1 its creation failed
  int32_t oldImageHandle = 0;  // before the latest image show
  TextBlock text;
  std::vector<int32_t> pieces;  // pattern n is element n - 1
  std::string oldFileName;      // the file a show releases
  std::string fileName;         // empty for text pictures
  int32_t x = 0;
  int32_t xFrom = 0;
  int32_t y = 0;
  int32_t yFrom = 0;
  int32_t pattern = 1;  // 1-based piece
  int32_t opacity = 0;
  int32_t opacityFrom = 0;
  int32_t blend = 0;
  int32_t framesLeft = 0;  // -1 once a transition has run out
  int32_t framesTotal = 0;
  int32_t zoomX = 100;
  int32_t zoomXFrom = 100;
  int32_t zoomY = 100;
  int32_t zoomYFrom = 100;
  int32_t angle = 0;  // tenths of a degree
  int32_t angleFrom = 0;
  int32_t pieceWidth = 0;  // of one piece, or of the measured text
  int32_t pieceWidthFrom = 0;
  int32_t pieceHeight = 0;
  int32_t pieceHeightFrom = 0;
  int32_t color[3] = {0, 0, 0};  // offsets -255..255
  int32_t colorFrom[3] = {0, 0, 0};
  int32_t wrapX = 0;  // the looping map's shift at the last draw
  int32_t wrapY = 0;
  std::vector<QueuedPictureOperation> queue;
  uint8_t isText = 0;
  uint8_t isNinePiece = 0;
  uint8_t followsMap = 0;
  int16_t anchor = 0;
  int16_t anchorFrom = 0;
  int32_t number = -1;
  int32_t divX = 1;  // split counts, or a nine-piece picture's width and height
  int32_t divY = 1;
  uint8_t erasing = 0;
  uint8_t erased = 0;
  uint8_t hidden = 1;
  int32_t drawnLeft = -100;  // the rectangle of the last draw, game pixels
  int32_t drawnRight = -100;
  int32_t drawnTop = -100;
  int32_t drawnBottom = -100;
  PictureEffects effects;

  Picture() = default;
  explicit Picture(int32_t n) : number(n) {}

  // kind 0 image, 4 nine-piece.
  void Show(const std::string& file, const PictureShowArguments& a, int32_t kind);
  void ShowText(const std::string& source, const PictureShowArguments& a);
  void Move(const PictureMoveArguments& a);
  void Erase(int32_t frames, int32_t delay, int32_t colorArgument);
  // Properties 0-8 as the variable operation reads them; -1 for others.
  int32_t QueryProperty(int32_t kind) const;
  void CountDelay();
  // Faded out: the file is released and the picture hidden.
  void MarkErased();

  // One frame: the queue, the text reveal, the fade or the effects and the
  // transition.
  void Update();
  void Draw();

  // The picture's save record. A read fills a fresh picture with the
  // fields a save of that version holds and leaves it hidden, without
  // graphics; false (overrun) when the record is cut short or damaged.
  bool Write(SaveBuffer& out) const;
  bool Read(ByteCursor& in, int32_t version);
  // A picture read from a save joins the running game: its file is loaded
  // (it shows when the image is there) or its text measured.
  void EnterLoaded();

  // The values shown now.
  int32_t CurrentX() const;
  int32_t CurrentY() const;

 private:
  // The targets a show or move sets from its arguments.
  void TakeTargets(int32_t givenPattern, int32_t givenOpacity, int32_t givenBlend, int32_t givenZoomX,
                   int32_t givenZoomY, int32_t givenAngle, int32_t givenColor);
  // The starts become the values shown now (the angle worked out in
  // floating point for a show, in integers for a move).
  void StartsFromCurrent(bool withOpacity, bool floatAngle);
  void StartsFromTargets();
  // A show's position given in screen or map pixels, as the picture
  // starts or stops following the map.
  void FollowMap(int32_t blendFlags, bool relative, int64_t& x, int64_t& y);
  // The start values of a picture that stands at its target from the
  // start and fades in.
  void StartsOfFirstShow(int64_t givenX, int64_t givenY, const PictureShowArguments& a);
  // False (after the error screen) when the pattern is past the pieces.
  bool PatternFits() const;
  void Run(const QueuedPictureOperation& operation);
};
