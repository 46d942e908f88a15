#include "runtime/host/files/FolderNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <ctime>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "runtime/ShiftJis.h"

namespace {

constexpr size_t kMaxCachedFolders = 256;
// Longer than the file system's time stamp step (a clock tick): a change
// after the listing was read then always shows in the folder's time.
constexpr int64_t kSettleNanoseconds = 20000000;

// UTF-8 names: every byte of a multi-byte character is 0x80 or above, so
// each ASCII letter stands for itself.
std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

// Raw CP932 names: the second byte of a two-byte character may look like a
// letter ("\x83\x61" is not "\x83\x41"); only single-byte letters fold.
std::string FoldShiftJisCase(std::string_view name) {
  std::string folded(name);
  ShiftJisUpper(folded.data(), folded.size());
  return folded;
}

bool IsAscii(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Keeps the smallest name of each fold.
void AddFolded(std::unordered_map<std::string, std::string>* byFold, std::string folded, const std::string& name) {
  auto [it, added] = byFold->emplace(std::move(folded), name);
  if (!added && name < it->second) it->second = name;
}

struct Listing {
  dev_t device = 0;
  ino_t inode = 0;
  timespec modified = {};
  bool settled = false;  // read more than kSettleNanoseconds after the folder's last change
  std::unordered_set<std::string> names;
  std::unordered_map<std::string, std::string> byFoldedName;     // as UTF-8
  std::unordered_map<std::string, std::string> byFoldedRawName;  // non-ASCII names as CP932
};

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool ReadListing(const std::string& folder, const struct stat& info, Listing* listing) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  *listing = Listing();
  listing->device = info.st_dev;
  listing->inode = info.st_ino;
  listing->modified = info.st_mtim;
  const int64_t age = (static_cast<int64_t>(now.tv_sec) - info.st_mtim.tv_sec) * 1000000000 +
                      (now.tv_nsec - info.st_mtim.tv_nsec);
  listing->settled = age > kSettleNanoseconds;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    AddFolded(&listing->byFoldedName, FoldCase(name), name);
    if (!IsAscii(name)) AddFolded(&listing->byFoldedRawName, FoldShiftJisCase(name), name);
    listing->names.insert(name);
  }
  closedir(dir);
  return true;
}

std::mutex gMutex;
std::unordered_map<std::string, Listing> gListings;

}  // namespace

bool HostFindNameInFolder(const std::string& folder, const std::string& utf8Name,
                          const std::string& rawName, std::string* nameOnDisk) {
  struct stat info;
  if (stat(folder.empty() ? "." : folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;

  std::lock_guard<std::mutex> lock(gMutex);
  auto found = gListings.find(folder);
  const bool fresh = found != gListings.end() && found->second.settled && found->second.device == info.st_dev &&
                     found->second.inode == info.st_ino && SameTime(found->second.modified, info.st_mtim);
  if (!fresh) {
    if (gListings.size() >= kMaxCachedFolders) gListings.clear();
    Listing listing;
    if (!ReadListing(folder, info, &listing)) return false;
    found = gListings.insert_or_assign(folder, std::move(listing)).first;
  }
  const Listing& listing = found->second;
  for (const std::string* name : {&utf8Name, &rawName}) {
    if (listing.names.count(*name)) {
      *nameOnDisk = *name;
      return true;
    }
  }
  auto match = listing.byFoldedName.find(FoldCase(utf8Name));
  if (match != listing.byFoldedName.end()) {
    *nameOnDisk = match->second;
    return true;
  }
  // An ASCII raw name is its UTF-8 name, already looked for.
  match = listing.byFoldedRawName.find(FoldShiftJisCase(rawName));
  if (match != listing.byFoldedRawName.end()) {
    *nameOnDisk = match->second;
    return true;
  }
  return false;
}
