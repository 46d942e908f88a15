#pragma once
// The layer-wide lock around initialise, terminate and the message pump.
// Re-entrant for its owner; other threads get it in the order they asked.

void ApiLock();
// Only the owner's unlocks count.
void ApiUnlock();
// The layer has ended (or ends in a fatal exit): whatever the calling thread
// still holds is let go. A lock that has passed to another thread stays
// with it.
void ApiLockTeardown();

// Threads waiting for the lock (for tests).
int ApiLockWaiterCount();
