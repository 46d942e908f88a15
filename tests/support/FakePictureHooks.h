#pragma once
// Pictures for the tests of the event commands: every call the commands make
// of the picture list is recorded, and property reads answer from a table,
// installed as the picture hooks while the object lives.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/events/PictureHooks.h"

class FakePictureHooks {
 public:
  struct Call {
    std::string what;  // "show", "showText", "move", "erase", "cancel", "effect"
    PictureRequest request;             // show, showText, move
    std::vector<int32_t> values;        // erase, cancel, effect: every argument in order
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  // (number, property) -> value; -1 for any other.
  std::map<std::pair<int32_t, int32_t>, int32_t> properties;

  FakePictureHooks();
  ~FakePictureHooks();
  FakePictureHooks(const FakePictureHooks&) = delete;
  FakePictureHooks& operator=(const FakePictureHooks&) = delete;
};
