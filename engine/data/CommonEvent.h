#pragma once
// One common event: a shared command list that other events call, that
// starts automatically while its condition holds, or that runs in parallel on
// every map, with the tables of the arguments it takes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/map/EventCommandList.h"

struct CommonEvent {
  int32_t number = 0;  // its index in the list, never taken from a file
  std::string name;
  // Low 4 bits: start kind (1 automatic, 2 parallel while the condition
  // holds, 3 parallel always, others only by calls); high 4 bits: the
  // condition's comparison operator.
  uint8_t trigger = 32;
  int32_t conditionVariable = 2000000;
  int32_t conditionValue = 0;
  std::array<uint8_t, 2> optionBytes{};  // kept and copied, not interpreted
  EventCommandList commands;
  std::vector<uint8_t> extraBytes{0};
  std::string extraText;  // stored only when there is at least one extra byte
  std::vector<std::string> argumentNames = std::vector<std::string>(10);
  std::vector<uint8_t> argumentSettings = std::vector<uint8_t>(10, 0);
  std::vector<std::vector<std::string>> argumentOptionTexts = std::vector<std::vector<std::string>>(10);
  std::vector<std::vector<int32_t>> argumentOptionValues = std::vector<std::vector<int32_t>>(10);
  std::vector<int32_t> argumentDefaults = std::vector<int32_t>(5, 0);

  // A new common event holds one default command.
  CommonEvent();

  // Inserts a default command before position min(n, number of commands).
  void InsertCommand(int32_t n);

  // Reads one common-event record. A list read shorter than the one held
  // keeps its later entries. An unknown format byte or a wrong end byte is
  // reported in a message box and the record read on. False, with the
  // cursor's overrun flag set, when the record is damaged: a negative count,
  // a name longer than the reader's 512 bytes, or a field past the end.
  bool Read(ByteCursor& in);

  // Record byte, number, trigger, condition variable and value, option
  // bytes, name length, command count, extra count, format byte.
  static constexpr int64_t kSmallestRecordBytes = 1 + 4 + 1 + 4 + 4 + 2 + 4 + 4 + 4 + 1;

  bool operator==(const CommonEvent&) const = default;
};
