#pragma once
// The window of a show-choices command: one row per choice, a frame cut from
// a nine-piece skin, and a cursor (a blinking nine-piece box or an animated
// strip). It opens on the hub's pending choice text, waits while its message
// is still being revealed, and delivers the chosen branch (row + 2) to the
// waiting event: rows from 0, the cancel row, 98 and 99 for the extra keys,
// 100 for a cancel-choices request.

#include <cstdint>
#include <vector>

#include "engine/presentation/text/TextBlock.h"

class ChoiceWindow {
 public:
  TextBlock text;
  int32_t fadeIn = 0;
  uint8_t open = 0;
  std::vector<int32_t> skinPieces;    // whole skin, then 9 pieces (owned)
  std::vector<int32_t> cursorPieces;  // whole cursor, then its pieces (owned)
  int32_t skinPieceWidth = 0;
  int32_t cursorPieceWidth = 0;
  int32_t skinPieceHeight = 0;
  int32_t cursorPieceHeight = 0;
  int32_t cursorFrames = 1;  // 1 a nine-piece box, more an animated strip
  int32_t cursorCounter = 0;
  int32_t cursorGraphic = -1;
  int32_t alpha = 0;  // the frame's opacity
  int32_t blinkPhase = 0;
  int32_t blinkValue = 0;
  int32_t row = 0;
  int32_t showing = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;  // the frame, screen pixels at scale 1
  int32_t openDelay = 0;
  uint8_t skinLoaded = 0;
  uint8_t cursorLoaded = 0;

  // Loads the skins.
  ChoiceWindow();
  // Deletes the skin and cursor graphics.
  void Release();

  void LoadSkins();
  void Update();
  void Draw();
  void Open();
  void SetPosition();
  void Close();

  // Rows delivered for the extra keys and the cancel-choices request.
  static constexpr int32_t kFirstExtraKeyRow = 98;
  static constexpr int32_t kSecondExtraKeyRow = 99;
  static constexpr int32_t kCancelChoicesRow = 100;

 private:
  // Moves the row one step up (-1) or down (1), then on in that direction
  // to the first row whose height is above 0 (at most n tries).
  void MoveRow(int32_t direction, int32_t n);
  bool TakeInput(int32_t n);
};
