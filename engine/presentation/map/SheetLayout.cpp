#include "engine/presentation/map/SheetLayout.h"

#include "engine/services/ShiftJisPosition.h"

namespace {

bool Contains(const std::string& name, const char* upper, const char* lower) {
  return name.find(lower) != std::string::npos || name.find(upper) != std::string::npos;
}

// "T.png", else "T.PNG": the first occurrence counts, and only when it does
// not start on the second half of a two-byte character.
bool HasTMark(const std::string& name) {
  size_t at = name.find("T.png");
  if (at == std::string::npos) at = name.find("T.PNG");
  return at != std::string::npos && ShiftJisPositionState(name.c_str(), static_cast<int>(at)) != kTrailByte;
}

}  // namespace

SheetCut ChooseSheetCut(const std::string& fileName, int32_t patterns, bool eightDirections) {
  const int64_t p = patterns;
  SheetCut cut{kSheetPlain, 0};
  int64_t columns = 2 * p;
  if (HasTMark(fileName)) {
    cut.layout = kSheetT;
    columns = 2 * p + 2;
  }
  if (Contains(fileName, "TX.PNG", "TX.png")) {
    cut.layout = kSheetTX;
    columns = 4 * p;
  }
  if (!eightDirections) columns /= 2;
  if (Contains(fileName, "$.PNG", "$.png")) {
    cut.layout = kSheetSingle;
    columns = 1;
  }
  cut.columns = static_cast<int32_t>(columns);
  return cut;
}
