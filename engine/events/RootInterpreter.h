#pragma once
// The root runner's interpreter: the one that runs the events the player
// waits for. When idle it picks its next event (PickNextEvent, the
// interpreter's pick hook unless a test puts its own in place).

#include "engine/events/EventInterpreter.h"

extern EventInterpreter RootInterpreter;

// A fresh idle root of depth 0 whose automatic-start list is taken from the
// common events loaded now (at the title, after they are read and prepared,
// and before a save is loaded).
void ResetRootInterpreter();

// In this order, the first that applies starts: pages chosen again when a
// refresh was asked for; the reserved common event; the first map event that
// asked to start; the first automatic-start common event whose condition
// holds.
void PickNextEvent(EventInterpreter& root);

