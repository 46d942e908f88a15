#pragma once
// The system's raw "BGRA" image files for the reader tests.

#include <cstdint>
#include <string>

constexpr uint32_t kBgraEightBit = 0x08080808;
constexpr uint32_t kBgraSixteenBit = 0x10101010;

// Header then the pixel bytes as given.
std::string BgraFile(uint32_t channels, uint32_t width, uint32_t height, const std::string& pixels);
