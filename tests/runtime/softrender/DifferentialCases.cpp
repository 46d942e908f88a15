#include "tests/runtime/softrender/DifferentialCases.h"

void FillRandom(MemImg* image, std::mt19937& rng) {
  const MemImgStore* s = image->store;
  for (int i = 0; i < s->pitch * s->height; ++i) s->pixels[i] = static_cast<uint8_t>(rng());
}

int Pick(std::mt19937& rng, int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }

const char* KindName(Kind k) {
  switch (k) {
    case Kind::Direct32:
      return "32";
    case Kind::Direct16:
      return "16";
    case Kind::Alpha16:
      return "16 alpha";
    case Kind::Palette32:
      return "palette 32";
    case Kind::Palette16:
      return "palette 16";
  }
  return "";
}

uint32_t PickKey(std::mt19937& rng, Kind kind) {
  const int roll = Pick(rng, 0, 5);
  switch (kind) {
    case Kind::Direct32:
      return static_cast<uint32_t>(rng());
    case Kind::Direct16:
    case Kind::Alpha16:
      if (roll == 0) return 0x10000u | (rng() & 0xFFFF);
      if (roll == 1) return static_cast<uint32_t>(rng()) | 0x10000u;
      return rng() & 0xFFFF;
    case Kind::Palette32:
    case Kind::Palette16:
      if (roll == 0) return 0xFFFF;
      if (roll == 1) return 0x100u | (rng() & 0xFF);
      return rng() & 0xFF;
  }
  return 0;
}
