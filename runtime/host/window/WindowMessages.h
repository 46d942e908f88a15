#pragma once
// The window messages that the layer's window procedure handles, and the one
// queue they wait in. Events of the window system become these messages (an
// SDL event source); tests feed them through a fake source instead. Messages
// the layer posts to itself (a close, the quit, a cursor refresh) go through
// the same queue.

#include <cstdint>
#include <string>
#include <vector>

enum class HostMessageId : uint32_t {
  Close,          // the close box, or a close the layer posted
  Destroy,        // the window is being destroyed (the layer sends it itself)
  Quit,           // ends the message loop
  Activate,       // p1: 1 active, 0 inactive; p2: 1 while minimised
  ActivateApp,    // p1: 1 the program becomes active, 0 it loses the activation
  Size,           // p1: a HostSizeKind
  Move,           // p1, p2: the new client origin in screen coordinates
  Paint,
  DisplayChange,  // p1: bits per pixel, p2: width, p3: height of the new display
  SetCursor,
  MouseMove,      // p1, p2: client coordinates
  ButtonDown,     // p1, p2: client coordinates; p3: a HostMouseButton
  ButtonUp,       // as ButtonDown
  MouseWheel,     // p1: signed rotation, 120 per notch
  Char,           // p1: one CP932 byte or control code
  KeyDown,        // p1: a HostKey
  ImeStartComposition,
  ImeComposition,  // text: the composition string (CP932); p1: its cursor in bytes
  ImeEndComposition,
};

enum HostSizeKind : int32_t { kHostSizeRestored = 0, kHostSizeMinimised = 1, kHostSizeMaximised = 2 };
enum HostMouseButton : int32_t { kHostButtonLeft = 1, kHostButtonRight = 2, kHostButtonMiddle = 3 };
// The keys the window procedure tells apart; every other key is kHostKeyOther.
enum HostKey : int32_t {
  kHostKeyOther = 0,
  kHostKeyDelete,
  kHostKeyLeft,
  kHostKeyRight,
  kHostKeyUp,
  kHostKeyDown,
};

struct HostMessage {
  HostMessageId id = HostMessageId::Paint;
  int32_t p1 = 0;
  int32_t p2 = 0;
  int32_t p3 = 0;
  std::string text;
};

// Appends to the queue; any thread may post.
void HostPostMessage(const HostMessage& message);
// The next message without taking it off the queue. When the queue is empty
// the source's next pending event is fetched first. False when none is left.
bool HostPeekMessage(HostMessage* message);
// Takes the message HostPeekMessage returned off the queue.
void HostRemoveMessage();
// Drops every queued message: the window they were meant for is gone.
void HostDiscardMessages();

// While off, the window system's text input is stopped: an input method
// leaves the keys alone, so they reach the game as key presses, and neither
// composition nor typed text arrives (the control characters of Enter,
// Backspace, Tab and Escape still do, from the keys).
void HostEnableIme(bool enabled);
bool HostIsImeEnabled();

// Where events come from. poll appends the messages of the next pending
// event to out and returns false when no event is pending.
struct HostEventSource {
  bool (*poll)(std::vector<HostMessage>& out);
};

// Test seam: null puts the window system's events back.
void HostSetEventSource(const HostEventSource* source);
