#pragma once
// The engine's cache of images by file name: a file below the Data folder is
// read once and made into a graphic; when asked it is cut into a grid of
// pieces, each a graphic of its own sharing the image. Piece 0 of an entry is
// the whole image, the grid follows from 1 row by row. Users keep the cache
// index, never the handles: the handles change when the cache is rebuilt
// after the display was lost, the indexes do not.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct GraphicCache {
  // File name as the caller gives it (without the Data folder) -> index.
  std::map<std::string, int32_t> indexByName;
  // Per index: the whole graphic, then the pieces.
  std::vector<std::vector<int32_t>> pieces;
  std::vector<int32_t> columns;
  std::vector<int32_t> rows;

  // -1 when the name is not cached.
  int32_t IndexOf(const std::string& name) const;
  int32_t EntryCount() const { return static_cast<int32_t>(pieces.size()); }
  // Pieces of the entry counted with the whole image; 0 for no entry.
  int32_t PieceCount(int32_t index) const;
  // The graphic of a piece; -1 when the entry or the piece does not exist.
  int32_t Piece(int32_t index, int32_t piece) const;
};

// The one cache of the running game.
extern GraphicCache CachedGraphics;

// Mode 0: x and y are the column and row counts; mode 1: the piece width and
// height in pixels. True when the name is cached (already, whatever grid it
// was cut into, or now) or empty; false after a message box when the file is
// missing or its bytes make no graphic, and without one for counts or sizes
// of 0 or below.
bool LoadGraphic(const std::string& name, int32_t x, int32_t y, int32_t mode);

// Reads and cuts a file like LoadGraphic but hands the graphics to the
// caller: the whole image, or -1 (with a message box unless quiet). With a
// piece list and a grid of more than one piece, the list is filled like a
// cache entry; a 1 x 1 grid leaves it untouched.
int32_t LoadGraphicSP(const std::string& name, int32_t columns, int32_t rows, std::vector<int32_t>* pieces,
                      bool quiet);

// Rebuilds every entry from its file in the order of the names, keeping the
// indexes. Stops with false at the first file that cannot be read (after a
// message box); the entries not yet visited keep their graphics.
bool ReLoadGraphic();

// Deletes every cached graphic and empties the cache.
void ClearGraphicCache();
