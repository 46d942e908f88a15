#pragma once
// The layer's log file "Log.txt", written in test play only. Shift-JIS text
// with CR LF line ends; every line starts with the milliseconds since the log
// was opened ("%d:") and one tab per indent level. Each call opens and closes
// the file, so the log survives a crash up to its last line.

#include "runtime/Movan.h"

// Both return -1 (as LogPrintf does) so that a failing operation can log and
// fail in one step.
int LogWrite(const char* text);
// Appends "\n".
int LogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

int LogIndentIn();
int LogIndentOut();

// Start-up step: recreates the log file empty and starts its clock.
int OpenLogFile();

// Turns each bare line feed into CR LF, up to the first line feed that
// already has a carriage return before it; the rest is copied unchanged.
// out must hold 2 * strlen(text) + 1 bytes. Returns the converted length.
int LogConvertLineEnds(const char* text, char* out);
