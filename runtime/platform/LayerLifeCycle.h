#pragma once
// Bringing the layer up and down, and the fatal exit every part of the layer
// uses for errors it cannot recover from.

// 0 at once when already initialised; else the start-up sequence under the
// API lock: 0, or -1 on failure.
int LayerInit();
// 0 at once when not initialised; else the end sequence under the API lock,
// then the lock's teardown. 0.
int LayerEnd();

// The two sequences themselves.
int InitLayerSystems();
int EndLayerSystems();

// Writes the text and a line end to the log, ends the layer in order and
// the process with exit code -1.
[[noreturn]] void FatalErrorExit(const char* text);
[[noreturn]] void FatalErrorExitFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
