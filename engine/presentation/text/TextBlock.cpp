#include "engine/presentation/text/TextBlock.h"

#include <algorithm>
#include <cmath>

#include "engine/presentation/PresentationSettings.h"
#include "runtime/Movan.h"

TextBlock::TextBlock(int32_t x, int32_t y) : originX(x), originY(y) {
  SetDefaultFontType(2);
  SetDefaultFontThickness(0);
}

void TextBlock::ResetLayout() {
  takenText = sourceText;
  lineWidths.clear();
  lineTops.clear();
  lineHeights.clear();
  widestLine = 0;
  widestPixelLine = 0;
  if (instant) {
    revealed = 1000000.0;
  } else {
    revealed = 0.0;
    previousRevealed = 0.0;
  }
  workText = sourceText;
  waitPosition = 0;
  waitFrames = 0;
  keyWaitPosition = 0;
  controlBytes = 0;
  waitingForKey = 0;
  autoClose = 0;
}

void TextBlock::AdvanceReveal() {
  previousRevealed = revealed;
  const int32_t step = PresentationFrameStep();
  if (!waitingForKey && waitFrames <= 0) revealed = std::min(revealed + step * speed / 30.0, kMaxRevealed);
  if (waitFrames >= 1) waitFrames -= step;
}

bool TextBlock::IsFullyRevealed() const {
  return static_cast<int64_t>(revealed) + controlBytes >= static_cast<int64_t>(workText.size());
}

void TextBlock::RecordLine(int32_t height) {
  const size_t need = static_cast<size_t>(std::max(line, 0)) + 1;
  if (lineWidths.size() < need) lineWidths.resize(need, 0);
  if (lineTops.size() < need) lineTops.resize(need, 0);
  if (lineHeights.size() < need) lineHeights.resize(need, 0);
  if (linePixelWidths.size() < need) linePixelWidths.resize(need, 0);
  const size_t i = need - 1;
  const int32_t scale = DisplayScale();
  if (lineWidths[i] < penX / scale) {
    lineWidths[i] = penX / scale;
    linePixelWidths[i] = penX;
    widestLine = std::max(widestLine, lineWidths[i]);
    widestPixelLine = std::max(widestPixelLine, penX);
  }
  lineTops[i] = penY / scale;
  lineHeights[i] = height;
}

int32_t TextBlock::Measure(int32_t& width, int32_t& height) {
  Layout(kMeasure, 1.0, 1.0);
  width = 0;
  height = 0;
  const size_t lines = std::max(lineTops.size(), lineHeights.size());
  for (size_t i = 0; i < lines; ++i) {
    width = std::max(width, TableEntry(lineWidths, static_cast<int32_t>(i)));
    height = std::max(height, TableEntry(lineTops, static_cast<int32_t>(i)) +
                                  TableEntry(lineHeights, static_cast<int32_t>(i)));
  }
  return static_cast<int32_t>(lines);
}

int32_t TextBlock::SnapFontSize(int32_t size) {
  // The player reports a system of the NT family, so the sizes the older
  // family's font engine could not make need no remapping.
  return TileUnit == 16 ? std::clamp(size, 2, 80) : std::clamp(size, 7, 129);
}
