#pragma once
// The image files the pictures show, each held once per way of cutting it:
// the whole image as a graphic and its pieces, row by row. Pictures showing
// the same file with the same split share one entry and its graphics; the
// entries of a file are deleted when no picture shows it any more, and all
// are made again after the display was lost. Separate from the graphic
// cache of the other scene graphics; its size is the number of loaded
// pictures the debug lines report.

#include <cstdint>
#include <string>
#include <vector>

class Picture;
class PictureList;

struct PictureFileEntry {
  std::string fileName;    // as the picture gave it, below the Data folder
  int32_t wholeImage = -1;  // -1 when no graphic could be made
  int32_t splitX = 1;      // the split the entry was asked for
  int32_t splitY = 1;
  std::vector<int32_t> pieces;
  int32_t pieceWidth = 0;  // whole width / split x as cut
  int32_t pieceHeight = 0;
  bool operator==(const PictureFileEntry&) const = default;
};

struct PictureFileTable {
  std::vector<PictureFileEntry> entries;  // appended at the end, removed from the middle

  // The entry of (name, split), or -1.
  int32_t Find(const std::string& name, int32_t splitX, int32_t splitY) const;
  // Deletes every graphic and empties the table.
  void Clear();
};

// The one table of the run.
extern PictureFileTable PictureFiles;

// Finds or makes the entry of (name, split) and gives its graphics to the
// picture. False, after a message box unless the name is empty or
// "<<ERROR>>", when the file cannot be read or its bytes make no graphic;
// the picture is then left as it was. A split finer than the image, or one
// that would not fit the layer's graphic table, shows the error screen and
// cuts the image as one piece.
bool PictureControl(Picture& picture, const std::string& name, int32_t splitX, int32_t splitY);

// Deletes every entry of the file when no picture of the game's list other
// than number `except` shows it.
void FreePictureGraphic(const std::string& name, int32_t except);

// After the display was lost: makes the graphics of every entry again
// (an entry whose file is gone keeps its old ones) and gives them to the
// list's pictures again.
void RePictureControl(PictureList& list);
