#include "runtime/host/files/ConfinedPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "runtime/ShiftJis.h"
#include "runtime/host/files/GamePath.h"

namespace {

// False for a leading separator, a ':' anywhere or a ".." element.
bool LexicallyInside(const char* path) {
  if (IsPathSeparator(path[0])) return false;
  for (const char* p = path;;) {
    const char* end = PathElementEnd(p);
    for (const char* q = p; q < end; ++q) {
      if (*q == ':') return false;
    }
    if (end - p == 2 && p[0] == '.' && p[1] == '.') return false;
    if (!*end) return true;
    p = end + 1;
  }
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (!realpath(path.c_str(), resolved)) return "";
  return resolved;
}

bool Below(const std::string& root, const std::string& path) {
  if (path == root) return true;
  if (root == "/") return !path.empty() && path[0] == '/';
  return path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/';
}

}  // namespace

bool ConfineGamePath(const char* gamePath, std::string* hostPath) {
  if (!gamePath || !LexicallyInside(gamePath)) return false;
  const std::string host = *gamePath ? HostPathFromGamePath(gamePath) : std::string(".");
  const std::string root = RealPath(".");
  if (root.empty()) return false;
  // The deepest part that exists decides where the path leads: below it
  // nothing exists, so nothing there can be a link.
  size_t length = host.size();
  for (;;) {
    struct stat info;
    if (lstat(host.substr(0, length).c_str(), &info) == 0) break;
    const size_t slash = host.find_last_of('/', length - 1);
    if (slash == std::string::npos) {
      length = 0;
      break;
    }
    if (slash == 0) return false;
    length = slash;
  }
  const std::string resolved = RealPath(length == 0 ? std::string(".") : host.substr(0, length));
  if (resolved.empty() || !Below(root, resolved)) return false;
  if (hostPath) *hostPath = host;
  return true;
}

bool HostReplaceFile(const std::string& hostPath, const void* data, size_t size) {
  if (hostPath.empty() || hostPath.back() == '/') return false;
  std::string temp = hostPath;
  temp.append(".XXXXXX");
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  bool ok = true;
  while (ok && done < size) {
    const ssize_t n = write(fd, bytes + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      ok = false;
    }
  }
  // mkstemp makes the file 0600; give it the usual mode for new files.
  const mode_t mask = umask(0);
  umask(mask);
  ok = ok && fchmod(fd, 0666 & ~mask) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), hostPath.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

bool HostMakeFolder(const std::string& hostPath) {
  if (mkdir(hostPath.c_str(), 0777) == 0) return true;
  struct stat info;
  return errno == EEXIST && lstat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int64_t HostFreeSpace(const char* hostPath) {
  struct statvfs info;
  if (statvfs(hostPath, &info) != 0) return -1;
  const uint64_t bytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  return bytes > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(bytes);
}
