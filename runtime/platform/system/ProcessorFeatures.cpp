#include "runtime/platform/system/ProcessorFeatures.h"

#include "runtime/platform/system/PlatformState.h"

int IsMmxUsable() { return gPlatform.mmxUsable; }
