#pragma once
// Prepared event commands keep the address of the integer cell they read and
// write. Every container that holds such cells (the variable store's lists,
// the databases' type data) bumps this counter whenever its storage may move:
// growth, reset, assignment, destruction. A cached address is used only
// while the counter still has the value it was taken at.

#include <cstdint>

inline uint64_t VariableCellEpoch = 1;

inline void InvalidateVariableCells() { ++VariableCellEpoch; }

// A member that bumps the counter when its owner is assigned or destroyed,
// so that containers holding cells need no hand-written assignment. It
// takes no part in comparisons.
struct CellEpochMark {
  CellEpochMark() = default;
  CellEpochMark(const CellEpochMark&) = default;
  CellEpochMark& operator=(const CellEpochMark&) {
    InvalidateVariableCells();
    return *this;
  }
  ~CellEpochMark() { InvalidateVariableCells(); }
  bool operator==(const CellEpochMark&) const { return true; }
};
