// The icons of "\i[n]": loaded at start, after a saved game is loaded and
// after the display was lost.

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"
#include "runtime/WildcardMatch.h"

namespace {

constexpr size_t kIconListLineBytes = 512;

struct IconFile {
  std::string name;
  int32_t number;
};

// The number in the three characters after "icon": its decimal prefix.
int32_t IconNumber(const std::string& name) {
  if (name.size() <= 4) return 0;
  return ReadTextNumber(name.data() + 4, std::min<size_t>(3, name.size() - 4));
}

void CollectIconFile(const char* name, void* context) {
  std::string upper = name;
  ShiftJisUpper(upper.data(), upper.size());
  if (MatchWildcard("ICON???.PNG", upper.c_str()) != 0) return;
  static_cast<std::vector<IconFile>*>(context)->push_back({name, IconNumber(name)});
}

std::vector<IconFile> ListIconFiles() {
  std::vector<IconFile> files;
  const std::string folder = DataFolder() + "BasicData\\";
  const FileHandle list = FileOpenRead((folder + "EncodedIconList.xxxxx").c_str(), 0);
  if (list != 0) {
    char line[kIconListLineBytes];
    while (FileReadLine(line, sizeof line, list) > 0) files.push_back({line, IconNumber(line)});
    FileCloseRead(list);
    return files;
  }
  ListGameFolder(folder.c_str(), CollectIconFile, &files);
  return files;
}

}  // namespace

void TextResources::ReleaseIcons() {
  for (int32_t handle : iconHandles) {
    if (handle > 0) DeleteGraphic(handle);
  }
  iconHandles.clear();
}

void TextResources::LoadIcons() {
  ReleaseIcons();
  iconWidths.assign(kIconNumbers, 0);
  iconHeights.assign(kIconNumbers, 0);
  for (const IconFile& file : ListIconFiles()) {
    // Three characters give at most 999; the tables hold no more.
    if (file.number < 0 || file.number >= kIconNumbers) continue;
    const int32_t handle = LoadGraphicSP("BasicData\\" + file.name, 1, 1, nullptr, false);
    if (handle == -1) continue;
    const size_t n = static_cast<size_t>(file.number);
    if (iconHandles.size() < n + 1) iconHandles.resize(n + 1, 0);
    if (iconHandles[n] > 0) DeleteGraphic(iconHandles[n]);  // a number listed twice keeps the last
    iconHandles[n] = handle;
    GetGraphicSize(handle, &iconWidths[n], &iconHeights[n]);
  }
}
