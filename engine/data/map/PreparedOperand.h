#pragma once
// An operand of a prepared event command: a literal number, an integer cell
// of the variables, or a database. The cell's address is cached together
// with the cell epoch it was taken at; copies start without a cache, so a
// copied command list never uses the source's addresses.

#include <cstdint>

#include "engine/data/CellEpoch.h"
#include "engine/data/IntegerVariableCell.h"

struct PreparedOperand {
  enum Kind : uint8_t { kUnset, kLiteral, kCell, kDatabase };

  Kind kind = kUnset;
  int32_t literal = 0;  // kLiteral: the value; kDatabase: the selector
  IntegerVariableCell cell;
  // The cell's storage as of `epoch` (for a literal, the literal itself).
  mutable int32_t* cached = nullptr;
  mutable uint64_t epoch = 0;

  PreparedOperand() = default;
  static PreparedOperand Literal(int32_t value) {
    PreparedOperand op;
    op.kind = kLiteral;
    op.literal = value;
    return op;
  }
  static PreparedOperand Cell(const IntegerVariableCell& cell) {
    PreparedOperand op;
    op.kind = kCell;
    op.cell = cell;
    return op;
  }
  PreparedOperand(const PreparedOperand& other) : kind(other.kind), literal(other.literal), cell(other.cell) {}
  PreparedOperand& operator=(const PreparedOperand& other) {
    kind = other.kind;
    literal = other.literal;
    cell = other.cell;
    cached = nullptr;
    epoch = 0;
    return *this;
  }

  bool operator==(const PreparedOperand& other) const {
    return kind == other.kind && literal == other.literal && cell == other.cell;
  }
};
