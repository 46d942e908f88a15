#pragma once
// Clips a rectangle against another in place. The result is never inverted:
// a rectangle wholly outside ends with zero width or height on an edge.

#include "runtime/platform/base/IntRect.h"

int ClipRect(IntRect* rect, const IntRect& clip);
