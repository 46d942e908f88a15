#include "runtime/platform/ApiLock.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "runtime/host/Clock.h"

namespace {

constexpr size_t kMaxWaiters = 4096;

std::mutex gMutex;
std::condition_variable gReleased;
int gDepth = 0;
bool gLocked = false;
std::thread::id gOwner;
std::deque<std::thread::id> gWaiters;  // in arrival order

}  // namespace

void ApiLock() {
  const std::thread::id self = std::this_thread::get_id();
  std::unique_lock<std::mutex> lock(gMutex);
  for (;;) {
    if (gLocked && gOwner == self) break;
    if (!gLocked && gWaiters.empty()) break;
    if (gWaiters.size() < kMaxWaiters) {
      gWaiters.push_back(self);
      gReleased.wait(lock, [self] { return !gLocked && gWaiters.front() == self; });
      gWaiters.pop_front();
      break;
    }
    // The queue is full: try again shortly.
    lock.unlock();
    HostSleepMs(1);
    lock.lock();
  }
  ++gDepth;
  gLocked = true;
  gOwner = self;
}

void ApiUnlock() {
  std::unique_lock<std::mutex> lock(gMutex);
  if (gDepth <= 0) return;
  bool handOn = false;
  if (gDepth == 1) {
    gLocked = false;
    gOwner = std::thread::id();
    handOn = !gWaiters.empty();
  }
  --gDepth;
  lock.unlock();
  if (handOn) {
    gReleased.notify_all();
    std::this_thread::yield();
  }
}

void ApiLockTeardown() {
  std::lock_guard<std::mutex> lock(gMutex);
  gDepth = 0;
  gLocked = false;
  gOwner = std::thread::id();
}

int ApiLockWaiterCount() {
  std::lock_guard<std::mutex> lock(gMutex);
  return static_cast<int>(gWaiters.size());
}
