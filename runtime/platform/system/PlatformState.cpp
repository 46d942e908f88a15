#include "runtime/platform/system/PlatformState.h"

PlatformState gPlatform;
