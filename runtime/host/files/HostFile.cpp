#include "runtime/host/files/HostFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "runtime/host/files/GamePath.h"
#include "runtime/host/files/WriteOpen.h"

bool HostRecreateFile(const char* gamePath) {
  const std::string path = HostPathFromGamePath(gamePath);
  unlink(path.c_str());
  const int fd = HostOpenForWriting(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool HostAppendToFile(const char* gamePath, const void* data, size_t size) {
  const std::string path = HostPathFromGamePath(gamePath);
  const int fd = HostOpenForWriting(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return false;
  const bool ok = HostWriteFile(fd, data, size);
  close(fd);
  return ok;
}

HostFile HostOpenFileRead(const char* gamePath) {
  std::string path = HostPathFromGamePath(gamePath);
  // "a.txt\" names the file a.txt, as inside an archive.
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kNoHostFile;
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    return kNoHostFile;
  }
  return fd;
}

int64_t HostFileSize(HostFile file) {
  struct stat info;
  if (fstat(file, &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

int64_t HostReadFileAt(HostFile file, void* buffer, size_t n, int64_t offset) {
  if (offset < 0) return -1;
  char* p = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < n) {
    const ssize_t got = pread(file, p + done, n - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<int64_t>(done);
}

bool HostWriteFile(HostFile file, const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t written = write(file, p, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += written;
    n -= static_cast<size_t>(written);
  }
  return true;
}

bool HostCloseFile(HostFile file) { return file >= 0 && close(file) == 0; }

bool HostDeleteFile(const char* gamePath) { return unlink(HostPathFromGamePath(gamePath).c_str()) == 0; }

HostFile HostCreateTempFile(std::string* name) {
  const char* folder = std::getenv("TMPDIR");
  std::string pattern = (folder && *folder) ? folder : "/tmp";
  if (pattern[0] != '/') {
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return kNoHostFile;
    pattern = std::string(cwd) + "/" + pattern;
  }
  if (pattern.back() != '/') pattern += '/';
  pattern += "tmpXXXXXX";
  const int fd = mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return kNoHostFile;
  if (name) *name = GamePathFromHostPath(pattern);
  return fd;
}
