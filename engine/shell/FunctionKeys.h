#pragma once
// The keys the shell answers itself, once per pass of the frame loop after
// the frame: F4 the window size, F5 the frame skip, F8 the debug lines, F9
// the variable dump in test play, F12 the title, Print Screen a screenshot.
// With the per-pass frame counter (internal frames per second and the play
// time) and the per-draw debug displays (drawing frames per second, the
// window title, the replay clock, the overlay while F8 is held in test
// play).

#include <cstdint>

void FunctionKeys();

// Counts one pass (count true; false only reads) and gives the internal
// frames per second. The play time grows by exactly one second per 1000 ms
// of the tick, without drifting.
int32_t FrameCounter(bool count);

// Once per drawn frame, just before the flip.
void DebugInfo(float creditPerFrame);

// The F4 and F5 indexes, the counters and the last debug-line flag seen as
// at program start (they last for the whole run; tests start afresh).
void ResetFunctionKeyState();
