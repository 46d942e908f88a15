#pragma once
// Window messages without a display: while it lives, the message pump takes
// its messages from here instead of the window system, in the order they
// were pushed.

#include <cstdint>
#include <string>

#include "runtime/host/window/WindowMessages.h"

class FakeEventSource {
 public:
  FakeEventSource();
  ~FakeEventSource();
  FakeEventSource(const FakeEventSource&) = delete;
  FakeEventSource& operator=(const FakeEventSource&) = delete;

  void Push(HostMessageId id, int32_t p1 = 0, int32_t p2 = 0, int32_t p3 = 0);
  void Push(const HostMessage& message);
  // Messages pushed and not yet taken by the pump.
  int Pending() const;
};
