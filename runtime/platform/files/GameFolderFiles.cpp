// Files that game content names: confined to the game folder.

#include <cstdint>
#include <string>

#include "runtime/Movan.h"
#include "runtime/host/files/ConfinedPath.h"
#include "runtime/host/files/ReplacingFile.h"
#include "runtime/host/files/HostDirectory.h"

int IsPathInGameFolder(const char* path) { return ConfineGamePath(path, nullptr) ? 1 : 0; }

int WriteGameTextFile(const char* path, const char* text, size_t size) {
  std::string hostPath;
  if (!path || !*path || !ConfineGamePath(path, &hostPath)) return -2;
  std::string lines;
  lines.reserve(size + size / 16);
  for (size_t i = 0; i < size; ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines.push_back('\r');
    lines.push_back(text[i]);
  }
  return HostReplaceFile(hostPath, lines.data(), lines.size()) ? 0 : -1;
}

int ListGameFolder(const char* path, void (*each)(const char* name, void* context), void* context) {
  if (!path || !ConfineGamePath(path, nullptr)) return -1;
  std::string pattern = path;
  if (*path && !EndsWithSeparator(path)) pattern += '\\';
  pattern += '*';
  HostFindData data;
  HostFindState* find = HostFindFirstFile(pattern.c_str(), &data);
  if (!find) return -1;
  int count = 0;
  do {
    const std::string name = data.name;
    if (name == "." || name == "..") continue;
    if (each) each(data.name, context);
    ++count;
  } while (HostFindNextFile(find, &data));
  HostFindClose(find);
  return count;
}

int WriteGameFile(const char* path, const void* data, size_t size) {
  std::string hostPath;
  if (!path || !*path || !ConfineGamePath(path, &hostPath)) return -2;
  ReplacingFile* file = OpenReplacingFile(path);
  if (!file) return -1;
  if (!WriteReplacingFile(file, data, size)) {
    DiscardReplacingFile(file);
    return -1;
  }
  return CommitReplacingFile(file);
}

int CreateGameFolder(const char* path) {
  std::string hostPath;
  if (!path || !*path || !ConfineGamePath(path, &hostPath)) return -2;
  return HostMakeFolder(hostPath) ? 0 : -1;
}

int64_t GetGameFolderFreeSpace() { return HostFreeSpace("."); }

void SetFileWriteLimit(int64_t bytes) { SetReplacingFileWriteLimit(bytes); }
