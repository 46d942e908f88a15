#pragma once
// The platform half of the layer keeps its state in one global record. The
// fields are grouped by the service that owns them.

#include <cstdint>
#include <thread>

#include "runtime/platform/IntRect.h"
#include "runtime/platform/SystemInfo.h"

// The main window and what goes with it. Window creation starts it again
// from zero; everything else in the record survives.
struct MainWindowState {
  uintptr_t mainWindow = 0;  // 0 before creation and after teardown
  std::thread::id mainThreadId;
  char className[256] = {};
  IntRect clientRect = {0, 0, 0, 0};  // screen coordinates
  int endRequested = 0;
  int active = 0;
  int closePosted = 0;
  int destroyed = 0;
  int creatingWindow = 0;
  int modeChanging = 0;
  int displayChangeSeen = 0;
  int styleApplied = 0;
  int painting = 0;
  int cursorRequested = 0;
  int cursorShown = 0;
  int wheelCount = 0;
  int textInputBusy = 0;
  int desktopWidth = 0;
  int desktopHeight = 0;
  int desktopDepth = 0;
  int defaultCharSet = 0;  // the font code's default character set
};

struct PlatformState {
  // Life cycle.
  int initialised = 0;
  int initialising = 0;
  char startDirectory[260] = {};
  int comInitialised = 0;

  // Window settings the engine may give before initialisation.
  char windowTitle[256] = {};
  int iconId = 0;      // 0 = the standard application icon
  int windowMode = 0;  // 1 window, 0 full screen
  int runInBackground = 0;
  double windowScale = 1.0;

  MainWindowState window;

  // Operating system found at start-up.
  int osVersionCode = 0;
  int directXVersion = 0;

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
  int sseUsable = 0;
  int sse2Usable = 0;
};

extern PlatformState gPlatform;
