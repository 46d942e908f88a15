#pragma once
// Units shared by everything the map drawing draws: the tile unit t, the
// display scale s by which drawn coordinates are multiplied, and the map
// view's zoom, which moves a coordinate away from the zoom centre.

#include <cstdint>

#include "engine/map/MapSettings.h"
#include "engine/map/WrapCoordinate.h"

// Every draw of the map passes the transparency flag on.
inline constexpr int kTransparent = 1;

inline int32_t MapTileUnit() { return CurrentMapSettings.tileUnit; }
inline int32_t MapDisplayScale() { return CurrentMapSettings.tileUnit == 16 ? 2 : 1; }

// v + (v - centre)(zoom - 100) / 100: the product first, then the division,
// truncating toward zero.
inline int64_t ZoomCoordinate(int64_t v, int64_t centre, int32_t zoom) {
  const __int128 moved = static_cast<__int128>(v - centre) * (int64_t{zoom} - 100) / 100;
  const __int128 result = moved + v;
  return result > INT64_MAX / 4 ? INT64_MAX / 4 : result < INT64_MIN / 4 ? INT64_MIN / 4 : static_cast<int64_t>(result);
}

// size x zoom / 100, truncating toward zero.
inline int64_t ZoomSize(int64_t size, int32_t zoom) {
  const __int128 result = static_cast<__int128>(size) * zoom / 100;
  return result > INT64_MAX / 4 ? INT64_MAX / 4 : result < INT64_MIN / 4 ? INT64_MIN / 4 : static_cast<int64_t>(result);
}

// A drawn coordinate as the layer takes it.
inline int ToDrawCoordinate(int64_t v) { return ClampToI32(v); }
