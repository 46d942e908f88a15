// A picture's values and effects turned into one or two draws of the
// layer: a stretched piece, a rotated piece, nine stretched pieces or a
// laid-out text, first under its blend with the negative colour offsets as
// brightness, then, when a channel is raised, once more additively with
// the positive offsets.

#include <algorithm>
#include <cmath>

#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/Picture.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

using picture::Between;
using picture::MulDiv;
using picture::Saturate;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Far beyond any screen: keeps the arithmetic on coordinates in range.
constexpr double kCoordinateLimit = 1e15;

int64_t Trunc(double v) { return static_cast<int64_t>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)); }

enum class Shape { kPlain, kRotated, kNinePiece, kText };

// Where and how big a picture is drawn this frame, in game pixels.
struct Placement {
  int64_t left = 0, top = 0, right = 0, bottom = 0;  // plain, nine-piece
  int64_t centreX = 0, centreY = 0;                  // rotated
  int64_t angle = 0;                                 // rotated, tenths of a degree
  int64_t zoom = 100;                                // rotated, percent
  int64_t originX = 0, originY = 0;                  // text, screen pixels
  double textScaleX = 1.0, textScaleY = 1.0;
};

// The loop map's shift of a picture whose edge has left the screen on the
// left or top: one map further, and back when that passed the screen.
int64_t WrapShift(int64_t edge, int64_t mapPixels, int64_t screenPixels) {
  int64_t shift = edge < 0 ? mapPixels : 0;
  if (edge + shift > screenPixels) shift -= mapPixels;
  return shift;
}

}  // namespace

void Picture::Draw() {
  if (hidden) return;
  if (framesTotal == 0) framesTotal = 1;
  const int64_t l = framesLeft;
  const int64_t t = framesTotal;
  const PictureEffects::Values fx = effects.Current();
  const bool fading = erasing && !erased;
  const bool settled = !fading && l == -1;
  const bool moving = !fading && !settled;
  const double f = moving ? static_cast<double>(l) / static_cast<double>(t) : 0.0;
  const int64_t s = DisplayScale();
  const int64_t u = TileUnit;

  const Shape shape = isText        ? Shape::kText
                      : isNinePiece ? Shape::kNinePiece
                      : (angle != angleFrom || angle % 3600 != 0) ? Shape::kRotated
                                                                  : Shape::kPlain;
  const int64_t w = shape == Shape::kNinePiece ? divX : pieceWidth;
  const int64_t h = shape == Shape::kNinePiece ? divY : pieceHeight;
  const int64_t wFrom = shape == Shape::kNinePiece ? divX : pieceWidthFrom;
  const int64_t hFrom = shape == Shape::kNinePiece ? divY : pieceHeightFrom;
  const int64_t zx = moving ? Between(zoomX, zoomXFrom, framesLeft, framesTotal) : zoomX;
  const int64_t zy = moving ? Between(zoomY, zoomYFrom, framesLeft, framesTotal) : zoomY;
  const int64_t v = fx.zoom;

  Placement at;
  if (shape == Shape::kRotated) {
    const int64_t z = zoomX == 100 ? zoomY : zoomX;
    const int64_t zFrom = zoomXFrom == 100 ? zoomYFrom : zoomXFrom;
    const double cxTarget = x - picture::AnchorX(anchor, w * z / 100.0) + w * z / 200.0;
    const double cyTarget = y - picture::AnchorY(anchor, h * z / 100.0) + h * z / 200.0;
    const double cxStart = xFrom - picture::AnchorX(anchorFrom, wFrom * zFrom / 100.0) + wFrom * zFrom / 200.0;
    const double cyStart = yFrom - picture::AnchorY(anchorFrom, hFrom * zFrom / 100.0) + hFrom * zFrom / 200.0;
    at.centreX = Trunc(cxTarget + (cxStart - cxTarget) * f);
    at.centreY = Trunc(cyTarget + (cyStart - cyTarget) * f);
    at.angle = moving ? Between(angle, angleFrom, framesLeft, framesTotal) : angle;
    const int64_t vz = MulDiv(v, z, 100);
    at.zoom = moving ? vz + MulDiv(MulDiv(v, zFrom, 100) - vz, l, t) : vz;
  } else {
    const double xt = x - picture::AnchorX(anchor, w * zoomX / 100.0);
    const double yt = y - picture::AnchorY(anchor, h * zoomY / 100.0);
    const double xs = xFrom - picture::AnchorX(anchorFrom, wFrom * zoomXFrom / 100.0);
    const double ys = yFrom - picture::AnchorY(anchorFrom, hFrom * zoomYFrom / 100.0);
    const double left = xt + (xs - xt) * f;
    const double top = yt + (ys - yt) * f;
    at.left = Trunc(left);
    at.top = Trunc(top);
    at.right = Trunc(left + w * zx / 100.0 + 0.5);
    at.bottom = Trunc(top + h * zy / 100.0 + 0.5);
    if (shape == Shape::kText) {
      at.originX = at.left * s;
      at.originY = at.top * s;
      at.textScaleX = v / 100.0 * zx / 100.0;
      at.textScaleY = v / 100.0 * zy / 100.0;
    }
  }

  if (followsMap) {
    wrapX = 0;
    wrapY = 0;
    const int64_t qx = CurrentMap.scrollX / 4;
    const int64_t qy = CurrentMap.scrollY / 4;
    // A rotated picture is placed by its centre, a text by its origin.
    int64_t& edgeX = shape == Shape::kRotated ? at.centreX : shape == Shape::kText ? at.originX : at.left;
    int64_t& edgeY = shape == Shape::kRotated ? at.centreY : shape == Shape::kText ? at.originY : at.top;
    const int64_t unit = shape == Shape::kText ? s : 1;  // the text origin is in screen pixels
    edgeX -= shape == Shape::kText ? CurrentMap.scrollX * s / 4 : qx;
    edgeY -= shape == Shape::kText ? CurrentMap.scrollY * s / 4 : qy;
    at.right -= qx;
    at.bottom -= qy;
    const int64_t shiftX =
        CurrentMap.loopX ? WrapShift(edgeX, int64_t{CurrentMap.Width()} * u * unit, 20 * u * unit) : 0;
    const int64_t shiftY =
        CurrentMap.loopY ? WrapShift(edgeY, int64_t{CurrentMap.Height()} * u * unit, 15 * u * unit) : 0;
    edgeX += shiftX;
    edgeY += shiftY;
    at.right += shiftX / unit;
    at.bottom += shiftY / unit;
    wrapX = Saturate(shiftX / unit);
    wrapY = Saturate(shiftY / unit);
  }

  // The effects' zoom about a point, then their offset.
  const int64_t cx = fx.zoomCenterX;
  const int64_t cy = fx.zoomCenterY;
  const auto zoomAbout = [v](int64_t p, int64_t c) { return p + MulDiv(p - c, v - 100, 100); };
  if (shape == Shape::kText) {
    at.originX = zoomAbout(at.originX, cx * s) + fx.offsetX * s;
    at.originY = zoomAbout(at.originY, cy * s) + fx.offsetY * s;
    text.originX = Saturate(at.originX);
    text.originY = Saturate(at.originY);
    drawnLeft = Saturate(at.originX / s);
    drawnTop = Saturate(at.originY / s);
    drawnRight = Saturate((MulDiv(w * s, zx, 100) + at.originX) / s);
    drawnBottom = Saturate((MulDiv(h * s, zy, 100) + at.originY) / s);
  } else if (shape == Shape::kRotated) {
    at.centreX = zoomAbout(at.centreX, cx) + fx.offsetX;
    at.centreY = zoomAbout(at.centreY, cy) + fx.offsetY;
    // The bounding box of the turned piece.
    const double a = static_cast<double>(at.angle) * kPi / 1800.0;
    const double hw = w * static_cast<double>(at.zoom) / 200.0;
    const double hh = h * static_cast<double>(at.zoom) / 200.0;
    const double bw = std::fabs(hw * std::cos(a)) + std::fabs(hh * std::sin(a));
    const double bh = std::fabs(hw * std::sin(a)) + std::fabs(hh * std::cos(a));
    // Rounded: a quarter turn's cosine is not quite 0.
    drawnLeft = Saturate(Trunc(std::round(at.centreX - bw)));
    drawnRight = Saturate(Trunc(std::round(at.centreX + bw)));
    drawnTop = Saturate(Trunc(std::round(at.centreY - bh)));
    drawnBottom = Saturate(Trunc(std::round(at.centreY + bh)));
  } else {
    at.left = zoomAbout(at.left, cx) + fx.offsetX;
    at.right = zoomAbout(at.right, cx) + fx.offsetX;
    at.top = zoomAbout(at.top, cy) + fx.offsetY;
    at.bottom = zoomAbout(at.bottom, cy) + fx.offsetY;
    drawnLeft = Saturate(at.left);
    drawnRight = Saturate(at.right);
    drawnTop = Saturate(at.top);
    drawnBottom = Saturate(at.bottom);
  }

  // Colour: negative offsets darken through the brightness, positive ones
  // are added by a second pass.
  int32_t own[3];
  int32_t brightness[3];
  int32_t added[3];
  bool raised = false;
  for (size_t c = 0; c < 3; ++c) {
    const int64_t e = fx.colorOffsets[c];
    own[c] = settled ? color[c] : static_cast<int32_t>(Trunc(color[c] + (static_cast<double>(colorFrom[c]) - color[c]) *
                                                                            static_cast<double>(l) / t));
    brightness[c] = static_cast<int32_t>(std::clamp<int64_t>(255 + e + own[c], 0, 255));
    added[c] = static_cast<int32_t>(std::clamp<int64_t>(e + own[c], 0, 255));
    raised = raised || e + color[c] > 0 || (!settled && e + colorFrom[c] > 0);
  }

  const int32_t mode = picture::BlendModeOf(blend);
  int64_t parameter = opacity;
  int32_t mainMode = mode;
  if (settled) {
    if (opacity == 0) return;
    if (opacity == 255 && blend == 0) mainMode = 0;
  } else if (moving) {
    parameter = Trunc(opacity + (static_cast<double>(opacityFrom) - opacity) * l / t);
  } else {
    parameter = Trunc(opacity * static_cast<double>(l) / t);
  }
  const int32_t p = static_cast<int32_t>(std::clamp<int64_t>(parameter, 0, 255));

  const auto screen = [s](int64_t value) { return Saturate(value * s); };
  const int32_t piece = pattern >= 1 && pattern <= static_cast<int32_t>(pieces.size())
                            ? pieces[static_cast<size_t>(pattern) - 1]
                            : -1;
  const auto drawOnce = [&] {
    switch (shape) {
      case Shape::kPlain:
        if (piece != -1) DrawGraphicStretched(screen(at.left), screen(at.top), screen(at.right), screen(at.bottom), piece, 1);
        break;
      case Shape::kRotated:
        if (piece != -1) {
          DrawGraphicRotatedInt(screen(at.centreX), screen(at.centreY), static_cast<double>(at.zoom) * 0.01 * s,
                                static_cast<double>(at.angle) * kPi / 1800.0, piece, 1, 0);
        }
        break;
      case Shape::kText: text.Layout(TextBlock::kDraw, at.textScaleX, at.textScaleY); break;
      case Shape::kNinePiece: {
        // An image smaller than 3 x 3 has no nine pieces.
        if (pieces.size() < 9 || pieceWidth < 1 || pieceHeight < 1) break;
        const int64_t cw = pieceWidth;
        const int64_t ch = pieceHeight;
        const int64_t l1 = at.left, t1 = at.top, r1 = at.right, b1 = at.bottom;
        // Corners first in each band, then the stretched middle.
        const int64_t rects[9][5] = {
            {0, l1, t1, l1 + cw, t1 + ch},      {2, r1 - cw, t1, r1, t1 + ch},
            {1, l1 + cw, t1, r1 - cw, t1 + ch}, {3, l1, t1 + ch, l1 + cw, b1 - ch},
            {5, r1 - cw, t1 + ch, r1, b1 - ch}, {4, l1 + cw, t1 + ch, r1 - cw, b1 - ch},
            {6, l1, b1 - ch, l1 + cw, b1},      {8, r1 - cw, b1 - ch, r1, b1},
            {7, l1 + cw, b1 - ch, r1 - cw, b1},
        };
        for (const auto& r : rects) {
          DrawGraphicStretched(screen(r[1]), screen(r[2]), screen(r[3]), screen(r[4]), pieces[static_cast<size_t>(r[0])], 1);
        }
        break;
      }
    }
  };

  SetBlendMode(mainMode, mainMode == 0 ? 255 : p);
  SetDrawBrightness(brightness[0], brightness[1], brightness[2]);
  drawOnce();
  if (raised) {
    SetBlendMode(2, p);
    SetDrawBrightness(added[0], added[1], added[2]);
    drawOnce();
  }
  SetBlendMode(0, 255);
  SetDrawBrightness(255, 255, 255);
}
