#include "engine/presentation/map/WrappingImageLayer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/map/MapDrawUnits.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kImagesType = 13;
constexpr int32_t kNone = -1;
constexpr int32_t kByName = -2;

constexpr bool IsPanorama(ImageLayerKind kind) { return kind == ImageLayerKind::kPanorama; }

// The request fields of one layer, found at each use.
struct Request {
  int32_t& number;
  int32_t& speedX;
  int32_t& speedY;
  int32_t& divisor;
  std::string& name;
  uint8_t& nameChanged;
};

template <ImageLayerKind kKind>
Request RequestOf() {
  RootEventRunner& r = RootRunner;
  if constexpr (IsPanorama(kKind)) {
    return {r.panorama[0], r.panorama[1], r.panorama[2], r.panoramaValue, r.panoramaFileName,
            SystemStateHub.panoramaChanged};
  } else {
    return {r.fog[0], r.fog[1], r.fog[2], r.fogValue, r.fogFileName, SystemStateHub.fogChanged};
  }
}

// Leading digits with an optional sign; 0 when there are none. Saturates.
int32_t LeadingNumber(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
  }
  return ClampToI32(negative ? -value : value);
}

int64_t NonNegativeRemainder(int64_t value, int64_t divisor) {
  const int64_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

// delta x (zoom - 100) / 100, the product first.
int64_t ZoomShift(int64_t delta, int32_t zoom) { return ZoomCoordinate(delta, 0, zoom) - delta; }

}  // namespace

template <ImageLayerKind kKind>
void WrappingImageLayer<kKind>::ChangeByNumber() {
  const Request request = RequestOf<kKind>();
  const int32_t n = request.number;
  offsetX = offsetY = 0;
  accumulatedX = accumulatedY = 0;
  imageIndex = -1;
  width = height = 2;
  std::string name;
  if (n == kNone) {
    request.name.clear();
  } else if (n == kByName) {
    name = request.name;
  } else if (n >= 0) {
    const Database& database = SystemDatabase;
    name = database.GetString(kImagesType, n, 0);
    request.speedX = database.GetInt(kImagesType, n, 1);
    request.speedY = database.GetInt(kImagesType, n, 2);
    if (database.GetItemCount(kImagesType) > 3) request.divisor = database.GetInt(kImagesType, n, 3);
  }
  if (!name.empty()) {
    if (LoadGraphic(name, 1, 1, 0)) {
      imageIndex = CachedGraphics.IndexOf(name);
      GetGraphicSize(CachedGraphics.Piece(imageIndex, 0), &width, &height);
      request.name = name;
    } else {
      char line[200];
      if (IsPanorama(kKind)) {
        std::snprintf(line, sizeof line, "遠景画像%d番に変更されましたが、画像がありません！", n);
      } else {
        std::snprintf(line, sizeof line, "フォグ画像%d番に変更されましたが、画像がありません！", n);
      }
      ShowErrorScreen(line, name, "");
    }
  }
  // Taken even when it failed: the error shows once.
  number = n;
  Scroll();
}

template <ImageLayerKind kKind>
void WrappingImageLayer<kKind>::ChangeByName() {
  const Request request = RequestOf<kKind>();
  request.nameChanged = 0;
  const std::string text = request.name;
  size_t end = text.find('\n');
  const std::string name = text.substr(0, end);
  request.name = name;
  int32_t* settings[] = {&request.speedX, &request.speedY, &request.divisor};
  for (int32_t* setting : settings) {
    if (end == std::string::npos) break;
    const size_t start = end + 1;
    end = text.find('\n', start);
    *setting = LeadingNumber(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
  }
  request.divisor = std::clamp(request.divisor, -1, 1);
  if (name.empty()) {
    request.number = kNone;
    return;
  }
  if (!LoadGraphic(name, 1, 1, 0)) {
    ShowErrorScreen(IsPanorama(kKind) ? "遠景画像が変更されましたが、以下の画像はありません！"
                                      : "フォグ画像が変更されましたが、以下の画像はありません！",
                    name, "");
    imageIndex = -1;
    return;
  }
  imageIndex = CachedGraphics.IndexOf(name);
  GetGraphicSize(CachedGraphics.Piece(imageIndex, 0), &width, &height);
  offsetX = offsetY = 0;
  accumulatedX = accumulatedY = 0;
  request.number = kByName;
  number = kByName;
}

template <ImageLayerKind kKind>
void WrappingImageLayer<kKind>::Scroll() {
  const Request request = RequestOf<kKind>();
  if (request.number == kNone || imageIndex == -1 || width <= 0 || height <= 0) return;
  const MapScene& map = CurrentMap;
  const int64_t wrapX = 8 * int64_t{width};
  const int64_t wrapY = 8 * int64_t{height};
  const int64_t step = CurrentMapSettings.frameStep;
  accumulatedX = static_cast<int32_t>((accumulatedX + int64_t{request.speedX} * step) % wrapX);
  accumulatedY = static_cast<int32_t>((accumulatedY + int64_t{request.speedY} * step) % wrapY);
  int64_t parallaxX = 0;
  int64_t parallaxY = 0;
  if (request.divisor != 0) {
    parallaxX = -2 * int64_t{map.scrollX} / request.divisor;
    parallaxY = -2 * int64_t{map.scrollY} / request.divisor;
  }
  offsetX = static_cast<int32_t>(NonNegativeRemainder(accumulatedX + parallaxX + map.shakeOffsetX, wrapX));
  offsetY = static_cast<int32_t>(NonNegativeRemainder(accumulatedY + parallaxY + map.shakeOffsetY, wrapY));
}

template <ImageLayerKind kKind>
void WrappingImageLayer<kKind>::Draw() {
  const Request request = RequestOf<kKind>();
  if (number != request.number) ChangeByNumber();
  if (request.nameChanged) ChangeByName();
  if (request.number == kNone || imageIndex == -1) return;

  int transparent = 0;
  if constexpr (IsPanorama(kKind)) {
    SetBlendMode(0, 255);
  } else {
    const int32_t kind = RootRunner.fog[3];
    const int mode = kind <= 0 ? 1 : kind == 1 ? 2 : kind == 2 ? 3 : 4;
    SetBlendMode(mode, std::clamp(RootRunner.fog[4], 0, 255));
    transparent = kTransparent;
  }

  const int whole = CachedGraphics.Piece(imageIndex, 0);
  const MapScene& map = CurrentMap;
  const int64_t s = MapDisplayScale();
  const int32_t zoom = map.zoom.zoom;
  const int32_t w = width;
  const int32_t h = height;
  if (s * zoom == 100) {
    const int32_t sx = offsetX / 8;
    const int32_t sy = offsetY / 8;
    DrawGraphicPart(sx, sy, 0, 0, w - sx, h - sy, whole, transparent, 0);
    DrawGraphicPart(0, 0, w - sx, h - sy, sx, sy, whole, transparent, 0);
    DrawGraphicPart(0, sy, w - sx, 0, sx, h - sy, whole, transparent, 0);
    DrawGraphicPart(sx, 0, 0, h - sy, w - sx, sy, whole, transparent, 0);
    return;
  }
  // Stretched parts start on whole pixels: half a pixel or more counts as one.
  if (offsetX % 8 >= 4) offsetX = (offsetX / 8 + 1) * 8;
  if (offsetY % 8 >= 4) offsetY = (offsetY / 8 + 1) * 8;
  const int32_t sx = offsetX / 8;
  const int32_t sy = offsetY / 8;
  const int64_t cx = map.zoom.centreX;
  const int64_t cy = map.zoom.centreY;
  const int x0 = ToDrawCoordinate(ZoomShift(-cx * s, zoom));
  const int x1 = ToDrawCoordinate(int64_t{offsetX} * s / 8 + ZoomShift((sx - cx) * s, zoom));
  const int x2 = ToDrawCoordinate(w * s + ZoomShift((w - cx) * s, zoom));
  const int y0 = ToDrawCoordinate(ZoomShift(-cy * s, zoom));
  const int y1 = ToDrawCoordinate(int64_t{offsetY} * s / 8 + ZoomShift((sy - cy) * s, zoom));
  const int y2 = ToDrawCoordinate(h * s + ZoomShift((h - cy) * s, zoom));
  const int parts[4] = {DeriveGraphic(0, 0, w - sx, h - sy, whole), DeriveGraphic(w - sx, h - sy, sx, sy, whole),
                        DeriveGraphic(w - sx, 0, sx, h - sy, whole), DeriveGraphic(0, h - sy, w - sx, sy, whole)};
  DrawGraphicStretched(x1, y1, x2, y2, parts[0], transparent);
  DrawGraphicStretched(x0, y0, x1, y1, parts[1], transparent);
  DrawGraphicStretched(x0, y1, x1, y2, parts[2], transparent);
  DrawGraphicStretched(x1, y0, x2, y1, parts[3], transparent);
  for (const int part : parts) {
    if (part >= 0) DeleteGraphic(part);
  }
}

template class WrappingImageLayer<ImageLayerKind::kPanorama>;
template class WrappingImageLayer<ImageLayerKind::kFog>;
