#include "runtime/host/system/HostThread.h"

#include <new>
#include <system_error>
#include <thread>

struct HostThread {
  std::thread thread;
};

HostThread* HostStartThread(void (*function)(void* argument), void* argument) {
  HostThread* thread = new (std::nothrow) HostThread;
  if (!thread) return nullptr;
  try {
    thread->thread = std::thread(function, argument);
  } catch (const std::system_error&) {
    delete thread;
    return nullptr;
  }
  return thread;
}

void HostJoinThread(HostThread* thread) {
  if (!thread) return;
  thread->thread.join();
  delete thread;
}
