#include "engine/presentation/text/TextColors.h"

#include <algorithm>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/presentation/text/TextBlock.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kColorType = 12;

std::vector<uint32_t> gColors;
bool gBuilt = false;

void Build() {
  gColors.clear();
  const int32_t records = SystemDatabase.GetTypeCount() > kColorType ? SystemDatabase.GetDataCount(kColorType) : 0;
  for (int32_t r = 0; r < records; ++r) {
    int32_t rgb[3];
    // Items the type lacks read -1 without an error, then 0 like negatives.
    for (int32_t item = 0; item < 3; ++item) rgb[item] = std::max(SystemDatabase.GetInt(kColorType, r, item), 0);
    gColors.push_back(PackColor(rgb[0], rgb[1], rgb[2]));
  }
  gBuilt = true;
}

}  // namespace

void ForgetTextColorTable() { gBuilt = false; }

int32_t TextColorCount() {
  return SystemDatabase.GetTypeCount() > kColorType ? std::max(SystemDatabase.GetDataCount(kColorType), 0) : 0;
}

uint32_t TextColor(int32_t index) {
  if (!gBuilt) Build();
  if (gColors.empty()) return PackColor(255, 255, 255);
  return gColors[static_cast<size_t>(std::clamp<int32_t>(index, 0, static_cast<int32_t>(gColors.size()) - 1))];
}
