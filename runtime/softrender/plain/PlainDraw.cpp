#include <algorithm>

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/ProcessorFeatures.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/DrawMode.h"
#include "runtime/softrender/plain/PlainDrawSetup.h"
#include "runtime/softrender/SoftDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

struct ByteSpan {
  uintptr_t begin;
  uintptr_t end;
};

ByteSpan AreaBytes(const uint8_t* start, int32_t pitch, int64_t rowBytes, int height) {
  const int64_t last = static_cast<int64_t>(height - 1) * pitch;
  const uintptr_t base = reinterpret_cast<uintptr_t>(start);
  return {base + static_cast<uintptr_t>(std::min<int64_t>(0, last)),
          base + static_cast<uintptr_t>(std::max<int64_t>(0, last) + rowBytes)};
}

// Whether a source pixel may be read after this draw has written it: a
// destination row that starts inside its own source row, or areas that
// intersect in any other way than row for row. Each side counts its own
// bytes per pixel.
bool ReadsBackWrites(const PlainDrawSetup& p, int sourceBytes, int destinationBytes) {
  const int64_t sourceRow = static_cast<int64_t>(p.width) * sourceBytes;
  const int64_t destinationRow = static_cast<int64_t>(p.width) * destinationBytes;
  if (sourceBytes == destinationBytes && p.destinationPitch == p.sourcePitch &&
      (p.sourcePitch >= sourceRow || p.sourcePitch <= -sourceRow)) {
    const intptr_t delta = reinterpret_cast<intptr_t>(p.destination) - reinterpret_cast<intptr_t>(p.source);
    return delta > 0 && delta < sourceRow;
  }
  const ByteSpan d = AreaBytes(p.destination, p.destinationPitch, destinationRow, p.height);
  const ByteSpan s = AreaBytes(p.source, p.sourcePitch, sourceRow, p.height);
  return d.begin < s.end && s.begin < d.end;
}

// Whether a blend graphic has a weight for every drawn source pixel: a valid
// one-byte image reaching past (sx + width, sy + height).
bool CoversDrawnPart(const MemImg& graphic, int sx, int sy, int width, int height) {
  return IsMemImgValid(&graphic) && graphic.store->pixelType == MemImgGrey8 &&
         static_cast<int64_t>(sx) + width <= graphic.width && static_cast<int64_t>(sy) + height <= graphic.height;
}

}  // namespace

void SoftDrawImage(MemImg* destination, const MemImg* source, int x, int y, int transparent,
                   const MemImg* blendGraphic) {
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return;
  if (ss->pixelType != MemImgXrgb8888 && ss->pixelType != MemImgRgb565) return;
  if (ss->paletteFlag && !ss->palette) return;

  IntRect area{x, y, ClampToInt(int64_t{x} + source->width), ClampToInt(int64_t{y} + source->height)};
  ClipRect(&area, gDrawState.drawRegion);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const int sx = area.left - x;
  const int sy = area.top - y;
  // The callers refuse a blend graphic smaller than what they draw; so does
  // the draw, rather than read past it.
  if (blendGraphic && !CoversDrawnPart(*blendGraphic, sx, sy, width, height)) return;

  DrawMode drawMode;
  if (!CurrentDrawMode(&drawMode)) return;

  const int sourceBytes = MemImgBytesPerPixel(ss);
  const int destinationBytes = MemImgBytesPerPixel(ds);
  PlainDrawSetup p{};
  p.destination = destination->pixels + static_cast<intptr_t>(area.top) * ds->pitch +
                  static_cast<intptr_t>(area.left) * destinationBytes;
  p.destinationPitch = ds->pitch;
  p.source = source->pixels + static_cast<intptr_t>(sy) * ss->pitch + static_cast<intptr_t>(sx) * sourceBytes;
  p.sourcePitch = ss->pitch;
  p.destinationBytes = destinationBytes;
  // Entries come from the store's own palette in every draw: all 256 are
  // there, and the draw writes nothing shared.
  p.palette = ss->paletteFlag ? ss->palette : nullptr;
  if (blendGraphic) {
    p.graphic = blendGraphic->pixels + static_cast<intptr_t>(sy) * blendGraphic->store->pitch + sx;
    p.graphicPitch = blendGraphic->store->pitch;
  }
  p.width = width;
  p.height = height;
  SetSourceBlendFields(p, ss, drawMode, ss->alphaFlag != 0, transparent);
  p.mmx = IsMmxUsable() == 1;
  p.overlap = ReadsBackWrites(p, sourceBytes, destinationBytes);

  CurrentSoftDrawEntryPoints().plainDraw(p);
}
