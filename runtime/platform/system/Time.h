#pragma once
// Time for the layer and the engine: the millisecond tick and microseconds
// from the time source chosen at start-up.

#include <cstdint>

#include "runtime/Movan.h"

// useTimeStampCounter 1 reads the processor's time-stamp counter when it is
// usable and the layer is initialised. Otherwise the performance counter when
// it is the chosen source, else the millisecond tick times 1000.
uint64_t GetMicroseconds(int useTimeStampCounter);
