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

#include "runtime/host/files/WriteOpen.h"

namespace {

std::atomic<bool> gEnabled{true};
int gFd = -1;

bool IsPrivateFolder(const char* path) {
  struct stat st;
  return lstat(path, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

// The user's runtime folder (XDG_RUNTIME_DIR) when it is one of the user's
// own; else a folder of the user's own under /tmp, made when missing. Empty
// when neither can be had: a shared folder is never used, since anyone could
// plant files there.
std::string LockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/' && IsPrivateFolder(runtime)) return runtime;
  const std::string own = "/tmp/movan-" + std::to_string(getuid());
  mkdir(own.c_str(), 0700);
  return IsPrivateFolder(own.c_str()) ? own : std::string();
}

}  // namespace

// The class name is any CP932 text; its hash makes a safe file name.
std::string HostInstanceLockPath(const char* className) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const char* p = className; *p; ++p) {
    hash ^= static_cast<uint8_t>(*p);
    hash *= 0x100000001B3ull;
  }
  char name[96];
  std::snprintf(name, sizeof name, "/movan-%u-%016llx.lock", static_cast<unsigned>(getuid()),
                static_cast<unsigned long long>(hash));
  const std::string folder = LockFolder();
  return folder.empty() ? folder : folder + name;
}

bool HostAcquireInstanceLock(const char* classNameCp932) {
  if (!gEnabled.load()) return true;
  HostReleaseInstanceLock();
  const std::string path = HostInstanceLockPath(classNameCp932);
  // A lock file that cannot be made does not keep the program from starting.
  if (path.empty()) return true;
  const int fd = HostOpenForWriting(path.c_str(), O_RDWR | O_CREAT, 0600);
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
