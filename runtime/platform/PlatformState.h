#pragma once
// The platform half of the layer keeps its state in one global record. The
// fields are grouped by the service that owns them.

#include <cstdint>

#include "runtime/platform/SystemInfo.h"

struct PlatformState {
  // Life cycle.
  int initialised = 0;
  int initialising = 0;
  char startDirectory[260] = {};

  // Log.
  int logOff = 0;
  char logFileName[260] = {};
  uint32_t logStartMs = 0;
  int logIndent = 0;
  int logMidLine = 0;

  // Files. A setting: kept when the window's creation clears the record.
  int archiveAccess = 1;  // 0: the plain-file set is the standard file access table

  // Time sources.
  int usePerformanceCounter = 0;
  uint64_t performanceFrequency = 0;
  int rdtscUsable = 0;
  uint64_t cpuCyclesPerSecond = 0;

  // Processor facilities found at start-up.
  int mmxUsable = 0;
};

extern PlatformState gPlatform;
