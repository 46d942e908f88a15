#include <cstring>
#include <set>
#include <string>

#include "runtime/Movan.h"
#include "runtime/host/files/GamePath.h"
#include "runtime/host/fonts/GlyphSource.h"

namespace {

constexpr int kNameEntry = 64;
// Never more names than a listing without a buffer could hold.
constexpr int kMaxNames = 4096;

struct Listing {
  char* buffer;
  int maximum;
  int mode;
  int count;
  std::set<std::string> names;
};

bool Visit(const HostFontFamily& family, void* context) {
  Listing& l = *static_cast<Listing*>(context);
  // A vertical-writing face.
  if (family.name[0] == '@') return true;
  if (l.mode == 1 && (!family.outline || !family.japanese)) return true;
  // Entries keep 63 bytes, cut where a character ends.
  const size_t length = ShiftJisCutLength(family.name, strnlen(family.name, kNameEntry - 1));
  std::string name(family.name, length);
  if (!l.names.insert(name).second) return true;
  if (l.buffer) {
    char* entry = l.buffer + static_cast<size_t>(l.count) * kNameEntry;
    std::memcpy(entry, name.data(), name.size());
    entry[name.size()] = '\0';
  }
  ++l.count;
  return l.count < kMaxNames && (l.maximum <= 0 || l.count < l.maximum);
}

}  // namespace

int ListFontNames(char* buffer, int maximum, int mode) {
  Listing listing{buffer, maximum, mode, 0, {}};
  HostCurrentGlyphSource()->listFamilies(Visit, &listing);
  return listing.count;
}

int AddPrivateFontFile(const char* path) {
  if (!path) return 0;
  return HostCurrentGlyphSource()->addPrivateFont(HostPathFromGamePath(path).c_str());
}

int RemovePrivateFontFile(const char* path) {
  if (!path) return 0;
  return HostCurrentGlyphSource()->removePrivateFont(HostPathFromGamePath(path).c_str());
}
