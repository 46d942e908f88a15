#include "engine/data/map/EventPage.h"

#include <algorithm>

#include "engine/services/VariableRead.h"

namespace {

// IDs that name "this event's" self variable or position field are turned
// into the absolute IDs of the event (ID mod 10 picks the field).
int32_t EventRelativeId(int32_t id, int32_t eventId, int32_t selfFirst) {
  auto rebase = [eventId](int32_t base, int32_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(base) + static_cast<uint32_t>(eventId) * 10u +
                                static_cast<uint32_t>(v % 10));
  };
  if (id >= selfFirst && id < 1200000) id = rebase(1000000, id);
  if (id >= 9190000 && id < 9200000) id = rebase(9100000, id);
  return id;
}

bool Compare(int op, int32_t a, int32_t b) {
  switch (op) {
    case 0: return a > b;
    case 1: return a >= b;
    case 2: return a == b;
    case 3: return a <= b;
    case 4: return a < b;
    case 5: return a != b;
    case 6: return (a & b) == b;
    default: return false;
  }
}

}  // namespace

EventPage::EventPage() { InsertCommand(0); }

bool EventPage::CheckConditions(int32_t eventId) const {
  for (int i = 0; i < 4; ++i) {
    const uint8_t flag = conditions.flags[i];
    if ((flag & 1) == 0) return true;
    const int32_t a = GetVariable(EventRelativeId(conditions.leftIds[i], eventId, 1000000));
    const int32_t b = GetVariable(EventRelativeId(conditions.rightOperands[i], eventId, 1100000));
    if (!Compare(flag >> 4, a, b)) return false;
  }
  return true;
}

void EventPage::InsertCommand(int32_t n) {
  const int64_t at = std::clamp<int64_t>(std::min(n, commandCount), 0, static_cast<int64_t>(commands.size()));
  commands.Insert(static_cast<size_t>(at), CommandRecord{});
}

bool EventPage::Read(ByteCursor& in) {
  uint8_t marker = 0;
  if (!in.ReadU8(marker) || !in.ReadI32(graphic.graphicId) || !in.ReadString(graphic.fileName, 512) ||
      !in.ReadU8(graphic.direction) || !in.ReadU8(graphic.pattern) || !in.ReadU8(graphic.opacity) ||
      !in.ReadU8(graphic.blendMode)) {
    return false;
  }
  if (!in.ReadU8(conditions.triggerKind) || !in.ReadBytes(conditions.flags.data(), 4) ||
      !in.ReadI32Array(conditions.leftIds.data(), 4) || !in.ReadI32Array(conditions.rightOperands.data(), 4)) {
    return false;
  }
  if (!route.Read(in) || !in.ReadCount(commandCount, EventCommandList::kSmallestRecordBytes)) return false;
  if (!commands.Read(in, commandCount)) return false;
  return in.ReadByteListPrefix(extraBytes) >= 0 && in.ReadU8(marker);
}
