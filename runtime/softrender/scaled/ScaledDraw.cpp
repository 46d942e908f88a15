#include <algorithm>

#include "runtime/graphics/state/ClipRect.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/platform/system/ProcessorFeatures.h"
#include "runtime/softrender/BlendTables.h"
#include "runtime/softrender/DrawMode.h"
#include "runtime/softrender/scaled/ScaledDrawSetup.h"
#include "runtime/softrender/SoftDraw.h"
#include "runtime/softrender/SoftDrawIsa.h"

namespace {

// A rectangle side of this many pixels or more is refused: its 16.16 step
// and phases would need more than 32 bits.
constexpr int64_t kSideLimit = 65536;

// The per-draw column and row tables. Draws run on the main thread only.
int32_t gColumns[kSideLimit];
int32_t gRows[kSideLimit];

// Fills table with the source index of each of count destination pixels
// starting cut pixels into a side of length side (in 16.16 steps of step
// per source pixel): the walk of the phases, started where an uncut walk
// would be at the first drawn pixel.
void FillSteps(int32_t* table, int count, int64_t cut, uint64_t step, int sourceLength, bool mirrored) {
  const uint64_t at = static_cast<uint64_t>(cut) << 16;
  int64_t q = static_cast<int64_t>(at / step);
  int64_t phase = static_cast<int64_t>(step - at % step);
  for (int i = 0; i < count; ++i) {
    table[i] = static_cast<int32_t>(mirrored ? sourceLength - 1 - q : q);
    phase -= 65536;
    while (phase <= 0) {
      ++q;
      phase += static_cast<int64_t>(step);
    }
  }
}

struct ByteRange {
  uintptr_t begin;
  uintptr_t end;
};

ByteRange AreaBytes(const uint8_t* start, int32_t pitch, int64_t rowBytes, int64_t height) {
  const int64_t last = (height - 1) * pitch;
  const uintptr_t base = reinterpret_cast<uintptr_t>(start);
  return {base + static_cast<uintptr_t>(std::min<int64_t>(0, last)),
          base + static_cast<uintptr_t>(std::max<int64_t>(0, last) + rowBytes)};
}

bool Intersect(ByteRange a, ByteRange b) { return a.begin < b.end && b.begin < a.end; }

}  // namespace

void SoftDrawImageScaled(MemImg* destination, const MemImg* source, int x1, int y1, int x2, int y2, int transparent,
                         const MemImg* blendGraphic) {
  if (!destination || !source || !IsMemImgValid(destination) || !IsMemImgValid(source)) return;
  const MemImgStore* ds = destination->store;
  const MemImgStore* ss = source->store;
  // The loops write the source's pixel size into the destination: only a
  // direct destination of the same type takes them.
  if (ss->pixelType != ds->pixelType || ds->paletteFlag || ds->alphaFlag) return;
  if (ss->pixelType != MemImgXrgb8888 && ss->pixelType != MemImgRgb565) return;
  if (ss->paletteFlag && !ss->palette) return;
  // The steps divide by the source's size.
  if (source->width <= 0 || source->height <= 0) return;

  const bool mirrorX = x1 > x2;
  const bool mirrorY = y1 > y2;
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  const int64_t w = int64_t{right} - left;
  const int64_t h = int64_t{bottom} - top;
  if (w == 0 || h == 0) return;
  if (w == source->width && h == source->height && !mirrorX && !mirrorY) {
    SoftDrawImage(destination, source, left, top, transparent, blendGraphic);
    return;
  }
  // A source side of 65536 or more could have no step, or steps too short
  // for the walk to stay inside it.
  if (w >= kSideLimit || h >= kSideLimit || source->width >= kSideLimit || source->height >= kSideLimit) return;
  // The blend graphic is read at every source pixel's column and row.
  if (blendGraphic && (!IsMemImgValid(blendGraphic) || blendGraphic->store->pixelType != MemImgGrey8 ||
                       blendGraphic->width < source->width || blendGraphic->height < source->height))
    return;
  const uint64_t columnStep = (static_cast<uint64_t>(w) << 16) / static_cast<uint64_t>(source->width);
  const uint64_t rowStep = (static_cast<uint64_t>(h) << 16) / static_cast<uint64_t>(source->height);

  IntRect area{left, top, right, bottom};
  ClipRect(&area, gDrawState.drawRegion);
  // Kept inside the destination too, whatever the region says.
  ClipRect(&area, IntRect{0, 0, destination->width, destination->height});
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;

  DrawMode drawMode;
  if (!CurrentDrawMode(&drawMode)) return;

  FillSteps(gColumns, width, int64_t{area.left} - left, columnStep, source->width, mirrorX);
  FillSteps(gRows, height, int64_t{area.top} - top, rowStep, source->height, mirrorY);

  const int destinationBytes = MemImgBytesPerPixel(ds);
  ScaledDrawSetup p{};
  p.destination = destination->pixels + static_cast<intptr_t>(area.top) * ds->pitch +
                  static_cast<intptr_t>(area.left) * destinationBytes;
  p.destinationPitch = ds->pitch;
  p.destinationBytes = destinationBytes;
  p.source = source->pixels;
  p.sourcePitch = ss->pitch;
  p.sourceBytes = MemImgBytesPerPixel(ss);
  // Entries come from the store's own palette: all 256 are there, and the
  // draw writes nothing shared.
  p.palette = ss->paletteFlag ? ss->palette : nullptr;
  if (blendGraphic) {
    p.graphic = blendGraphic->pixels;
    p.graphicPitch = blendGraphic->store->pitch;
  }
  p.width = width;
  p.height = height;
  p.columns = gColumns;
  p.rows = gRows;
  p.reversed = mirrorX && columnStep == 65536;
  p.doubled = !mirrorX && columnStep == 2 * 65536;
  p.halved = !mirrorX && 2 * w == source->width;
  SetSourceBlendFields(p, ss, drawMode, ss->alphaFlag != 0, transparent);
  p.mmx = IsMmxUsable() == 1;
  // Source and destination may be views of one store.
  const ByteRange written = AreaBytes(p.destination, p.destinationPitch, int64_t{width} * destinationBytes, height);
  const ByteRange read = AreaBytes(p.source, p.sourcePitch, int64_t{source->width} * p.sourceBytes, source->height);
  p.overlap = Intersect(written, read);

  CurrentSoftDrawEntryPoints().scaledDraw(p);
}
