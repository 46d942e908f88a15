// The pictures' part of a save body. A save keeps each picture's targets,
// its transition counters, its colour and the tint, offset and zoom effects;
// start values, the queue, flashes and shakes start afresh. A list read from
// a save holds no graphics: entering it into the running game loads the
// files and measures the texts.

#include <algorithm>

#include "engine/data/file/SaveBuffer.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/presentation/pictures/PictureList.h"

namespace {

// Saves from this version on carry the effects; from the next the map flag.
constexpr int32_t kEffectsVersion = 105;
constexpr int32_t kFollowsMapVersion = 107;
// The smallest record any version holds: the head, a one-byte text and the
// fields up to the colour.
constexpr int64_t kSmallestRecord = 12 + 1 + 72;

}  // namespace

bool Picture::Write(SaveBuffer& out) const {
  const std::string& name = isText ? text.sourceText : fileName;
  // The length field counts the closing NUL in 16 bits.
  if (name.size() + 1 > static_cast<size_t>(INT16_MAX)) return out.Fail();
  out.WriteI32(number);
  out.WriteU8(erasing);
  out.WriteU8(erased);
  out.WriteI16(anchor);
  out.WriteU8(isText);
  out.WriteU8(isNinePiece);
  out.WriteI16(static_cast<int16_t>(name.size() + 1));
  out.WriteBytes(name.c_str(), static_cast<int64_t>(name.size()) + 1);
  for (const int32_t v : {x, y, divX, divY, pattern, opacity, blend, framesLeft, framesTotal, zoomX, zoomY, angle})
    out.WriteI32(v);
  for (const int32_t v : color) out.WriteI32(v);
  for (const int32_t v : colorFrom) out.WriteI32(v);
  const PictureEffects& e = effects;
  for (const int32_t v : {e.tint, e.tintFrom, e.tintLeft, e.tintTotal, e.offsetX, e.offsetY, e.offsetXFrom,
                          e.offsetYFrom, e.offsetLeft, e.offsetTotal, e.zoomCenterX, e.zoomCenterXFrom, e.zoomCenterY,
                          e.zoomCenterYFrom, e.effectZoomLeft, e.effectZoomTotal, e.effectZoom, e.effectZoomFrom})
    out.WriteI32(v);
  out.WriteU8(followsMap);
  return !out.Overrun();
}

bool Picture::Read(ByteCursor& in, int32_t version) {
  int16_t length = 0;
  if (!in.ReadI32(number) || !in.ReadU8(erasing) || !in.ReadU8(erased) || !in.ReadI16(anchor) ||
      !in.ReadU8(isText) || !in.ReadU8(isNinePiece) || !in.ReadI16(length))
    return false;
  // The length counts the closing NUL: at least one byte.
  if (length < 1) return in.Fail();
  std::string name(static_cast<size_t>(length), '\0');
  if (!in.ReadBytes(name.data(), length)) return false;
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  if (isText) {
    text.sourceText = name;
  } else {
    fileName = name;
    oldFileName = name;
  }
  for (int32_t* v : {&x, &y, &divX, &divY, &pattern, &opacity, &blend, &framesLeft, &framesTotal, &zoomX, &zoomY,
                     &angle, &color[0], &color[1], &color[2], &colorFrom[0], &colorFrom[1], &colorFrom[2]}) {
    if (!in.ReadI32(*v)) return false;
  }
  if (version >= kEffectsVersion) {
    PictureEffects& e = effects;
    for (int32_t* v : {&e.tint, &e.tintFrom, &e.tintLeft, &e.tintTotal, &e.offsetX, &e.offsetY, &e.offsetXFrom,
                       &e.offsetYFrom, &e.offsetLeft, &e.offsetTotal, &e.zoomCenterX, &e.zoomCenterXFrom,
                       &e.zoomCenterY, &e.zoomCenterYFrom, &e.effectZoomLeft, &e.effectZoomTotal, &e.effectZoom,
                       &e.effectZoomFrom}) {
      if (!in.ReadI32(*v)) return false;
    }
  }
  if (version >= kFollowsMapVersion && !in.ReadU8(followsMap)) return false;
  return true;
}

void Picture::EnterLoaded() {
  // Graphics a copy may carry are not the running game's.
  imageHandle = oldImageHandle = 0;
  pieces.clear();
  if (isText) {
    hidden = 0;
    text.speed = RootRunner.messageValues[1];
    text.Measure(pieceWidth, pieceHeight);
    return;
  }
  bool loaded = false;
  if (isNinePiece) {
    // The split is the frame's; divX and divY are its width and height.
    const int32_t width = divX;
    const int32_t height = divY;
    loaded = PictureControl(*this, fileName, 3, 3);
    divX = width;
    divY = height;
  } else {
    loaded = PictureControl(*this, fileName, divX, divY);
  }
  hidden = loaded && imageHandle >= 0 ? 0 : 1;
}

bool PictureList::Write(SaveBuffer& out) const {
  // A count that does not fit 16 bits would read back negative.
  if (pictures.size() > static_cast<size_t>(picture::kMaxPictures)) return out.Fail();
  out.WriteU16(static_cast<uint16_t>(pictures.size()));
  for (const Picture& p : pictures) {
    if (!p.Write(out)) return false;
  }
  return !out.Overrun();
}

bool PictureList::Read(ByteCursor& in, int32_t version) {
  int16_t n = 0;
  if (!in.ReadI16(n)) return false;
  if (n < 0 || !in.CountFits(n, kSmallestRecord)) return in.Fail();
  pictures.assign(static_cast<size_t>(n), Picture());
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (!pictures[i].Read(in, version)) {
      pictures.resize(i);
      RebuildIndex();
      return false;
    }
    // The range operations walk the list in ascending number order.
    if (i > 0 && pictures[i].number <= pictures[i - 1].number) {
      pictures.resize(i);
      RebuildIndex();
      return in.Fail();
    }
  }
  count = n;
  if (n > 0) RebuildIndex();
  return true;
}

void PictureList::EnterLoaded() {
  for (Picture& p : pictures) p.EnterLoaded();
}
