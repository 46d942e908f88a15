#include "engine/presentation/map/TileLayerState.h"

#include <cstdio>

#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/map/MapDrawUnits.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kAutotileBase = 100000;
constexpr int32_t kFirstRow = -1;
constexpr int32_t kLastRow = 15;
constexpr int32_t kFirstColumn = -1;
constexpr int32_t kLastColumn = 20;

// The value of a cell; an empty cell where the layers hold none.
int32_t CellValue(const MapData& data, int32_t layer, int64_t x, int64_t y) {
  const MapData::TileLayer& columns = data.layers[static_cast<size_t>(layer)];
  if (static_cast<uint64_t>(x) >= columns.size()) return MapData::kEmptyCell;
  const std::vector<int32_t>& cells = columns[static_cast<size_t>(x)];
  if (static_cast<uint64_t>(y) >= cells.size()) return MapData::kEmptyCell;
  return cells[static_cast<size_t>(y)];
}

[[noreturn]] void EndOnNegativeTile(int32_t value, int32_t layer, int64_t x, int64_t y) {
  char text[200];
  std::snprintf(text, sizeof text, "タイル番号が異常です=>%d 位置(Layer%d X:%lld Y:%lld)", value, layer,
                static_cast<long long>(x), static_cast<long long>(y));
  ShowMessageBox(text, "Error!");
  ExitProgram(1);
}

// How the pieces of this frame are placed: unscaled at their position, or
// stretched by the display scale and moved by the zoom.
struct TilePlacement {
  bool unscaled = true;
  int64_t scale = 1;
  int32_t zoom = 100;
  int64_t centreX = 0;  // the zoom centre in drawn pixels
  int64_t centreY = 0;

  void Draw(int graphic, int64_t x, int64_t y, int64_t size) const {
    if (graphic < 0) return;
    if (unscaled) {
      DrawGraphicAt(ToDrawCoordinate(x), ToDrawCoordinate(y), graphic, kTransparent);
      return;
    }
    const int64_t left = x * scale;
    const int64_t top = y * scale;
    const int64_t right = (x + size) * scale;
    const int64_t bottom = (y + size) * scale;
    DrawGraphicStretched(ToDrawCoordinate(ZoomCoordinate(left, centreX, zoom)),
                         ToDrawCoordinate(ZoomCoordinate(top, centreY, zoom)),
                         ToDrawCoordinate(ZoomCoordinate(right, centreX, zoom)),
                         ToDrawCoordinate(ZoomCoordinate(bottom, centreY, zoom)), graphic, kTransparent);
  }
};

int64_t NonNegativeRemainder(int64_t value, int64_t divisor) {
  const int64_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

}  // namespace

TileLayerState::TileLayerState() { RefreshTileLevels(); }

void TileLayerState::RefreshTileLevels() {
  const std::vector<int32_t>& flags = CurrentMap.tileFlags;
  drawLevels.resize(flags.size());
  for (size_t i = 0; i < flags.size(); ++i) {
    drawLevels[i] = (flags[i] & MapScene::kAlsoTestBelow) ? 1 : (flags[i] & MapScene::kTestBelow) ? 2 : 0;
  }
}

void TileLayerState::CheckImages() {
  const MapScene& map = CurrentMap;
  bool changed = tileSetName != map.tileImageName;
  // Only the first four autotiles count: a change of the others alone does
  // not reload.
  for (size_t i = 0; i < 4; ++i) changed = changed || autotileNames[i] != map.autotileImageNames[i];
  if (!changed) return;
  tileSetName = map.tileImageName;
  autotileNames = map.autotileImageNames;
  const int32_t t = MapTileUnit();
  LoadGraphic(tileSetName, t, t, 1);
  tileSetIndex = CachedGraphics.IndexOf(tileSetName);
  for (size_t i = 0; i < kAutotiles; ++i) {
    const std::string& name = autotileNames[i];
    if (name.empty()) continue;
    autotilePresent[i] = 1;
    LoadGraphic(name, t / 2, t / 2, 1);
    autotileIndexes[i] = CachedGraphics.IndexOf(name);
    int width = 0;
    GetGraphicSize(CachedGraphics.Piece(autotileIndexes[i], 0), &width, nullptr);
    autotileFrames[i] = width / t;
  }
}

void TileLayerState::Draw(int32_t pass, int32_t row) {
  CheckImages();
  const MapScene& map = CurrentMap;
  if (pass == 0) {
    scrollX = ClampToI32(int64_t{scrollX} - map.shakeOffsetX);
    scrollY = ClampToI32(int64_t{scrollY} - map.shakeOffsetY);
  }
  animationFrame = map.frameCounter / 20;
  SetBlendMode(0, 255);

  const int32_t width = map.Width();
  const int32_t height = map.Height();
  if (width <= 0 || height <= 0) return;
  const int64_t t = MapTileUnit();
  const int64_t half = t / 2;
  const int64_t startColumn = scrollX / t;
  const int64_t startRow = scrollY / t;
  const int64_t shiftX = scrollX % t;  // the sign of the scroll
  const int64_t shiftY = scrollY % t;

  int64_t firstRow = kFirstRow;
  int64_t lastRow = kLastRow;
  if (pass == 1) {
    const int64_t j = int64_t{row} - startRow;
    if (j > kLastRow) return;
    firstRow = lastRow = j;
  }

  TilePlacement placement;
  placement.scale = MapDisplayScale();
  placement.zoom = map.zoom.zoom;
  placement.unscaled = placement.scale == 1 && placement.zoom == 100;
  placement.centreX = int64_t{map.zoom.centreX} * placement.scale;
  placement.centreY = int64_t{map.zoom.centreY} * placement.scale;

  const GraphicCache& cache = CachedGraphics;
  const auto levelIs = [&](int64_t entry) {
    return static_cast<uint64_t>(entry) < drawLevels.size() && drawLevels[static_cast<size_t>(entry)] == pass;
  };
  for (int64_t j = firstRow; j <= lastRow; ++j) {
    const int64_t mapY = NonNegativeRemainder(startRow + j, height);
    const int64_t y = j * t - shiftY;
    for (int32_t layer = 0; layer < 3; ++layer) {
      for (int64_t i = kFirstColumn; i <= kLastColumn; ++i) {
        const int64_t columnX = startColumn + i;
        if (!map.loopX && (columnX < 0 || columnX >= width)) continue;
        const int32_t value = CellValue(map.mapData, layer, NonNegativeRemainder(columnX, width), mapY);
        if (value < 0) EndOnNegativeTile(value, layer, columnX, startRow + j);
        const int64_t x = i * t - shiftX;
        if (value < kAutotileBase) {
          if (levelIs(int64_t{value} + 8)) placement.Draw(cache.Piece(tileSetIndex, value + 1), x, y, t);
          continue;
        }
        const int32_t kind = value / kAutotileBase;
        if (kind < 2 || kind > 8 || !levelIs(kind - 1)) continue;
        const size_t slot = static_cast<size_t>(kind - 2);
        const int64_t frames = autotileFrames[slot];
        // An image narrower than a tile has no frame to show.
        if (!autotilePresent[slot] || frames < 1) continue;
        const int32_t shape = value % kAutotileBase;
        const int64_t d1 = shape / 1000;
        const int64_t d2 = shape % 1000 / 100;
        const int64_t d3 = shape % 100 / 10;
        const int64_t d4 = shape % 10;
        const int64_t f = animationFrame % frames;
        const int32_t index = autotileIndexes[slot];
        const auto quarter = [&](int64_t piece) {
          return piece < INT32_MAX ? cache.Piece(index, static_cast<int32_t>(piece)) : -1;
        };
        placement.Draw(quarter(2 * f + 4 * d1 * frames + 1), x, y, half);
        placement.Draw(quarter(2 * f + 4 * d2 * frames + 2), x + half, y, half);
        placement.Draw(quarter(2 * f + 2 * (2 * d3 + 1) * frames + 1), x, y + half, half);
        placement.Draw(quarter(2 * f + 2 * (2 * d4 + 1) * frames + 2), x + half, y + half, half);
      }
    }
  }
}
