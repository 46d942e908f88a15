#include "runtime/host/HostFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/host/GamePath.h"

namespace {

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool HostRecreateFile(const char* gamePath) {
  const std::string path = HostPathFromGamePath(gamePath);
  unlink(path.c_str());
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool HostAppendToFile(const char* gamePath, const void* data, size_t size) {
  const std::string path = HostPathFromGamePath(gamePath);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, data, size);
  close(fd);
  return ok;
}
