#include "runtime/platform/PlatformState.h"

PlatformState gPlatform;
