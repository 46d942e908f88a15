#include "runtime/platform/system/ApiLock.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace {

// A ticket lock: each thread that has to wait draws the next ticket and
// takes the lock when its number is served, so the lock goes round in
// arrival order. Only the owner's unlocks count.
std::mutex gMutex;
std::condition_variable gServed;
uint64_t gNextTicket = 0;
uint64_t gNowServing = 0;
std::thread::id gOwner;  // none while the lock is free
int gDepth = 0;
int gWaiters = 0;

// Passes the lock to the next ticket. Called with gMutex held.
void Release() {
  gDepth = 0;
  gOwner = std::thread::id();
  ++gNowServing;
  gServed.notify_all();
}

}  // namespace

void ApiLock() {
  const std::thread::id self = std::this_thread::get_id();
  std::unique_lock<std::mutex> lock(gMutex);
  if (gDepth > 0 && gOwner == self) {
    ++gDepth;
    return;
  }
  const uint64_t ticket = gNextTicket++;
  ++gWaiters;
  gServed.wait(lock, [ticket] { return gNowServing == ticket; });
  --gWaiters;
  gOwner = self;
  gDepth = 1;
}

void ApiUnlock() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gDepth == 0 || gOwner != std::this_thread::get_id()) return;
  if (--gDepth == 0) Release();
}

void ApiLockTeardown() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gDepth > 0 && gOwner == std::this_thread::get_id()) Release();
}

int ApiLockWaiterCount() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gWaiters;
}
