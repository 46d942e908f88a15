#include "runtime/graphics/state/DrawState.h"

DrawState gDrawState = {{0, 0, 640, 480}, BlendCopy, 0, -1, 0, 0, 0xFFFFFF};
