#pragma once
// Threads of the layer (the file-access threads): started on a function,
// joined once they have ended.

struct HostThread;

// Null when the thread cannot be started.
HostThread* HostStartThread(void (*function)(void* argument), void* argument);
// Waits for the thread's function to return, then frees the thread.
void HostJoinThread(HostThread* thread);
