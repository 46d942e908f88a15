#pragma once
// Bringing the layer up and down, and the fatal exit every part of the layer
// uses for errors it cannot recover from.

#include "runtime/Movan.h"

// The two sequences of LayerInit and LayerEnd themselves, without the lock.
int InitLayerSystems();
int EndLayerSystems();

// Writes the text and a line end to the log, ends the layer in order and
// the process with exit code -1.
[[noreturn]] void FatalErrorExit(const char* text);
[[noreturn]] void FatalErrorExitFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
