#pragma once
// The platform half of the layer keeps its state in one global record. The
// fields are grouped by the service that owns them.

#include <cstdint>
#include <thread>

#include "runtime/host/system/HostEvent.h"
#include "runtime/host/input/InputDevices.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/platform/base/IntRect.h"
#include "runtime/platform/system/SystemInfo.h"

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

// Keyboard, mouse and joypads. Initialising input starts it again from
// zero, all but the withoutSystem flag.
constexpr int kMaxJoypads = 8;
constexpr int kPadInputBits = 32;
constexpr int kPadKeysPerBit = 4;

enum InputSystemState : int {
  kInputNotStarted = 0,
  kInputSystemStarted = 1,
  kInputWithoutSystem = 2,  // keyboard state and joysticks of the window system
};

struct JoypadRecord {
  HostInputDevice* device = nullptr;
  HostEvent* notification = nullptr;
  HostJoypadState state = {};
  int hasZAndR = 0;  // without the input system: the joystick has a Z and an R axis
  uint32_t lastPollMs = 0;
};

struct InputDeviceState {
  int system = kInputNotStarted;
  int withoutSystem = 0;  // neither version of the input system could start
  int version8 = 0;
  HostInputDevice* mouse = nullptr;
  HostInputDevice* keyboard = nullptr;
  HostEvent* keyboardEvent = nullptr;
  uint32_t lastKeyRefreshMs = 0;
  uint8_t keyStates[256] = {};  // by key code, bit 7 = down
  // Keys that stand in for each pad input bit, per joypad number; -1 or 0
  // is no key.
  int32_t padKeyMap[kMaxJoypads][kPadInputBits][kPadKeysPerBit] = {};
  int joypadCount = 0;
  JoypadRecord joypads[kMaxJoypads];
};

// Keyboard text input: the ring of typed characters, the key-input fields
// and the input method's composition.
constexpr int kKeyRingSlots = 1025;  // one slot stays free: 1024 bytes fit
constexpr int kTextInputFields = 256;
constexpr int kCompositionBytes = 1024;
constexpr int kClauseOffsets = 256;
constexpr int kCandidates = 256;
constexpr int kCandidateTextBytes = 8192;

// The colours of the field drawing, packed pixels of the screen format.
enum TextInputColor : int {
  kInputText = 0,
  kInputCursor,
  kInputComposition,        // composition background and composition text edge
  kInputCompositionCursor,
  kInputClauseUnderline,
  kInputSelected,           // selected clause, selected candidate text
  kInputUnused7,
  kInputEdge,               // field text, other candidates
  kInputSelectedEdge,
  kInputUnused10,
  kInputCandidateFrame,
  kInputCandidateBackground,
  kInputColorCount,
};

// The input method's candidate list: NUL-terminated texts one after another.
struct CandidateList {
  int32_t count = 0;      // 0: no list kept
  int32_t selection = 0;
  int32_t offsets[kCandidates] = {};
  char text[kCandidateTextBytes] = {};
};

struct KeyRing {
  uint8_t slots[kKeyRingSlots] = {};
  int32_t write = 0;
  int32_t read = 0;
};

struct TextInputEntry : ArrayHandleRecord {
  int32_t ended = 0;      // Enter, or a cancelling Escape
  int32_t cancelled = 0;
  int32_t length = 0;     // bytes
  int32_t maxLength = 0;  // bytes, never negative
  int32_t cursor = 0;     // bytes
  char* text = nullptr;   // maxLength + 1 bytes, always NUL-terminated
  int32_t cancelAllowed = 0;
  int32_t singleByteOnly = 0;
  int32_t digitsOnly = 0;
};

struct TextInputState {
  KeyRing ring;
  int32_t activeHandle = -1;
  RecordArrayHandleTable<TextInputEntry, kTextInputFields> entries{kHandleKeyInput};
  int imeEnabled = 0;
  char composition[kCompositionBytes] = {};  // always NUL-terminated
  int32_t compositionCursor = 0;             // characters
  int32_t clauseOffsets[kClauseOffsets] = {};  // byte offsets of the composition's clauses
  int32_t clauseCount = 0;
  CandidateList candidates;
  int64_t colors[kInputColorCount] = {};
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
  InputDeviceState input;
  TextInputState textInput;

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
