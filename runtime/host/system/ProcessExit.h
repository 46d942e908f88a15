#pragma once
// Ending the process. Tests install a hook that records the code and leaves
// by throwing, so that an exit path can be tested in-process.

using HostExitHook = void (*)(int code);

[[noreturn]] void HostExitProcess(int code);

// Test seam: null puts the real exit back. A hook that returns is followed by
// the real exit.
void HostSetExitHook(HostExitHook hook);
