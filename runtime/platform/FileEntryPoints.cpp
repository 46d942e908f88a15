// The engine's file entry points, over plain files for now; the file access
// table with archives takes their place.

#include <cstdio>

#include "runtime/Movan.h"
#include "runtime/host/GamePath.h"

FileHandle FileOpenRead(const char* name, int flag) {
  FILE* f = std::fopen(HostPathFromGamePath(name).c_str(), "rb");
  return reinterpret_cast<FileHandle>(f);
}

int64_t FileSizeOf(const char* name) {
  FILE* f = std::fopen(HostPathFromGamePath(name).c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size;
}

int FileCloseRead(FileHandle handle) {
  return handle ? std::fclose(reinterpret_cast<FILE*>(handle)) : -1;
}

int FileReadBytes(void* buffer, size_t n, FileHandle handle) {
  if (!handle || n == 0) return 0;
  FILE* f = reinterpret_cast<FILE*>(handle);
  const long at = std::ftell(f);
  if (std::fread(buffer, n, 1, f) == 1) return 1;
  std::fseek(f, at, SEEK_SET);
  return 0;
}
