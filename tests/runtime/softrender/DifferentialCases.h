#pragma once
// Random cases shared by the renderer's differential tests: images filled
// with noise, numbers in a range, the source kinds and their keys.

#include <cstdint>
#include <random>

#include "runtime/softrender/MemImg.h"

void FillRandom(MemImg* image, std::mt19937& rng);
int Pick(std::mt19937& rng, int low, int high);

// The source kinds: 32-bit pixels, 16-bit words with and without alpha,
// palette indices onto either pixel type.
enum class Kind { Direct32, Direct16, Alpha16, Palette32, Palette16 };

const char* KindName(Kind k);

// A key for the kind: mostly one the raw values can equal, sometimes one
// above their range (which no value may match).
uint32_t PickKey(std::mt19937& rng, Kind kind);
