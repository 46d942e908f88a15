#include "runtime/host/system/HostEvent.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

namespace {

// A command to a file-access thread is usually done within microseconds:
// waiting a little before sleeping spares the wake-up latency of both sides.
constexpr int kSpinYields = 64;

std::atomic<int> gFailureCountdown{0};

// Counts a creation down; true for the one that is to fail.
bool CreationFails() {
  int left = gFailureCountdown.load();
  while (left > 0 && !gFailureCountdown.compare_exchange_weak(left, left - 1)) {
  }
  return left == 1;
}

}  // namespace

struct HostEvent {
  std::atomic<bool> set{false};
  std::mutex mutex;
  std::condition_variable changed;
};

void HostSetEventCreationFailureCountdown(int n) { gFailureCountdown.store(n > 0 ? n : 0); }

HostEvent* HostCreateEvent(bool initiallySet) {
  if (CreationFails()) return nullptr;
  HostEvent* event = new (std::nothrow) HostEvent;
  if (event) event->set.store(initiallySet);
  return event;
}

void HostDestroyEvent(HostEvent* event) { delete event; }

void HostSetEvent(HostEvent* event) {
  {
    std::lock_guard<std::mutex> lock(event->mutex);
    event->set.store(true);
  }
  event->changed.notify_all();
}

void HostResetEvent(HostEvent* event) {
  std::lock_guard<std::mutex> lock(event->mutex);
  event->set.store(false);
}

void HostWaitEvent(HostEvent* event) {
  for (int i = 0; i < kSpinYields; ++i) {
    if (event->set.load(std::memory_order_acquire)) return;
    std::this_thread::yield();
  }
  std::unique_lock<std::mutex> lock(event->mutex);
  event->changed.wait(lock, [event] { return event->set.load(); });
}

bool HostWaitEventMs(HostEvent* event, uint32_t ms) {
  std::unique_lock<std::mutex> lock(event->mutex);
  return event->changed.wait_for(lock, std::chrono::milliseconds(ms), [event] { return event->set.load(); });
}

bool HostIsEventSet(HostEvent* event) { return event->set.load(std::memory_order_acquire); }
