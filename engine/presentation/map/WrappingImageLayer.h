#pragma once
// The panorama (a far view drawn behind every tile) and the fog (drawn over
// every tile and character in a blend mode of its own): one image wrapped
// around the screen, scrolling at a speed of its own, following the map's
// scroll by a parallax divisor and repeating seamlessly at its edges. The
// image is asked for by number (an entry of the panorama and fog images) or
// by file name; the requests live in the root runner and the system state.

#include <cstdint>

enum class ImageLayerKind : uint8_t { kPanorama, kFog };

template <ImageLayerKind kKind>
class WrappingImageLayer {
 public:
  int32_t number = -1;      // the request last taken: -1 none, -2 by name
  int32_t imageIndex = -1;  // graphic cache index of the image
  int32_t width = 0;
  int32_t height = 0;
  // The wrap position in eighths of a pixel: 0 <= offset < 8 x size.
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  // The scroll gathered from the speeds, in eighths of a pixel.
  int32_t accumulatedX = 0;
  int32_t accumulatedY = 0;

  // Takes pending requests, then draws.
  void Draw();
  // Takes the requested number: an entry, the name text (-2) or none (-1).
  void ChangeByNumber();
  // Takes the name text: "name", optionally followed by lines with the
  // speed x, the speed y and the parallax divisor.
  void ChangeByName();
  // One frame of scrolling.
  void Scroll();

  bool operator==(const WrappingImageLayer&) const = default;
};

using Panorama = WrappingImageLayer<ImageLayerKind::kPanorama>;
using Fog = WrappingImageLayer<ImageLayerKind::kFog>;
