#pragma once
// Manual-reset events: set stays set until reset; waiting on a set event
// returns at once. The file-access threads hand commands over with a pair.

#include <cstdint>

struct HostEvent;

// Null when the event cannot be made.
HostEvent* HostCreateEvent(bool initiallySet);
void HostDestroyEvent(HostEvent* event);
void HostSetEvent(HostEvent* event);
void HostResetEvent(HostEvent* event);
void HostWaitEvent(HostEvent* event);
// True when the event was set within the time.
bool HostWaitEventMs(HostEvent* event, uint32_t ms);
// Tests without waiting.
bool HostIsEventSet(HostEvent* event);

// Test seam: the n-th creation from now fails (0: none fails).
void HostSetEventCreationFailureCountdown(int n);
