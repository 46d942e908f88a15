#include "runtime/host/files/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/host/files/GamePath.h"

namespace {

int64_t g_writeLimit = -1;

constexpr size_t kBufferSize = 64 * 1024;

}  // namespace

struct ReplacingFile {
  std::string target;
  std::string temporary;
  int descriptor = -1;
  bool failed = false;
  std::vector<unsigned char> buffer;
};

namespace {

bool WriteAll(int descriptor, const unsigned char* data, size_t size) {
  while (size > 0) {
    size_t chunk = size;
    if (g_writeLimit >= 0) {
      if (g_writeLimit == 0) return false;
      if (static_cast<uint64_t>(g_writeLimit) < chunk) chunk = static_cast<size_t>(g_writeLimit);
    }
    const ssize_t written = write(descriptor, data, chunk);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    if (g_writeLimit >= 0) g_writeLimit -= written;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool Flush(ReplacingFile* file) {
  if (file->failed) return false;
  if (!file->buffer.empty() && !WriteAll(file->descriptor, file->buffer.data(), file->buffer.size())) {
    file->failed = true;
  }
  file->buffer.clear();
  return !file->failed;
}

}  // namespace

ReplacingFile* OpenReplacingFile(const char* gamePath) {
  if (gamePath == nullptr || *gamePath == '\0') return nullptr;
  auto* file = new ReplacingFile;
  file->target = HostPathFromGamePath(gamePath);
  // The same folder as the target, so that the rename never crosses file systems.
  std::string pattern = file->target + ".XXXXXX";
  file->descriptor = mkstemp(pattern.data());
  if (file->descriptor < 0) {
    delete file;
    return nullptr;
  }
  file->temporary = pattern;
  fchmod(file->descriptor, 0644);
  file->buffer.reserve(kBufferSize);
  return file;
}

bool WriteReplacingFile(ReplacingFile* file, const void* data, size_t size) {
  if (file->failed) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (file->buffer.size() + size > kBufferSize) {
    if (!Flush(file)) return false;
    if (size >= kBufferSize) {
      if (!WriteAll(file->descriptor, bytes, size)) file->failed = true;
      return !file->failed;
    }
  }
  file->buffer.insert(file->buffer.end(), bytes, bytes + size);
  return true;
}

int CommitReplacingFile(ReplacingFile* file) {
  bool ok = Flush(file);
  // On the disk before the rename: a crash then leaves the old file or the
  // new one, never an empty one.
  if (ok && fsync(file->descriptor) != 0) ok = false;
  if (close(file->descriptor) != 0) ok = false;
  file->descriptor = -1;
  if (ok && rename(file->temporary.c_str(), file->target.c_str()) != 0) ok = false;
  if (!ok) unlink(file->temporary.c_str());
  delete file;
  return ok ? 0 : -1;
}

void DiscardReplacingFile(ReplacingFile* file) {
  if (file == nullptr) return;
  if (file->descriptor >= 0) close(file->descriptor);
  unlink(file->temporary.c_str());
  delete file;
}

void SetReplacingFileWriteLimit(int64_t bytes) { g_writeLimit = bytes; }
