#pragma once
// Every variable of the game is named by one signed 32-bit variable ID whose
// range selects what it addresses. DecodeVariableId splits an ID into its
// range and indices; the store and the escape expander act on the result.
// IDs computed from event data (rebasing, escape sums) are formed in 64 bits:
// one outside 32 bits names no variable at all.

#include <cstdint>

enum class VariableRange : uint8_t {
  kNumber,            // below 1000000: the number itself
  kMapSelf,           // a = event 0-9999, b = slot 0-9
  kOldCommonSelf,     // refused
  kNumberedSet,       // a = set 0-9, b = entry
  kStringVariable,    // a = index
  kRandom,            // a = n: 0..n
  kSystemVariable,    // a = number
  kMapEventPosition,  // a = event id, b = field
  kPartyPosition,     // a = member (0 the hero), b = field
  kSystemString,      // a = number
  kCommonSelf,        // a = common event, b = slot
  kUserDatabase,      // a = type, b = data, c = item
  kVariableDatabase,
  kSystemDatabase,
  kNothing,           // unused ranges below 1200000000
  kNothingHigh,       // unused ranges from 1200000000 up
};

struct VariableIdParts {
  VariableRange range;
  int32_t a = 0;
  int32_t b = 0;
  int32_t c = 0;
};

VariableIdParts DecodeVariableId(int32_t id);

// True when the ID fits 32 bits and so can name a variable.
constexpr bool IsVariableIdInRange(int64_t id) { return id >= INT32_MIN && id <= INT32_MAX; }

// Common self-variable slots 5-9 hold strings, the others integers.
constexpr bool IsCommonSelfStringSlot(int32_t slot) { return slot >= 5 && slot <= 9; }

// The IDs relative to the running event (this map event's self variables,
// this common event's self variables, this map event's position) as the
// store knows them; every other ID as it is. 64-bit: large event ids must
// not wrap into another range.
int64_t RebaseRelativeVariableId(int32_t id, int32_t mapEventId, int32_t commonEventNumber);

// False for the IDs that name strings (database cells by their item kind).
bool IsIntegerVariableId(int32_t id);
