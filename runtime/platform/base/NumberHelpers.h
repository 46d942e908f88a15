#pragma once
// Number helpers. Conversions to integers truncate toward zero; a value that
// does not fit (or is not a number) gives INT32_MIN, as the processor's own
// conversion does, never the undefined result of a bare cast.

#include <cstdint>

#include "runtime/platform/base/IntRect.h"

void SinCos(float angle, float* sine, float* cosine);
int32_t AbsInt(int32_t value);  // AbsInt(INT32_MIN) is INT32_MIN
float AbsFloat(float value);
int32_t FloatToInt(float value);
int32_t DoubleToInt(double value);
// The nearest value a signed 32-bit integer holds.
int32_t ClampToInt(int64_t value);
IntRect RectDToRect(double left, double top, double right, double bottom);
float SqrtFloat(float value);
