#pragma once
// Fresh global variables for each test: a system database whose types 14-23
// size the numbered sets (set 0 has 100 entries, the others 10), a user and
// a variable database of three types (item 0 an integer, item 1 a string),
// ten common events, a fresh root runner and store, and the error screens
// recorded instead of shown.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/database/Database.h"

struct ErrorScreenLines {
  std::string line1, line2, line3;
  bool operator==(const ErrorScreenLines&) const = default;
};

// Three types per database by default; record r, item 0 holds r x 10 + type,
// item 1 the text "t<type>r<r>".
Database MakeTestDatabase(int32_t types, int32_t records);

class VariablesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The error screens shown since the last call.
  std::vector<ErrorScreenLines> TakeErrors();

  static std::vector<ErrorScreenLines> errors;
};
