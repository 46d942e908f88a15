#include "engine/presentation/GraphicCache.h"

#include <cstdio>

#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

GraphicCache CachedGraphics;

namespace {

constexpr char kMissingFileTitle[] = "ファイル読み込みエラー";

void ReportMissing(const char* format, const std::string& path, int32_t a, int32_t b) {
  char text[1200];
  std::snprintf(text, sizeof text, format, path.c_str(), a, b);
  ShowMessageBox(text, kMissingFileTitle);
}

// The whole image of a file as a graphic, or -1 when the file cannot be read
// or its bytes make no graphic (both count as a missing file).
int32_t GraphicFromFile(const std::string& path) {
  FileBuffer file;
  if (!file.Load(path.c_str()) || file.Size() <= 0) return -1;
  return CreateGraphicFromImage(file.Data(), static_cast<uint32_t>(file.Size()), nullptr, 0, 1, 0);
}

// The whole graphic followed by its columns x rows pieces, row by row. A cut
// finer than a pixel, or one that would fill the layer's graphic table,
// makes no pieces: their numbers then name nothing.
std::vector<int32_t> CutIntoPieces(int32_t whole, int32_t columns, int32_t rows) {
  std::vector<int32_t> list{whole};
  int width = 0;
  int height = 0;
  GetGraphicSize(whole, &width, &height);
  const int32_t pieceWidth = columns > 0 ? width / columns : 0;
  const int32_t pieceHeight = rows > 0 ? height / rows : 0;
  if (pieceWidth < 1 || pieceHeight < 1) return list;
  if (int64_t{columns} * rows + GetGraphicCount() >= kMaxGraphicCount) return list;
  list.reserve(static_cast<size_t>(columns) * static_cast<size_t>(rows) + 1);
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < columns; ++j) {
      list.push_back(DeriveGraphic(j * pieceWidth, i * pieceHeight, pieceWidth, pieceHeight, whole));
    }
  }
  return list;
}

void DeleteAll(const std::vector<int32_t>& graphics) {
  for (const int32_t graphic : graphics) {
    if (graphic >= 0) DeleteGraphic(graphic);
  }
}

}  // namespace

int32_t GraphicCache::IndexOf(const std::string& name) const {
  const auto found = indexByName.find(name);
  return found == indexByName.end() ? -1 : found->second;
}

int32_t GraphicCache::PieceCount(int32_t index) const {
  if (index < 0 || index >= EntryCount()) return 0;
  return static_cast<int32_t>(pieces[static_cast<size_t>(index)].size());
}

int32_t GraphicCache::Piece(int32_t index, int32_t piece) const {
  if (piece < 0 || piece >= PieceCount(index)) return -1;
  return pieces[static_cast<size_t>(index)][static_cast<size_t>(piece)];
}

bool LoadGraphic(const std::string& name, int32_t x, int32_t y, int32_t mode) {
  GraphicCache& cache = CachedGraphics;
  if (cache.indexByName.count(name)) return true;
  if (name.empty()) return true;
  if (x <= 0 || y <= 0) return false;
  const std::string path = DataFolder() + name;
  const int32_t whole = GraphicFromFile(path);
  if (whole < 0) {
    ReportMissing("■LoadGraphic error:ファイル %s が見つかりません\n", path, 0, 0);
    return false;
  }
  int32_t columns = x;
  int32_t rows = y;
  if (mode == 1) {
    int width = 0;
    int height = 0;
    GetGraphicSize(whole, &width, &height);
    columns = width / x;
    rows = height / y;
  }
  cache.indexByName.emplace(name, cache.EntryCount());
  cache.columns.push_back(columns);
  cache.rows.push_back(rows);
  cache.pieces.push_back(CutIntoPieces(whole, columns, rows));
  return true;
}

int32_t LoadGraphicSP(const std::string& name, int32_t columns, int32_t rows, std::vector<int32_t>* pieces,
                      bool quiet) {
  if (name.empty()) return -1;
  const std::string path = DataFolder() + name;
  const int32_t whole = GraphicFromFile(path);
  if (whole < 0) {
    if (!quiet) ReportMissing("■LoadGraphicSP error:ファイル %s (分割 %d,%d)が見つかりません\n", path, columns, rows);
    return -1;
  }
  if (pieces && (columns > 1 || rows > 1)) *pieces = CutIntoPieces(whole, columns, rows);
  return whole;
}

bool ReLoadGraphic() {
  GraphicCache& cache = CachedGraphics;
  // The name map is ordered by the names' bytes.
  for (const auto& [name, index] : cache.indexByName) {
    if (name.empty()) continue;
    const std::string path = DataFolder() + name;
    const int32_t whole = GraphicFromFile(path);
    if (whole < 0) {
      char text[1200];
      std::snprintf(text, sizeof text, "■ReLoadGraphic error:ファイル %s が見つかりません\n%s", path.c_str(),
                    name.c_str());
      ShowMessageBox(text, kMissingFileTitle);
      return false;
    }
    std::vector<int32_t>& list = cache.pieces[static_cast<size_t>(index)];
    DeleteAll(list);
    list = CutIntoPieces(whole, cache.columns[static_cast<size_t>(index)], cache.rows[static_cast<size_t>(index)]);
  }
  return true;
}

void ClearGraphicCache() {
  GraphicCache& cache = CachedGraphics;
  for (const std::vector<int32_t>& list : cache.pieces) DeleteAll(list);
  cache = GraphicCache();
}
