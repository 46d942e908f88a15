#pragma once
// Plain reads of the platform state for the rest of the layer and the
// engine; no lock is taken.

#include <cstdint>

#include "runtime/Movan.h"

int IsEndRequested();
// 0 before the window exists.
uintptr_t GetMainWindow();
int IsWindowMode();
// The layer has posted a close to its own window.
int IsWindowClosing();
// The window never has a region or a menu.
int HasWindowRegion();
int IsMenuInUse();
