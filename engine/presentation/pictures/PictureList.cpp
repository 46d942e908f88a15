#include "engine/presentation/pictures/PictureList.h"

#include <algorithm>
#include <cstdio>

#include "engine/presentation/pictures/PictureFileTable.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"

PictureList GamePictures;

namespace {

// The zooms of both axes from one zoom and its mode.
void ZoomsOf(int32_t zoom, int32_t mode, int32_t& zoomX, int32_t& zoomY) {
  zoomX = zoomY = zoom;
  if (zoom == picture::kNotGiven) return;
  if (mode == PictureList::kZoomHeight) zoomX = 100;
  if (mode == PictureList::kZoomWidth) zoomY = 100;
}

}  // namespace

void PictureList::RebuildIndex() {
  count = static_cast<int32_t>(pictures.size());
  if (count <= 0) return;
  for (int32_t j = 0; j < 3; ++j) quarterIndex[static_cast<size_t>(j)] = pictures[static_cast<size_t>((j + 1) * count / 4)].number;
}

size_t PictureList::RangeStart(int32_t first) const {
  size_t p = 0;
  for (int32_t j = 0; j < 3 && quarterIndex[static_cast<size_t>(j)] < first; ++j) {
    p = static_cast<size_t>((j + 1) * static_cast<int64_t>(count) / 4);
  }
  p = std::min(p, pictures.size());
  // An index older than the list only ever costs a few steps back.
  while (p > 0 && pictures[p - 1].number >= first) --p;
  while (p < pictures.size() && pictures[p].number < first) ++p;
  return p;
}

template <typename Each>
void PictureList::ForRange(int32_t first, int32_t last, Each each) {
  if (first > last) return;
  for (size_t p = RangeStart(first); p < pictures.size() && pictures[p].number <= last; ++p) each(pictures[p]);
}

template <typename Each>
bool PictureList::ForRangeCreating(int32_t first, int32_t last, Each each) {
  if (first > last) return true;
  const size_t start = RangeStart(first);
  size_t end = start;
  while (end < pictures.size() && pictures[end].number <= last) ++end;
  const int64_t span = int64_t{last} - first + 1;
  const int64_t missing = span - static_cast<int64_t>(end - start);
  if (static_cast<int64_t>(pictures.size()) + missing > picture::kMaxPictures) {
    char text[160];
    std::snprintf(text, sizeof text, "ピクチャが多すぎます！ ピクチャ %d ～ %d は表示できません(最大%d枚)", first, last,
                  picture::kMaxPictures);
    ShowErrorScreen(text, ErrorLocationText(), "");
    return false;
  }
  if (missing > 0) {
    // The range merged with the pictures it already holds, in one pass.
    std::vector<Picture> merged;
    merged.reserve(pictures.size() + static_cast<size_t>(missing));
    for (size_t k = 0; k < start; ++k) merged.push_back(std::move(pictures[k]));
    size_t k = start;
    for (int64_t n = first; n <= last; ++n) {
      if (k < end && pictures[k].number == n) {
        merged.push_back(std::move(pictures[k++]));
      } else {
        merged.emplace_back(static_cast<int32_t>(n));
      }
    }
    for (k = end; k < pictures.size(); ++k) merged.push_back(std::move(pictures[k]));
    pictures = std::move(merged);
  }
  for (int64_t c = 0; c < span; ++c) each(pictures[start + static_cast<size_t>(c)]);
  RebuildIndex();
  return true;
}

void PictureList::Show(int32_t first, int32_t last, const std::string& file, const PictureShowArguments& a,
                       int32_t zoom, int32_t zoomMode, bool ninePiece) {
  PictureShowArguments b = a;
  ZoomsOf(zoom, zoomMode, b.zoomX, b.zoomY);
  const int32_t kind = ninePiece ? QueuedPictureOperation::kShowNinePiece : QueuedPictureOperation::kShowImage;
  ForRangeCreating(first, last, [&](Picture& p) { p.Show(file, b, kind); });
}

void PictureList::ShowText(int32_t first, int32_t last, const std::string& text, const PictureShowArguments& a,
                           int32_t zoom, int32_t zoomMode) {
  PictureShowArguments b = a;
  ZoomsOf(zoom, zoomMode, b.zoomX, b.zoomY);
  ForRangeCreating(first, last, [&](Picture& p) { p.ShowText(text, b); });
}

void PictureList::Move(int32_t first, int32_t last, const PictureMoveArguments& a, int32_t zoom, int32_t zoomMode) {
  PictureMoveArguments b = a;
  ZoomsOf(zoom, zoomMode, b.zoomX, b.zoomY);
  ForRange(first, last, [&](Picture& p) { p.Move(b); });
}

void PictureList::Erase(int32_t first, int32_t last, int32_t frames, int32_t delay, int32_t color) {
  ForRange(first, last, [&](Picture& p) { p.Erase(frames, delay, color); });
}

void PictureList::CancelDelays(int32_t first, int32_t last) {
  ForRange(first, last, [](Picture& p) { p.queue.clear(); });
}

void PictureList::ApplyEffect(int32_t first, int32_t last, int32_t kind, int32_t a, int32_t b, int32_t c,
                              int32_t frames) {
  ForRange(first, last, [&](Picture& p) { p.effects.Apply(kind, a, b, c, frames); });
}

int32_t PictureList::QueryProperty(int32_t number, int32_t kind) const {
  const size_t p = RangeStart(number);
  if (p >= pictures.size() || pictures[p].number != number) return -1;
  return pictures[p].QueryProperty(kind);
}

void PictureList::Update() {
  // Pictures that leave are compacted away in the same walk. A picture
  // that has left keeps no file name, so that releasing a file later in
  // the walk does not count it, as if it were already gone.
  size_t kept = 0;
  for (size_t i = 0; i < pictures.size(); ++i) {
    Picture& p = pictures[i];
    p.Update();
    if (p.erased && p.queue.empty()) {
      p.fileName.clear();
      continue;
    }
    if (kept != i) {
      pictures[kept] = std::move(p);
      p.fileName.clear();
    }
    ++kept;
  }
  pictures.resize(kept);
  RebuildIndex();
}

void PictureList::Draw(int32_t layer) {
  if (layer < -2 || layer > 1) return;
  for (Picture& p : pictures) {
    if (PictureLayer(p.number) == layer) p.Draw();
  }
}

void PictureList::Clear(bool files) {
  pictures.clear();
  count = 0;
  quarterIndex = {0, 0, 0};
  if (files) PictureFiles.Clear();
}
