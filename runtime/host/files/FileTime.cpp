#include "runtime/host/files/FileTime.h"

namespace {

constexpr int64_t kUnitsPerSecond = 10000000;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;

}  // namespace

uint64_t HostFileTimeFromTimespec(const timespec& time) {
  const int64_t seconds = static_cast<int64_t>(time.tv_sec) + kSecondsFrom1601To1970;
  if (seconds < 0) return 0;
  return static_cast<uint64_t>(seconds) * kUnitsPerSecond + static_cast<uint64_t>(time.tv_nsec) / 100;
}

bool HostFileTimeToLocalTime(uint64_t fileTime, HostLocalTime* local) {
  const time_t seconds = static_cast<time_t>(fileTime / kUnitsPerSecond) - kSecondsFrom1601To1970;
  tm parts;
  if (!localtime_r(&seconds, &parts)) return false;
  *local = {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
  return true;
}
