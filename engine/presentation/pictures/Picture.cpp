// The operations the event commands call on one picture: show an image, a
// nine-piece frame or a text, move, erase, and the property reads.

#include "engine/presentation/pictures/Picture.h"

#include <algorithm>
#include <cstdio>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/PresentationSettings.h"
#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureQueue.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/InputState.h"
#include "engine/services/StartupSettings.h"

using picture::Between;
using picture::kNotGiven;
using picture::Saturate;

namespace {

// The map's scroll in whole pixels.
int32_t ScrollPixelsX() { return CurrentMap.scrollX / 4; }
int32_t ScrollPixelsY() { return CurrentMap.scrollY / 4; }

// A packed colour argument as the picture's colour offsets.
void ColorOffsetsOf(int32_t packed, int32_t (&out)[3]) {
  const std::array<int32_t, 3> c = picture::Components(packed);
  for (size_t i = 0; i < 3; ++i) out[i] = picture::ComponentOffset(c[i]);
}

bool ColorGiven(int32_t packed) { return (packed & picture::kNoColor) == 0; }

}  // namespace

int32_t Picture::CurrentX() const { return Between(x, xFrom, std::max(framesLeft, 0), std::max(framesTotal, 1)); }
int32_t Picture::CurrentY() const { return Between(y, yFrom, std::max(framesLeft, 0), std::max(framesTotal, 1)); }

void Picture::CountDelay() {
  framesLeft = static_cast<int32_t>(std::max<int64_t>(int64_t{framesLeft} - PresentationFrameStep(), -1));
}

void Picture::MarkErased() {
  FreePictureGraphic(fileName, number);
  erased = 1;
  hidden = 1;
}

void Picture::FollowMap(int32_t blendFlags, bool relative, int64_t& gx, int64_t& gy) {
  if (blendFlags & picture::kFollowMap) {
    if (!(relative && followsMap)) {
      gx += ScrollPixelsX();
      gy += ScrollPixelsY();
    }
    followsMap = 1;
  } else if (followsMap) {
    followsMap = 0;
    if (relative) {
      gx -= ScrollPixelsX();
      gy -= ScrollPixelsY();
    }
  }
}

void Picture::StartsFromCurrent(bool withOpacity, bool floatAngle) {
  const int32_t l = framesLeft;
  const int32_t t = std::max(framesTotal, 1);
  xFrom = Between(x, xFrom, l, t);
  yFrom = Between(y, yFrom, l, t);
  zoomXFrom = Between(zoomX, zoomXFrom, l, t);
  zoomYFrom = Between(zoomY, zoomYFrom, l, t);
  angleFrom = floatAngle ? TruncateToInt32(angle + (static_cast<double>(angleFrom) - angle) * l / t)
                         : Between(angle, angleFrom, l, t);
  if (withOpacity) opacityFrom = Between(opacity, opacityFrom, l, t);
  for (size_t i = 0; i < 3; ++i) colorFrom[i] = Between(color[i], colorFrom[i], l, t);
}

void Picture::StartsFromTargets() {
  xFrom = x;
  yFrom = y;
  opacityFrom = opacity;
  zoomXFrom = zoomX;
  zoomYFrom = zoomY;
  angleFrom = angle;
  std::copy(std::begin(color), std::end(color), std::begin(colorFrom));
}

void Picture::TakeTargets(int32_t givenPattern, int32_t givenOpacity, int32_t givenBlend, int32_t givenZoomX,
                          int32_t givenZoomY, int32_t givenAngle, int32_t givenColor) {
  if (givenPattern != kNotGiven) pattern = givenPattern;
  if (givenOpacity != kNotGiven) opacity = givenOpacity;
  if (givenAngle != kNotGiven) angle = givenAngle;
  if (givenBlend != picture::kKeepBlend) blend = givenBlend;
  if (givenZoomX != kNotGiven && givenZoomY != kNotGiven) {
    zoomX = givenZoomX;
    zoomY = givenZoomY;
  }
  if (ColorGiven(givenColor)) ColorOffsetsOf(givenColor, color);
}

void Picture::StartsOfFirstShow(int64_t givenX, int64_t givenY, const PictureShowArguments& a) {
  xFrom = Saturate(givenX);
  yFrom = Saturate(givenY);
  opacityFrom = 0;
  // A start left unsaid is the target itself.
  const bool zoomGiven = a.zoomX != kNotGiven && a.zoomY != kNotGiven;
  zoomXFrom = zoomGiven ? a.zoomX : zoomX;
  zoomYFrom = zoomGiven ? a.zoomY : zoomY;
  angleFrom = a.angle != kNotGiven ? a.angle : angle;
  anchorFrom = anchor;
  if (ColorGiven(a.color)) ColorOffsetsOf(a.color, colorFrom);
}

bool Picture::PatternFits() const {
  if (pieces.empty() || pattern <= static_cast<int32_t>(pieces.size())) return true;
  char text[160];
  std::snprintf(text, sizeof text, "ｴﾗｰ【ピクチャ】パターン番号が大きすぎます！ >ID%d パターン%d(Max%d)", number, pattern,
                static_cast<int32_t>(pieces.size()));
  ShowErrorScreen(text, "※ディレイが設定されていた場合は、↓の位置とは異なります", ErrorLocationText());
  return false;
}

void Picture::Show(const std::string& file, const PictureShowArguments& a, int32_t kind) {
  if (a.delay >= 1) {
    queue.push_back(QueuedShow(file, a, kind));
    return;
  }
  hidden = erasing = erased = isText = 0;
  isNinePiece = kind == QueuedPictureOperation::kShowNinePiece ? 1 : 0;
  int32_t splitX = a.divX;
  int32_t splitY = a.divY;
  if (!isNinePiece && (splitX <= 0 || splitY <= 0)) {
    if (TestPlayFlag) {
      char text[160];
      std::snprintf(text, sizeof text, "[ﾃｽﾄ時専用ｴﾗｰ] ﾋﾟｸﾁｬ %d が分割数(ｻｲｽﾞ)0以下です！ > 横%d 縦%d", number, splitX, splitY);
      ShowErrorScreen(text, "ディレイを使用していた場合は↓と位置が変わることがあります", ErrorLocationText());
    }
    splitX = std::max(splitX, 1);
    splitY = std::max(splitY, 1);
  }
  int64_t gx = a.x;
  int64_t gy = a.y;
  FollowMap(a.blend, a.relative, gx, gy);
  oldImageHandle = imageHandle;
  const bool loaded = isNinePiece ? PictureControl(*this, file, 3, 3) : PictureControl(*this, file, splitX, splitY);
  if (!loaded) {
    erased = 1;
    hidden = 1;
    return;
  }
  if (isNinePiece) {
    divX = a.divX;
    divY = a.divY;
  }
  if (file != fileName) FreePictureGraphic(oldFileName, number);
  fileName = file;
  oldFileName = file;

  CountDelay();
  if (framesLeft > 0) {
    StartsFromCurrent(false, true);
  } else {
    StartsFromTargets();
  }
  anchorFrom = anchor;
  x = Saturate(a.relative ? xFrom + gx : gx);
  y = Saturate(a.relative ? yFrom + gy : gy);
  if (oldImageHandle != 0) {
    // The start keeps its corner when the anchor changes (whole percent
    // steps of the zoom, as the picture always did).
    const int64_t w = pieceWidth;
    const int64_t h = pieceHeight;
    const int64_t dx = (picture::AnchorX(anchorFrom, w) - picture::AnchorX(a.anchor, w)) * (zoomXFrom / 100);
    const int64_t dy = (picture::AnchorY(anchorFrom, h) - picture::AnchorY(a.anchor, h)) * (zoomYFrom / 100);
    xFrom = Saturate(xFrom - dx);
    yFrom = Saturate(yFrom - dy);
  }
  TakeTargets(a.pattern, a.opacity, a.blend & 15, a.zoomX, a.zoomY, a.angle, a.color);
  anchor = static_cast<int16_t>(a.anchor);
  if (oldImageHandle == 0) {
    // A new picture stands at its target from the start and fades in.
    StartsOfFirstShow(gx, gy, a);
  } else {
    anchorFrom = anchor;
  }
  pieceWidthFrom = pieceWidth;
  pieceHeightFrom = pieceHeight;
  if (!isNinePiece && !PatternFits()) return;
  wrapX = 0;
  wrapY = 0;
  framesLeft = framesTotal = a.frames;
}

void Picture::ShowText(const std::string& source, const PictureShowArguments& a) {
  if (a.delay >= 1) {
    queue.push_back(QueuedShow(source, a, QueuedPictureOperation::kShowText));
    return;
  }
  hidden = erasing = erased = 0;
  isText = 1;
  isNinePiece = 0;
  int64_t gx = a.x;
  int64_t gy = a.y;
  FollowMap(a.blend, a.relative, gx, gy);
  text.instant = 0;
  text.sourceText = source;
  text.takenText.clear();  // the next layout starts afresh
  if (!oldFileName.empty()) FreePictureGraphic(oldFileName, number);
  oldFileName.clear();
  fileName.clear();
  oldImageHandle = 0;
  imageHandle = 0;

  CountDelay();
  if (framesLeft <= 0) {
    xFrom = x;
    yFrom = y;
  } else {
    xFrom = CurrentX();
    yFrom = CurrentY();
  }
  x = Saturate(a.relative ? xFrom + gx : gx);
  y = Saturate(a.relative ? yFrom + gy : gy);
  TakeTargets(a.pattern, a.opacity, a.blend & 15, a.zoomX, a.zoomY, a.angle, a.color);
  anchor = static_cast<int16_t>(a.anchor);
  StartsOfFirstShow(gx, gy, a);
  text.originX = xFrom;
  text.originY = yFrom;
  framesLeft = framesTotal = a.frames;
  text.speed = RootRunner.messageValues[1];
  text.Measure(pieceWidth, pieceHeight);
  pieceWidthFrom = pieceWidth;
  pieceHeightFrom = pieceHeight;
  wrapX = 0;
  wrapY = 0;
}

void Picture::Move(const PictureMoveArguments& a) {
  if (a.delay >= 1) {
    queue.push_back(QueuedMove(a));
    return;
  }
  CountDelay();
  if (framesLeft > 0) {
    StartsFromCurrent(true, false);
  } else {
    StartsFromTargets();
  }
  anchorFrom = anchor;
  // No map conversion: a picture that follows the map moves in map pixels.
  x = Saturate(a.relative ? int64_t{x} + a.x : a.x);
  y = Saturate(a.relative ? int64_t{y} + a.y : a.y);
  TakeTargets(a.pattern, a.opacity, a.blend, a.zoomX, a.zoomY, a.angle, a.color);
  if (isText) text.Measure(pieceWidth, pieceHeight);
  if (!isText && !isNinePiece && !PatternFits()) return;
  framesLeft = framesTotal = a.frames;
}

void Picture::Erase(int32_t frames, int32_t delay, int32_t colorArgument) {
  if (delay >= 1) {
    queue.push_back(QueuedErase(frames, delay, colorArgument));
    return;
  }
  if (erasing) return;
  framesLeft = framesTotal = frames;
  std::copy(std::begin(color), std::end(color), std::begin(colorFrom));
  if (ColorGiven(colorArgument)) ColorOffsetsOf(colorArgument, color);
  erasing = 1;
}

int32_t Picture::QueryProperty(int32_t kind) const {
  const int32_t l = std::max(framesLeft, 0);
  const int32_t t = std::max(framesTotal, 1);
  switch (kind) {
    case 0: return Saturate(int64_t{CurrentX()} - (followsMap ? ScrollPixelsX() : 0) + wrapX);
    case 1: return Saturate(int64_t{CurrentY()} - (followsMap ? ScrollPixelsY() : 0) + wrapY);
    case 2: return isNinePiece ? Saturate(int64_t{divX} * zoomX / 100) : pieceWidth;
    case 3: return isNinePiece ? Saturate(int64_t{divY} * zoomY / 100) : pieceHeight;
    case 4: return pattern;
    case 5: return Between(opacity, opacityFrom, l, t);
    case 6: return Between(angle, angleFrom, l, t);
    case 7: {
      const int32_t zx = Between(zoomX, zoomXFrom, l, t);
      return zx == 100 ? Between(zoomY, zoomYFrom, l, t) : zx;
    }
    case 8:
      return drawnLeft < Input.mouseX && Input.mouseX < drawnRight && drawnTop < Input.mouseY &&
                     Input.mouseY < drawnBottom
                 ? 1
                 : 0;
    default: return -1;
  }
}
