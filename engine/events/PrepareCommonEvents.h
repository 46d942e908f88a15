#pragma once
// Prepares the command lists of the global common events for running: jump
// targets of branches, cases, loops and labels, operand cells of the
// variable and database operations, the fast arithmetic codes, and the
// database names resolved to numbers. Run at the title and after every load;
// running it again first clears what an earlier run left. A command that
// cannot be prepared keeps its plain form.

#include <cstdint>
#include <vector>

#include "engine/data/map/EventCommandList.h"

void PrepareCommonEvents();

// One list, as the common event with this index.
void PrepareCommandList(EventCommandList& commands, int32_t commonEventIndex);
