#include "runtime/platform/base/NumberHelpers.h"

#include <algorithm>
#include <cmath>

void SinCos(float angle, float* sine, float* cosine) {
  const double a = angle;
  *sine = static_cast<float>(std::sin(a));
  *cosine = static_cast<float>(std::cos(a));
}

int32_t AbsInt(int32_t value) {
  const uint32_t u = static_cast<uint32_t>(value);
  return static_cast<int32_t>(value < 0 ? 0u - u : u);
}

float AbsFloat(float value) { return std::fabs(value); }

int32_t DoubleToInt(double value) {
  // Truncation keeps values in (-2^31 - 1, 2^31); NaN fails both tests.
  if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int32_t>(value);
  return INT32_MIN;
}

int32_t FloatToInt(float value) { return DoubleToInt(static_cast<double>(value)); }

int32_t ClampToInt(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

IntRect RectDToRect(double left, double top, double right, double bottom) {
  return IntRect{DoubleToInt(left), DoubleToInt(top), DoubleToInt(right), DoubleToInt(bottom)};
}

float SqrtFloat(float value) { return std::sqrt(value); }
