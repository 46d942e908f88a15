#include "runtime/host/HostEvent.h"

#include <condition_variable>
#include <mutex>
#include <new>

struct HostEvent {
  std::mutex mutex;
  std::condition_variable changed;
  bool set = false;
};

HostEvent* HostCreateEvent(bool initiallySet) {
  HostEvent* event = new (std::nothrow) HostEvent;
  if (event) event->set = initiallySet;
  return event;
}

void HostDestroyEvent(HostEvent* event) { delete event; }

void HostSetEvent(HostEvent* event) {
  {
    std::lock_guard<std::mutex> lock(event->mutex);
    event->set = true;
  }
  event->changed.notify_all();
}

void HostResetEvent(HostEvent* event) {
  std::lock_guard<std::mutex> lock(event->mutex);
  event->set = false;
}

void HostWaitEvent(HostEvent* event) {
  std::unique_lock<std::mutex> lock(event->mutex);
  event->changed.wait(lock, [event] { return event->set; });
}

bool HostWaitEventMs(HostEvent* event, uint32_t ms) {
  std::unique_lock<std::mutex> lock(event->mutex);
  return event->changed.wait_for(lock, std::chrono::milliseconds(ms), [event] { return event->set; });
}

bool HostIsEventSet(HostEvent* event) {
  std::lock_guard<std::mutex> lock(event->mutex);
  return event->set;
}
