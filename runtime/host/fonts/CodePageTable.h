#pragma once
// Character codes of the game's text as Unicode code points, for faces that
// have no Shift-JIS character map. A code is a single byte, or lead byte x
// 256 + second byte.

#include <cstdint>

// The table of 65536 code points (0 where the code is no character) for code
// page 932, or 949 when charset is 2. Built once, on first use.
const uint32_t* CodePageToUnicodeTable(int charset);
