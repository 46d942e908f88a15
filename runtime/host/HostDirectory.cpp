#include "runtime/host/HostDirectory.h"

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
#include "runtime/host/FileTime.h"
#include "runtime/host/GamePath.h"

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
  HostFindState* find = new HostFindState;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = GamePathFromHostPath(entry->d_name);
    if (MatchWildcard(upperPattern.c_str(), Upper(name).c_str()) != 0) continue;
    HostFindData found;
    if (Describe(dirfd(dir), entry->d_name, name, &found)) find->entries.push_back(found);
  }
  closedir(dir);

  // A fixed order: "." and ".." first, then by upper-case name.
  auto rank = [](const HostFindData& d) {
    return std::strcmp(d.name, ".") == 0 ? 0 : std::strcmp(d.name, "..") == 0 ? 1 : 2;
  };
  std::sort(find->entries.begin(), find->entries.end(), [&](const HostFindData& a, const HostFindData& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    const std::string ua = Upper(a.name);
    const std::string ub = Upper(b.name);
    return ua != ub ? ua < ub : std::strcmp(a.name, b.name) < 0;
  });
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
