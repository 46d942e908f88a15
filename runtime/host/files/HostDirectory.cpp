#include "runtime/host/files/HostDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/ShiftJis.h"
#include "runtime/WildcardMatch.h"
#include "runtime/host/files/FileTime.h"
#include "runtime/host/files/GamePath.h"

struct HostFindState {
  std::vector<HostFindData> entries;
  size_t next = 0;
};

namespace {

std::string Upper(std::string text) {
  ShiftJisUpper(text.data(), text.size());
  return text;
}

bool Describe(int folderFd, const char* hostName, const std::string& name, HostFindData* data) {
  if (name.size() >= sizeof data->name) return false;
  struct statx info;
  if (statx(folderFd, hostName, 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return false;
  std::memset(data, 0, sizeof *data);
  std::memcpy(data->name, name.c_str(), name.size() + 1);
  data->isDirectory = S_ISDIR(info.stx_mode) ? 1 : 0;
  data->size = data->isDirectory ? 0 : info.stx_size;
  const timespec written = {static_cast<time_t>(info.stx_mtime.tv_sec), static_cast<long>(info.stx_mtime.tv_nsec)};
  data->lastWriteTime = HostFileTimeFromTimespec(written);
  if (info.stx_mask & STATX_BTIME) {
    const timespec born = {static_cast<time_t>(info.stx_btime.tv_sec), static_cast<long>(info.stx_btime.tv_nsec)};
    data->creationTime = HostFileTimeFromTimespec(born);
  } else {
    data->creationTime = data->lastWriteTime;
  }
  return true;
}

}  // namespace

bool HostSetCurrentDirectory(const char* gamePath) {
  if (!gamePath || !*gamePath) return false;
  return chdir(HostPathFromGamePath(gamePath).c_str()) == 0;
}

bool HostFolderExists(const char* gamePath) {
  struct stat info;
  return gamePath && stat(HostPathFromGamePath(gamePath).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HostGetCurrentDirectory(char* buffer, size_t size) {
  char cwd[4096];
  if (size == 0 || !getcwd(cwd, sizeof cwd)) return false;
  const std::string path = GamePathFromHostPath(cwd);
  if (path.size() >= size) return false;
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
}

HostFindState* HostFindFirstFile(const char* pattern, HostFindData* data) {
  const PathSplit split = SplitAtLastSeparator(pattern);
  const std::string folder(pattern, split.folderLength);
  const std::string hostFolder = folder.empty() ? "." : HostPathFromGamePath(folder.c_str());
  const std::string upperPattern = Upper(split.name);

  DIR* dir = opendir(hostFolder.c_str());
  if (!dir) return nullptr;
  // A fixed order: "." and ".." first, then by upper-case name; each entry's
  // keys are made once.
  struct Found {
    int rank;
    std::string upper;
    HostFindData data;
  };
  std::vector<Found> found;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = GamePathFromHostPath(entry->d_name);
    std::string upper = Upper(name);
    if (MatchWildcard(upperPattern.c_str(), upper.c_str()) != 0) continue;
    HostFindData described;
    if (!Describe(dirfd(dir), entry->d_name, name, &described)) continue;
    const int rank = name == "." ? 0 : name == ".." ? 1 : 2;
    found.push_back({rank, std::move(upper), described});
  }
  closedir(dir);
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    if (a.rank != b.rank) return a.rank < b.rank;
    return a.upper != b.upper ? a.upper < b.upper : std::strcmp(a.data.name, b.data.name) < 0;
  });

  HostFindState* find = new HostFindState;
  find->entries.reserve(found.size());
  for (const Found& f : found) find->entries.push_back(f.data);
  if (!HostFindNextFile(find, data)) {
    delete find;
    return nullptr;
  }
  return find;
}

bool HostFindNextFile(HostFindState* find, HostFindData* data) {
  if (!find || find->next >= find->entries.size()) return false;
  if (data) *data = find->entries[find->next];
  ++find->next;
  return true;
}

void HostFindClose(HostFindState* find) { delete find; }
