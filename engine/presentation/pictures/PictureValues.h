#pragma once
// The value conventions every picture operation shares: the keep markers,
// packed colours, anchors, the blend table and the arithmetic of values
// that move over frames. Event arguments reach these unchecked, so every
// product and sum is worked out in 64 bits and saturated back.

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/services/TruncateToInt.h"

namespace picture {

// An argument with this value leaves the picture's value as it is.
constexpr int32_t kNotGiven = -1000000;
// The blend index that keeps the current blend.
constexpr int32_t kKeepBlend = 15;
// Set in a colour argument: no colour is given.
constexpr int32_t kNoColor = 0x1000000;
// Every channel at 100: no change of colour.
constexpr int32_t kNeutralColor = 0x646464;
// Set with the blend of a show: the picture follows the map.
constexpr int32_t kFollowMap = 0x100;
// Pictures a list holds at most: a save stores the count in 16 bits.
constexpr int32_t kMaxPictures = 32767;

inline int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// a * b / c toward zero without overflow; c of 0 counts as 1.
inline int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
  const __int128 p = static_cast<__int128>(a) * b;
  const __int128 q = p / (c == 0 ? 1 : c);
  if (q > INT64_MAX) return INT64_MAX;
  if (q < INT64_MIN) return INT64_MIN;
  return static_cast<int64_t>(q);
}

// The value shown between a target and a start with `left` of `total`
// frames to go: target + (start - target) x left / total.
inline int32_t Between(int32_t target, int32_t start, int32_t left, int32_t total) {
  return Saturate(target + MulDiv(int64_t{start} - target, left, total));
}

// The three channels of a packed colour, each 0..200 for the colours the
// commands pack (signed division: other values give what they give).
inline std::array<int32_t, 3> Components(int32_t packed) {
  return {packed / 65536, (packed % 65536) / 256, packed % 256};
}

// A component turned into a colour offset of -255..255.
inline int32_t ComponentOffset(int32_t component) { return TruncateToInt32((component - 100) * 2.55); }

// The horizontal and vertical anchor offsets of a rectangle: 0 top-left,
// 1 centre, 2 bottom-left, 3 top-right, 4 bottom-right; any other anchor
// places by the top-left corner.
inline int64_t AnchorX(int32_t anchor, int64_t w) { return anchor == 1 ? w / 2 : (anchor == 3 || anchor == 4) ? w : 0; }
inline int64_t AnchorY(int32_t anchor, int64_t h) { return anchor == 1 ? h / 2 : (anchor == 2 || anchor == 4) ? h : 0; }
inline double AnchorX(int32_t anchor, double w) { return anchor == 1 ? w / 2 : (anchor == 3 || anchor == 4) ? w : 0.0; }
inline double AnchorY(int32_t anchor, double h) { return anchor == 1 ? h / 2 : (anchor == 2 || anchor == 4) ? h : 0.0; }

// The layer's blend mode of a picture's blend index: translucent,
// additive, subtractive, multiply translucent, inverted translucent. An
// index outside the table (a save may hold any number) blends
// translucently.
inline int32_t BlendModeOf(int32_t index) {
  constexpr int32_t kModes[5] = {1, 2, 3, 11, 10};
  return index >= 0 && index < 5 ? kModes[index] : kModes[0];
}

}  // namespace picture
