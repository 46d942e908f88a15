#pragma once
// One event of a map file: where it stands and its pages.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/map/EventPage.h"

struct MapEvent {
  int32_t id;
  std::string name;
  int32_t x = 0;
  int32_t y = 0;
  int32_t pageCount = 1;
  std::vector<uint8_t> extraBytes;  // kept and copied, not interpreted
  std::vector<EventPage> pages{EventPage{}};

  explicit MapEvent(int32_t eventId) : id(eventId) {}

  // Reads one event record. A page count of 0 keeps the one default page.
  // False, with the cursor's overrun flag set, when the record is damaged.
  bool Read(ByteCursor& in);

  // Start marker, header word, id, name length, x, y, page count, extra
  // count, end marker.
  static constexpr int64_t kSmallestRecordBytes = 1 + 4 + 4 + 4 + 4 + 4 + 4 + 4 + 1;

  bool operator==(const MapEvent&) const = default;
};
