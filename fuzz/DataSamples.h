#pragma once
// Small common events and databases that the seed programs of the fuzzers
// write in each file format.

#include <vector>

#include "engine/data/CommonEvent.h"
#include "engine/data/Database.h"

inline std::vector<CommonEvent> SampleCommonEvents() {
  CommonEvent first;
  first.name = "First";
  first.commands.resize(2);
  first.commands[0].arguments = {101, 1};
  first.commands[0].strings = {"text"};
  first.commands[0].routes.resize(1);
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
  db.typeData.resize(3);
  db.typeData[0].SetItemCodes({1000, 2000, 1001});
  db.typeData[0].ResizeRecords(2);
  db.typeData[0].String(1, 0) = "name";
  db.typeData[1].formatTag = -1;
  db.typeData[2].nameMode = 2;
  db.typeData[2].SetItemCodes({});
  db.typeData[2].ResizeRecords(3);
  db.typeDefinitions.resize(3);
  db.typeDefinitions[0].itemNames = {"a", "b", "c"};
  db.typeDefinitions[0].itemDefaults = {1, 0, 2};
  db.typeDefinitions[0].itemOptionTexts = {{"x"}};
  db.typeDefinitions[1].typeName = "Type";
  return db;
}
