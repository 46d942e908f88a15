#include "engine/saves/SavePath.h"

#include <cstdio>

std::string SaveFilePath(int32_t slot, const std::string& prefix) {
  if (slot < 0) return "";
  if (slot == 0) return prefix;
  char number[16];
  std::snprintf(number, sizeof number, "%.2i", static_cast<int>(slot));
  return prefix + number + ".sav";
}
