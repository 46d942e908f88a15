#pragma once
// How a character sheet is cut, told by its file name: plain sheets hold p
// cells per direction row, "T" sheets one standing cell and p walking cells,
// "TX" sheets p standing and p walking cells, "$" sheets one whole image.
// With eight-direction sheets every row holds the four orthogonal directions
// in its left half and the diagonals in its right half, so the counts double.

#include <cstdint>
#include <string>

enum SheetLayout : int32_t {
  kSheetSingle = -1,
  kSheetPlain = 0,
  kSheetT = 1,
  kSheetTX = 2,
};

struct SheetCut {
  SheetLayout layout = kSheetPlain;
  int32_t columns = 0;
};

// p the animation patterns per sheet direction. A name matching several
// kinds takes the last in the order T, TX, $.
SheetCut ChooseSheetCut(const std::string& fileName, int32_t patterns, bool eightDirections);
