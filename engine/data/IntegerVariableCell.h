#pragma once
// An integer cell of the game's variables named by what holds it rather than
// by its address: a numbered-set entry, a common event's self variable or a
// database cell. Prepared commands keep it and resolve it again whenever the
// containers may have moved (CellEpoch.h).

#include <cstdint>

struct IntegerVariableCell {
  enum Kind : uint8_t { kNone, kNumberedSet, kCommonSelf, kDatabase };
  Kind kind = kNone;
  int32_t a = 0;  // set, common event index, or database selector
  int32_t b = 0;  // entry, slot, or type
  int32_t c = 0;  // data
  int32_t d = 0;  // item

  bool operator==(const IntegerVariableCell&) const = default;
};
