#pragma once
// The layer-wide lock around initialise, terminate and the message pump.
// Re-entrant for its owner; other threads get it in the order they asked.

void ApiLock();
void ApiUnlock();
// Ends the lock's life (the layer has ended); the next ApiLock sets it up
// again.
void ApiLockTeardown();

// Threads waiting for the lock (for tests).
int ApiLockWaiterCount();
