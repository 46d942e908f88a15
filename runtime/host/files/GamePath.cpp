#include "runtime/host/files/GamePath.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
#include <vector>

#include "runtime/ShiftJis.h"
#include "runtime/host/files/FolderNames.h"
#include "runtime/host/system/TextConversion.h"

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string ToUtf8(std::string_view cp932) { return IsAscii(cp932) ? std::string(cp932) : Cp932ToUtf8(cp932); }

struct SplitPath {
  bool absolute = false;
  bool trailingSeparator = false;
  std::vector<std::string> raw;  // CP932 elements
};

// Empty elements are dropped. A drive ("C:") stands for the root, as it does
// for the archive lookup: the host has no drives.
SplitPath Split(const char* path) {
  SplitPath split;
  if (HasDriveLetter(path)) {
    split.absolute = true;
    path += 2;
  }
  split.absolute = split.absolute || IsPathSeparator(path[0]);
  for (const char* p = path; *p;) {
    const char* end = PathElementEnd(p);
    if (end > p) split.raw.emplace_back(p, end);
    p = *end ? end + 1 : end;
  }
  split.trailingSeparator = !split.raw.empty() && EndsWithSeparator(path);
  return split;
}

std::string Join(bool absolute, const std::vector<std::string>& elements, size_t count) {
  std::string path = absolute ? "/" : "";
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) path += '/';
    path += elements[i];
  }
  return path;
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.empty() ? "." : path.c_str(), &info) == 0;
}

// Whether the first length bytes of path name something.
bool ExistsLeadingPart(std::string* path, size_t length) {
  const char kept = (*path)[length];
  (*path)[length] = '\0';
  const bool exists = Exists(*path);
  (*path)[length] = kept;
  return exists;
}

}  // namespace

std::string HostPathFromGamePath(const char* gamePath) {
  const SplitPath split = Split(gamePath);
  // A '/' after a lead byte is the second half of a character, not a
  // separator; no host name can hold it.
  for (const std::string& element : split.raw) {
    if (element.find('/') != std::string::npos) return std::string();
  }
  std::vector<std::string> utf8;
  utf8.reserve(split.raw.size());
  for (const std::string& element : split.raw) utf8.push_back(ToUtf8(element));
  const size_t n = utf8.size();
  const std::string suffix = split.trailingSeparator ? "/" : "";

  std::string direct = Join(split.absolute, utf8, n);
  // A path past the host's limit names nothing the host would open: as
  // written, without a lookup (whose cost grows with the length).
  if (n == 0 || direct.size() >= PATH_MAX || Exists(direct)) return direct + suffix;

  // The deepest folder that exists as written; below it, element by element.
  // A leading part exists only when every shorter one does, so the search
  // goes down from the top and stops at the first missing element: its cost
  // follows the folders on disk, not the length of the path. Each part is
  // tried in place in the direct path.
  std::vector<size_t> ends(n);
  for (size_t i = 0, at = split.absolute ? 1 : 0; i < n; ++i) {
    at += utf8[i].size();
    ends[i] = at++;
  }
  size_t known = 0;
  while (known < n - 1 && ExistsLeadingPart(&direct, ends[known])) ++known;
  std::string path = Join(split.absolute, utf8, known);
  for (size_t i = known; i < n; ++i) {
    std::string name = utf8[i];
    if (name != "." && name != ".." && !HostFindNameInFolder(path, utf8[i], split.raw[i], &name)) {
      // Not there: the rest stays as written.
      for (size_t j = i; j < n; ++j) {
        if (!path.empty() && path.back() != '/') path += '/';
        path += utf8[j];
      }
      return path + suffix;
    }
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
  }
  return path + suffix;
}

std::string GamePathFromHostPath(const std::string& hostPath) {
  return IsAscii(hostPath) ? hostPath : Utf8ToCp932(hostPath);
}
