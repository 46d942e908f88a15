#pragma once
// Decimal text of an integer in the next of ten rotating buffers, so that up
// to ten results can be used in one expression.

#include <cstdint>

const char* DecimalText(int32_t value);
