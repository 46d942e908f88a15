#include "engine/data/map/MapEvent.h"

bool MapEvent::Read(ByteCursor& in) {
  uint8_t marker = 0;
  int32_t headerWord = 0;
  if (!in.ReadU8(marker) || !in.ReadI32(headerWord) || !in.ReadI32(id) || !in.ReadString(name, 512) ||
      !in.ReadI32(x) || !in.ReadI32(y) || !in.ReadI32(pageCount) || in.ReadByteListPrefix(extraBytes) < 0 ||
      !in.CountFits(pageCount, EventPage::kSmallestRecordBytes)) {
    return false;
  }
  // Pages beyond the count are kept; new ones are added as they are read.
  for (size_t i = 0; i < static_cast<size_t>(pageCount); ++i) {
    if (i == pages.size()) pages.emplace_back();
    if (!pages[i].Read(in)) return false;
  }
  return in.ReadU8(marker);
}
