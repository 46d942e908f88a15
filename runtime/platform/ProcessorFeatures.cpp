#include "runtime/platform/ProcessorFeatures.h"

#include "runtime/platform/PlatformState.h"

int IsMmxUsable() { return gPlatform.mmxUsable; }
