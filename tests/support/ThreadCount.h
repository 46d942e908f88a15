#pragma once
// Threads of this process, from the kernel's task list, for tests that
// check a thread was started or joined.

// The number of threads running now.
int ThreadCount();
// A joined thread leaves the task list a moment after the join returns: the
// count once it reaches expected, or after a second of waiting.
int ThreadCountOnceSettledAt(int expected);
