#include "runtime/platform/archive/ArchiveCache.h"

#include <cstring>
#include <string>

#include "runtime/Movan.h"
#include "runtime/ShiftJis.h"
#include "runtime/host/files/HostDirectory.h"
#include "runtime/platform/archive/ArchivePath.h"
#include "runtime/platform/base/StringHelpers.h"

namespace {

constexpr size_t kExtensionSize = 64;
constexpr const char* kDefaultExtension = "MVA";

struct ArchiveSlot {
  int inUse;
  int useCount;
  ArchiveReader reader;
  std::string upperPath;
};

struct ArchiveCache {
  ArchiveSlot slots[kArchiveCacheSlots];
  int count;
  // The last archive found: the upper-case directory it stands for.
  int hasLast;
  char lastPrefix[kArchivePathSize];
  size_t lastPrefixLength;
  int lastSlot;
  // Settings.
  char extension[kExtensionSize];
  char keyString[kArchiveKeySize + 1];
  int hasKeyString;
};

ArchiveCache gArchives;

void Upper(const char* text, char* upper, size_t size) {
  StrCopy(upper, size, text);
  StrUpper(upper);
}

void CloseSlot(int slot) {
  ArchiveSlot& s = gArchives.slots[slot];
  CloseArchive(&s.reader);
  s.inUse = 0;
  s.useCount = 0;
  s.upperPath.clear();
  --gArchives.count;
  if (gArchives.hasLast && gArchives.lastSlot == slot) gArchives.hasLast = 0;
}

void CloseArchivesWhere(bool unusedOnly) {
  for (int i = 0; i < kArchiveCacheSlots; ++i) {
    if (gArchives.slots[i].inUse && (!unusedOnly || gArchives.slots[i].useCount == 0)) CloseSlot(i);
  }
}

// The cached archive of the path (tried at the hinted slot first), or a new
// one opened into a free slot; its use count raised. -1 when it does not
// open as an archive.
int GetArchive(int hint, const char* path) {
  char upper[kArchivePathSize];
  Upper(path, upper, sizeof upper);
  if (hint >= 0 && hint < kArchiveCacheSlots && gArchives.slots[hint].inUse &&
      gArchives.slots[hint].upperPath == upper) {
    ++gArchives.slots[hint].useCount;
    return hint;
  }
  for (int i = 0; i < kArchiveCacheSlots; ++i) {
    if (gArchives.slots[i].inUse && gArchives.slots[i].upperPath == upper) {
      ++gArchives.slots[i].useCount;
      return i;
    }
  }
  if (gArchives.count >= kArchiveCacheSlots) CloseArchivesWhere(true);
  if (gArchives.count >= kArchiveCacheSlots) return -1;
  int slot = 0;
  while (gArchives.slots[slot].inUse) ++slot;
  ArchiveSlot& s = gArchives.slots[slot];
  if (OpenArchive(&s.reader, path, gArchives.hasKeyString ? gArchives.keyString : nullptr) != 0) return -1;
  s.inUse = 1;
  s.useCount = 1;
  s.upperPath = upper;
  ++gArchives.count;
  return slot;
}

const char* Extension() { return gArchives.extension[0] ? gArchives.extension : kDefaultExtension; }

// The archive path for the directory path[0, length).
bool CandidatePath(const char* path, size_t length, char* candidate, size_t size) {
  const size_t extensionLength = std::strlen(Extension());
  if (length + 1 + extensionLength + 1 > size) return false;
  std::memcpy(candidate, path, length);
  candidate[length] = '.';
  std::memcpy(candidate + length + 1, Extension(), extensionLength + 1);
  return true;
}

}  // namespace

ArchiveReader* CachedArchive(int slot) { return &gArchives.slots[slot].reader; }

void ReleaseArchive(int slot) {
  if (slot >= 0 && slot < kArchiveCacheSlots && gArchives.slots[slot].useCount > 0) --gArchives.slots[slot].useCount;
}

int ResolveArchivePath(const char* path, char* inner) {
  char normal[kArchivePathSize];
  char upper[kArchivePathSize];
  char candidate[kArchivePathSize];
  if (!NormalizeArchivePath(path, normal, sizeof normal)) return -1;
  Upper(normal, upper, sizeof upper);

  if (gArchives.hasLast && std::strncmp(upper, gArchives.lastPrefix, gArchives.lastPrefixLength) == 0 &&
      upper[gArchives.lastPrefixLength] == '\\' &&
      CandidatePath(normal, gArchives.lastPrefixLength, candidate, sizeof candidate)) {
    const int slot = GetArchive(gArchives.lastSlot, candidate);
    if (slot >= 0) {
      StrCopy(inner, kArchivePathSize, normal + gArchives.lastPrefixLength + 1);
      return slot;
    }
  }

  // Every directory level from the top; the root itself stands for nothing.
  // An archive file lies in the folder above the level it stands for: once
  // that folder is missing on disk, no deeper level can have one, and the
  // search stops (its cost then follows the folders on disk, not the length
  // of the path).
  for (size_t i = 1; normal[i];) {
    const int n = ShiftJisCharLength(normal + i);
    if (n == 1 && normal[i] == '\\' && CandidatePath(normal, i, candidate, sizeof candidate)) {
      const int slot = GetArchive(-1, candidate);
      if (slot < 0) {
        candidate[i] = '\0';
        if (!HostFolderExists(candidate)) return -1;
      }
      if (slot >= 0) {
        gArchives.hasLast = 1;
        std::memcpy(gArchives.lastPrefix, upper, i);
        gArchives.lastPrefix[i] = '\0';
        gArchives.lastPrefixLength = i;
        gArchives.lastSlot = slot;
        StrCopy(inner, kArchivePathSize, normal + i + 1);
        return slot;
      }
    }
    i += static_cast<size_t>(n);
  }
  return -1;
}

void CloseUnusedArchives() { CloseArchivesWhere(true); }

void ResetArchiveCache() {
  CloseArchivesWhere(false);
  gArchives.hasLast = 0;
}

int SetArchiveExtension(const char* text) {
  if (!text || std::strlen(text) >= kExtensionSize) text = "";
  StrCopy(gArchives.extension, sizeof gArchives.extension, text);
  gArchives.hasLast = 0;
  return 0;
}

int SetArchiveKeyString(const char* text) {
  gArchives.hasKeyString = text ? 1 : 0;
  gArchives.keyString[0] = '\0';
  if (text) {
    const size_t length = std::strlen(text);
    const size_t kept = length < kArchiveKeySize ? length : kArchiveKeySize;
    std::memcpy(gArchives.keyString, text, kept);
    gArchives.keyString[kept] = '\0';
  }
  return 0;
}
