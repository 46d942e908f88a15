#include "runtime/host/system/ProcessExit.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {
std::atomic<HostExitHook> gHook{nullptr};
}  // namespace

void HostExitProcess(int code) {
  if (HostExitHook hook = gHook.load()) hook(code);
  std::fflush(nullptr);
  std::exit(code);
}

void HostSetExitHook(HostExitHook hook) { gHook.store(hook); }
