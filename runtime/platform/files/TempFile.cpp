#include "runtime/platform/files/TempFile.h"

#include <string>

#include "runtime/platform/base/StringHelpers.h"

HostFile CreateTempFile(char* name, size_t size) {
  std::string path;
  const HostFile file = HostCreateTempFile(&path);
  if (file == kNoHostFile || !name) return file;
  if (path.size() >= size) {
    HostCloseFile(file);
    HostDeleteFile(path.c_str());
    return kNoHostFile;
  }
  StrCopy(name, size, path.c_str());
  return file;
}
