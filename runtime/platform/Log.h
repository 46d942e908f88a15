#pragma once
// The layer's log file "Log.txt", written in test play only. Shift-JIS text
// with CR LF line ends; every line starts with the milliseconds since the log
// was opened ("%d:") and one tab per indent level. Each call opens and closes
// the file, so the log survives a crash up to its last line.

// All return -1 so that a failing operation can log and fail in one step.
int LogWrite(const char* text);
// Appends "\n".
int LogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
// No line end added.
int LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

int LogIndentIn();
int LogIndentOut();

// Start-up step: recreates the log file empty and starts its clock.
int OpenLogFile();
// 0 switches the log off; takes effect for the whole run.
int EnableLogOutput(int flag);

// Turns each bare line feed into CR LF, up to the first line feed that
// already has a carriage return before it; the rest is copied unchanged.
// out must hold 2 * strlen(text) + 1 bytes. Returns the converted length.
int LogConvertLineEnds(const char* text, char* out);
