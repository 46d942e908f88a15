#pragma once
// The values a view shows, as a vector that tests compare.

#include <span>
#include <type_traits>
#include <vector>

template <typename T>
std::vector<std::remove_const_t<T>> Values(std::span<T> values) {
  return {values.begin(), values.end()};
}
