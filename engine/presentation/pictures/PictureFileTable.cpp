#include "engine/presentation/pictures/PictureFileTable.h"

#include <cstdio>

#include "engine/data/file/FileBuffer.h"
#include "engine/presentation/pictures/Picture.h"
#include "engine/presentation/pictures/PictureList.h"
#include "engine/services/DataFolder.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

PictureFileTable PictureFiles;

namespace {

constexpr char kMissingFileTitle[] = "ファイル読み込みエラー";

bool Reported(const std::string& name) { return !name.empty() && name != "<<ERROR>>"; }

// The whole image of a file, or -1 when it cannot be read or its bytes make
// no graphic (both count as a missing file).
int32_t GraphicFromFile(const std::string& path) {
  FileBuffer file;
  if (!file.Load(path.c_str()) || file.Size() <= 0) return -1;
  return CreateGraphicFromImage(file.Data(), static_cast<uint32_t>(file.Size()), nullptr, 0, 1, 0);
}

// The pieces of a cut, row by row from the top.
std::vector<int32_t> Cut(int32_t whole, int32_t columns, int32_t rows) {
  int width = 0;
  int height = 0;
  GetGraphicSize(whole, &width, &height);
  const int32_t w = width / columns;
  const int32_t h = height / rows;
  std::vector<int32_t> pieces;
  pieces.reserve(static_cast<size_t>(columns) * static_cast<size_t>(rows));
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < columns; ++c) pieces.push_back(DeriveGraphic(c * w, r * h, w, h, whole));
  }
  return pieces;
}

void DeleteGraphics(const PictureFileEntry& entry) {
  if (entry.wholeImage >= 0) DeleteGraphic(entry.wholeImage);
  for (const int32_t piece : entry.pieces) {
    if (piece >= 0) DeleteGraphic(piece);
  }
}

// The split the image is cut into: the one asked for, or one piece after
// the error screen when it is finer than the image or would not fit the
// layer's graphic table (a full table ends the game).
void ChooseCut(int32_t width, int32_t height, int32_t& columns, int32_t& rows) {
  columns = std::max(columns, 1);
  rows = std::max(rows, 1);
  char text[256];
  if (columns > width || rows > height) {
    std::snprintf(text, sizeof text, "分割数が画像サイズより大きすぎます！ 横%d分割 縦%d分割  サイズX=%d Y=%d", columns,
                  rows, width, height);
  } else if (int64_t{columns} * rows + GetGraphicCount() >= kMaxGraphicCount) {
    std::snprintf(text, sizeof text, "分割数が多すぎて画像を作れません！ 横%d分割 縦%d分割", columns, rows);
  } else {
    return;
  }
  ShowErrorScreen(text, ErrorLocationText(), "");
  columns = 1;
  rows = 1;
}

}  // namespace

int32_t PictureFileTable::Find(const std::string& name, int32_t splitX, int32_t splitY) const {
  for (size_t i = 0; i < entries.size(); ++i) {
    const PictureFileEntry& e = entries[i];
    if (e.splitX == splitX && e.splitY == splitY && e.fileName == name) return static_cast<int32_t>(i);
  }
  return -1;
}

void PictureFileTable::Clear() {
  for (const PictureFileEntry& entry : entries) DeleteGraphics(entry);
  entries.clear();
}

bool PictureControl(Picture& picture, const std::string& name, int32_t splitX, int32_t splitY) {
  int32_t index = PictureFiles.Find(name, splitX, splitY);
  int32_t columns = splitX;
  int32_t rows = splitY;
  if (index < 0) {
    const std::string path = DataFolder() + name;
    const int32_t whole = GraphicFromFile(path);
    if (whole < 0) {
      if (Reported(name)) {
        const std::string text = "■PictureControl error:ファイル " + path + " が見つかりません\r\n" + ErrorLocationText();
        ShowMessageBox(text.c_str(), kMissingFileTitle);
      }
      return false;
    }
    int width = 0;
    int height = 0;
    GetGraphicSize(whole, &width, &height);
    ChooseCut(width, height, columns, rows);
    PictureFileEntry entry;
    entry.fileName = name;
    entry.wholeImage = whole;
    entry.splitX = splitX;
    entry.splitY = splitY;
    entry.pieceWidth = width / columns;
    entry.pieceHeight = height / rows;
    entry.pieces = Cut(whole, columns, rows);
    PictureFiles.entries.push_back(std::move(entry));
    index = static_cast<int32_t>(PictureFiles.entries.size()) - 1;
  }
  const PictureFileEntry& entry = PictureFiles.entries[static_cast<size_t>(index)];
  picture.imageHandle = entry.wholeImage;
  picture.pieces = entry.pieces;
  picture.pieceWidthFrom = picture.pieceWidth;
  picture.pieceHeightFrom = picture.pieceHeight;
  picture.pieceWidth = entry.pieceWidth;
  picture.pieceHeight = entry.pieceHeight;
  picture.divX = columns;
  picture.divY = rows;
  return true;
}

void FreePictureGraphic(const std::string& name, int32_t except) {
  if (name.empty()) return;
  for (const Picture& p : GamePictures.pictures) {
    if (p.number != except && p.fileName == name) return;
  }
  auto& entries = PictureFiles.entries;
  for (size_t i = 0; i < entries.size();) {
    if (entries[i].fileName == name) {
      DeleteGraphics(entries[i]);
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

void RePictureControl(PictureList& list) {
  for (PictureFileEntry& entry : PictureFiles.entries) {
    const std::string path = DataFolder() + entry.fileName;
    FileBuffer file;
    if (!file.Load(path.c_str())) {
      if (Reported(entry.fileName)) {
        const std::string text = "■RePictureControl error:ファイル " + path + " が見つかりません\n";
        ShowMessageBox(text.c_str(), kMissingFileTitle);
      }
      continue;
    }
    DeleteGraphics(entry);
    entry.wholeImage = file.Size() > 0
                           ? CreateGraphicFromImage(file.Data(), static_cast<uint32_t>(file.Size()), nullptr, 0, 1, 0)
                           : -1;
    // Cut as before: the pieces a refused split became stay one piece.
    const size_t pieces = entry.pieces.size();
    const bool whole = pieces <= 1;
    entry.pieces = entry.wholeImage < 0 ? std::vector<int32_t>(pieces, -1)
                                        : Cut(entry.wholeImage, whole ? 1 : entry.splitX, whole ? 1 : entry.splitY);
  }
  for (Picture& p : list.pictures) {
    if (p.fileName.empty()) continue;
    if (p.isNinePiece) {
      const int32_t width = p.divX;
      const int32_t height = p.divY;
      PictureControl(p, p.fileName, 3, 3);
      p.divX = width;
      p.divY = height;
    } else {
      PictureControl(p, p.fileName, p.divX, p.divY);
    }
  }
}
