#pragma once
// One page of a map event: its graphic, its start conditions, its move route
// and its command list.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/map/EventCommandList.h"
#include "engine/data/map/MoveRoute.h"

struct PageGraphic {
  int32_t graphicId = -1;  // -1: none
  std::string fileName;
  uint8_t direction = 2;  // numpad direction
  uint8_t pattern = 1;
  uint8_t opacity = 255;
  uint8_t blendMode = 0;

  bool operator==(const PageGraphic&) const = default;
};

struct PageConditions {
  uint8_t triggerKind = 0;
  // Bit 0: the condition is in use; bits 4 to 7: the comparison operator.
  std::array<uint8_t, 4> flags{32, 32, 32, 32};
  std::array<int32_t, 4> leftIds{};
  std::array<int32_t, 4> rightOperands{};

  bool operator==(const PageConditions&) const = default;
};

struct EventPage {
  PageGraphic graphic;
  PageConditions conditions;
  MoveRoute route;
  int32_t commandCount = 0;
  EventCommandList commands;
  // Bytes 1 and 2 are the event's collision half-widths in x and y.
  std::vector<uint8_t> extraBytes{0, 0, 0};

  // A new page holds one default command and a command count of 0.
  EventPage();

  // Whether the page's start conditions hold for the map event with this id,
  // reading variables through GetVariable.
  bool CheckConditions(int32_t eventId) const;

  // Inserts a default command before position min(n, command count); the
  // command count stays as it is.
  void InsertCommand(int32_t n);

  // Start marker, graphic id, file-name length, four graphic bytes, the
  // conditions, the smallest route, command count, extra count, end marker.
  static constexpr int64_t kSmallestRecordBytes = 1 + 4 + 4 + 4 + 37 + 10 + 4 + 4 + 1;

  // Reads one page record. False, with the cursor's overrun flag set, when
  // the record is damaged.
  bool Read(ByteCursor& in);

  bool operator==(const EventPage&) const = default;
};
