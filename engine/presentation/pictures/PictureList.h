#pragma once
// Every picture of the game, kept in ascending number order with no two of
// one number, and a quarter-point index (the numbers at a quarter, a half
// and three quarters of the list as last rebuilt) from which a range
// operation starts its walk. Numbers choose the drawing layer: -100000 and
// below (-2) and -99999 to -1 (-1) inside the map, 0 to 99999 (0) above it,
// 100000 and up (1) above the windows.
//
// Range operations take the first and last number, both included; a first
// number above the last does nothing.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/presentation/pictures/Picture.h"

class ByteCursor;
class SaveBuffer;

class PictureList {
 public:
  std::vector<Picture> pictures;
  int32_t count = 0;  // the list size as of the last index rebuild
  std::array<int32_t, 3> quarterIndex = {0, 0, 0};

  PictureList() = default;

  // Zoom modes of the show and move operations: both axes, the height
  // only, the width only.
  enum ZoomMode : int32_t { kZoomBoth = 0, kZoomHeight = 1, kZoomWidth = 2 };

  // Creates the missing pictures of the range and shows the file on every
  // one (split 3 x 3, divX and divY the size, with the nine-piece flag).
  // A range that would take the list past its limit shows the error screen
  // and does nothing.
  void Show(int32_t first, int32_t last, const std::string& file, const PictureShowArguments& a, int32_t zoom,
            int32_t zoomMode, bool ninePiece);
  void ShowText(int32_t first, int32_t last, const std::string& text, const PictureShowArguments& a, int32_t zoom,
                int32_t zoomMode);
  void Move(int32_t first, int32_t last, const PictureMoveArguments& a, int32_t zoom, int32_t zoomMode);
  void Erase(int32_t first, int32_t last, int32_t frames, int32_t delay, int32_t color);
  void CancelDelays(int32_t first, int32_t last);
  void ApplyEffect(int32_t first, int32_t last, int32_t kind, int32_t a, int32_t b, int32_t c, int32_t frames);
  // -1 when no picture has the number.
  int32_t QueryProperty(int32_t number, int32_t kind) const;

  // Every picture runs its frame; erased pictures with nothing queued
  // leave the list.
  void Update();
  // The pictures of one layer (-2, -1, 0 or 1), the lower numbers first.
  void Draw(int32_t layer);

  // The list's save record: a 16-bit count and the pictures. A list longer
  // than the count can say is not written (false). Read fills an empty list
  // without graphics; false (overrun) when the record is cut short, a count
  // does not fit the bytes left or the numbers are not ascending.
  bool Write(SaveBuffer& out) const;
  bool Read(ByteCursor& in, int32_t version);
  // Every picture of a list read from a save joins the running game.
  void EnterLoaded();

  // Removes every picture; with files, also every graphic of the picture
  // file table.
  void Clear(bool files);
  // The index after a change of the list.
  void RebuildIndex();
  // The first position whose number is not below `first`.
  size_t RangeStart(int32_t first) const;

 private:
  template <typename Each>
  void ForRange(int32_t first, int32_t last, Each each);
  // The pictures of the range, created where missing; false (after the
  // error screen) when they would not fit.
  template <typename Each>
  bool ForRangeCreating(int32_t first, int32_t last, Each each);
};

// The game's pictures.
extern PictureList GamePictures;

// The layer of a picture number.
inline int32_t PictureLayer(int32_t number) {
  return number <= -100000 ? -2 : number < 0 ? -1 : number < 100000 ? 0 : 1;
}
