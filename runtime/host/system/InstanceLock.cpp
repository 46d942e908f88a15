#include "runtime/host/system/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::atomic<bool> gEnabled{true};
int gFd = -1;

// Per user: XDG_RUNTIME_DIR when it names a folder, else the temporary folder.
std::string LockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat st;
  if (runtime && runtime[0] == '/' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) return runtime;
  return "/tmp";
}

// The class name is any CP932 text; its hash makes a safe file name.
std::string LockPath(const char* className) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const char* p = className; *p; ++p) {
    hash ^= static_cast<uint8_t>(*p);
    hash *= 0x100000001B3ull;
  }
  char name[96];
  std::snprintf(name, sizeof name, "/movan-%u-%016llx.lock", static_cast<unsigned>(getuid()),
                static_cast<unsigned long long>(hash));
  return LockFolder() + name;
}

}  // namespace

bool HostAcquireInstanceLock(const char* classNameCp932) {
  if (!gEnabled.load()) return true;
  HostReleaseInstanceLock();
  const int fd = open(LockPath(classNameCp932).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // A lock file that cannot be made does not keep the program from starting.
  if (fd < 0) return true;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool heldElsewhere = errno == EWOULDBLOCK;
    close(fd);
    return !heldElsewhere;
  }
  gFd = fd;
  return true;
}

void HostReleaseInstanceLock() {
  if (gFd < 0) return;
  close(gFd);
  gFd = -1;
}

void HostSetInstanceLockEnabled(bool enabled) { gEnabled.store(enabled); }
