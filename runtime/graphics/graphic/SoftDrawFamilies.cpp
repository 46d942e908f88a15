#include "runtime/graphics/graphic/SoftDrawFamilies.h"


SoftDrawFamilies gSoftDrawFamilies = {};
