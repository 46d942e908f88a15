#pragma once
// A move route: six option bytes and the steps a character takes. Pages and
// commands of map and common-event files carry routes in one record layout,
// and the characters' save records store theirs in the same layout.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/file/SaveBuffer.h"

struct MoveRouteStep {
  uint8_t code = 0;
  std::vector<int32_t> arguments;
  std::string text;

  bool operator==(const MoveRouteStep&) const = default;
};

struct MoveRoute {
  enum Option : int {
    kMovementType = 0,
    kAnimationSpeed = 1,
    kMovementSpeed = 2,
    kMovementFrequency = 3,
    kOptionBits = 4,
    kRouteOptions = 5,  // bit 0 repeat the route, bit 1 skip a step that cannot be made
  };
  static constexpr int32_t kMaxSteps = 65536;

  std::array<uint8_t, 6> options{0, 3, 3, 3, 3, 2};
  std::vector<MoveRouteStep> steps;

  // Bits of the option-bits byte, each 0 or 1.
  int FlagBit0() const { return FlagBit(0); }  // first animation option
  int FlagBit1() const { return FlagBit(1); }  // second animation option
  int FlagBit2() const { return FlagBit(2); }  // fixed direction
  int FlagBit3() const { return FlagBit(3); }  // passes through other characters
  int FlagBit4() const { return FlagBit(4); }  // always drawn above other characters
  int FlagBit5() const { return FlagBit(5); }  // wide collision
  int FlagBit6() const { return FlagBit(6); }  // placed half a tile higher when the event is built

  // Reads a route record. False, with the cursor's overrun flag set, when
  // the record runs past the end or its step count is negative or above
  // kMaxSteps; the route may then hold part of the record.
  bool Read(ByteCursor& in);
  // Writes the route record. A step keeps at most 255 arguments and a text
  // of at most 254 bytes, the most the record can carry. False when the save
  // buffer is full.
  bool Write(SaveBuffer& out) const;

  bool operator==(const MoveRoute&) const = default;

 private:
  int FlagBit(int bit) const { return (options[kOptionBits] >> bit) & 1; }
};
