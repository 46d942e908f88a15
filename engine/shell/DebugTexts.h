#pragma once
// Lines of the test-play debug displays with where they go, made apart from
// the drawing so that what they say can be checked without a screen.

#include <cstdint>
#include <string>
#include <vector>

struct DebugText {
  int32_t x = 0;
  int32_t y = 0;
  uint32_t colour = 0;  // packed
  std::string text;
  bool operator==(const DebugText&) const = default;
};

// Each text at its place moved left by shiftX, without an edge.
void DrawDebugTexts(const std::vector<DebugText>& texts, int32_t shiftX);
