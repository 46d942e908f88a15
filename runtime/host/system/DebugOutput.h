#pragma once
// The debugger output that the log mirrors its lines to. Linux has no such
// channel; the lines go to stderr (as UTF-8) when MOVAN_DEBUG_OUTPUT is set.

void HostDebugOutput(const char* cp932Text);
// False when the lines would go nowhere: callers may skip making them.
bool HostDebugOutputEnabled();
