#pragma once
// The runtime layer's public interface: the only header of the layer that the
// engine includes. Results follow the layer's convention: 0 (or a handle, a
// count, a value) on success, -1 on failure.

#include <cstdint>

#include "runtime/ShiftJis.h"

// ---- System, log and time ----

// Formatted text to the log, no line end added. Returns -1.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// 0 switches the log file off. May be called before LayerInit.
int EnableLogOutput(int flag);
// Milliseconds of the layer's tick.
uint32_t GetTickMs();
