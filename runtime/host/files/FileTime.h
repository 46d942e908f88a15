#pragma once
// File times as the game's files and archives carry them: 100-nanosecond
// units since 1601-01-01 UTC. Split into the local calendar time for the
// layer's date records.

#include <cstdint>
#include <ctime>

struct HostLocalTime {
  int year, month, day, hour, minute, second;
};

uint64_t HostFileTimeFromTimespec(const timespec& time);
// False when the time cannot be represented.
bool HostFileTimeToLocalTime(uint64_t fileTime, HostLocalTime* local);
