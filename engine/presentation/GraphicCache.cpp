#include "engine/presentation/GraphicCache.h"

#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

GraphicCache CachedGraphics;

int32_t GraphicCache::IndexOf(const std::string& name) const {
  const auto found = indexByName.find(name);
  return found == indexByName.end() ? -1 : found->second;
}

int32_t GraphicCache::PieceCount(int32_t index) const {
  return index >= 0 && index < EntryCount() ? static_cast<int32_t>(pieces[static_cast<size_t>(index)].size()) : 0;
}

int32_t GraphicCache::Piece(int32_t index, int32_t piece) const {
  if (piece < 0 || piece >= PieceCount(index)) return -1;
  return pieces[static_cast<size_t>(index)][static_cast<size_t>(piece)];
}

namespace {

// The whole graphic made from the file's bytes, or -1 when it does not open.
int32_t ReadWhole(const std::string& path) {
  const FileHandle file = FileOpenRead(path.c_str(), 0);
  if (file == 0) return -1;
  const int64_t size = FileSizeOf(path.c_str());
  std::vector<char> bytes(static_cast<size_t>(size > 0 ? size : 0));
  if (!bytes.empty()) FileReadBytes(bytes.data(), bytes.size(), file);
  FileCloseRead(file);
  return CreateGraphicFromImage(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr, 0, 1, 0);
}

void Cut(int32_t whole, int32_t columns, int32_t rows, std::vector<int32_t>& list) {
  list.assign(1, whole);
  int32_t width = 0, height = 0;
  GetGraphicSize(whole, &width, &height);
  if (columns <= 0 || rows <= 0) return;
  const int32_t w = width / columns, h = height / rows;
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < columns; ++j) list.push_back(DeriveGraphic(j * w, i * h, w, h, whole));
  }
}

}  // namespace

bool LoadGraphic(const std::string& name, int32_t x, int32_t y, int32_t mode) {
  if (CachedGraphics.IndexOf(name) >= 0 || name.empty()) return true;
  const std::string path = DataFolder() + name;
  const int32_t whole = ReadWhole(path);
  if (whole == -1) {
    ShowMessageBox(("■LoadGraphic error:ファイル " + path + " が見つかりません\n").c_str(), "ファイル読み込みエラー");
    return false;
  }
  if (mode == 1) {
    int32_t width = 0, height = 0;
    GetGraphicSize(whole, &width, &height);
    x = x > 0 ? width / x : 0;
    y = y > 0 ? height / y : 0;
  }
  CachedGraphics.indexByName[name] = CachedGraphics.EntryCount();
  CachedGraphics.columns.push_back(x);
  CachedGraphics.rows.push_back(y);
  CachedGraphics.pieces.emplace_back();
  Cut(whole, x, y, CachedGraphics.pieces.back());
  return true;
}

int32_t LoadGraphicSP(const std::string& name, int32_t columns, int32_t rows, std::vector<int32_t>* pieces,
                      bool quiet) {
  if (name.empty()) return -1;
  const std::string path = DataFolder() + name;
  const int32_t whole = ReadWhole(path);
  if (whole == -1) {
    if (!quiet) {
      const std::string text = "■LoadGraphicSP error:ファイル " + path + " (分割 " + std::to_string(columns) + "," +
                               std::to_string(rows) + ")が見つかりません\n";
      ShowMessageBox(text.c_str(), "ファイル読み込みエラー");
    }
    return -1;
  }
  if (pieces && (columns > 1 || rows > 1)) Cut(whole, columns, rows, *pieces);
  return whole;
}

bool ReLoadGraphic() { return true; }

void ClearGraphicCache() {
  for (const std::vector<int32_t>& list : CachedGraphics.pieces) {
    for (int32_t graphic : list) DeleteGraphic(graphic);
  }
  CachedGraphics = GraphicCache();
}
