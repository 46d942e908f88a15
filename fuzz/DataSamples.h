#pragma once
// Small common events and databases that the seed programs of the fuzzers
// write in each file format.

#include <vector>

#include "engine/data/CommonEvent.h"
#include "engine/data/database/Database.h"
#include "tests/support/DatabaseBuilder.h"

inline std::vector<CommonEvent> SampleCommonEvents() {
  CommonEvent first;
  first.name = "First";
  first.commands = {CommandRecord({101, 1}, 0, {"text"}, {MoveRoute()}), CommandRecord()};
  first.extraBytes = {1, 2};
  first.extraText = "memo";
  first.argumentOptionTexts[0] = {"a", "b"};
  first.argumentOptionValues[1] = {3};
  CommonEvent second;
  second.commands.clear();
  return {first, second};
}

inline Database SampleFuzzDatabase() {
  Database db;
  db.typeData = {MakeTypeData({1000, 2000, 1001}, 2), MakeTypeData({2000}, 1, 0, -1), MakeTypeData({}, 3, 2)};
  db.typeData[0].String(1, 0) = "name";
  db.typeDefinitions = {MakeDefinition("", {"a", "b", "c"}, {""}, {1, 0, 2}), MakeDefinition("Type", {""}, {""}, {0}),
                        DatabaseTypeDefinition{}};
  db.typeDefinitions[0].itemOptionTexts = {{"x"}};
  return db;
}
