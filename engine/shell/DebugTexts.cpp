#include "engine/shell/DebugTexts.h"

#include "runtime/Movan.h"

void DrawDebugTexts(const std::vector<DebugText>& texts, int32_t shiftX) {
  for (const DebugText& t : texts) DrawTextLine(t.x - shiftX, t.y, t.text.c_str(), t.colour, 0);
}
