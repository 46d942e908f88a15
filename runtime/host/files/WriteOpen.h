#pragma once
// The one way the player opens a file for writing (the log, the lock file,
// saves, pictures, text written by events): a symbolic link standing at the
// last element is refused, so that a link planted where the player writes
// cannot send the bytes to a file elsewhere. Header only, since the lock
// file sits below the file services.

#include <fcntl.h>
#include <sys/types.h>

// open(2) with O_NOFOLLOW and O_CLOEXEC added; -1 (errno ELOOP) at a link.
inline int HostOpenForWriting(const char* hostPath, int flags, mode_t mode) {
  return open(hostPath, flags | O_NOFOLLOW | O_CLOEXEC, mode);
}
