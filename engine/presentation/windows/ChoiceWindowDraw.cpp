// The choice window's frame, cursor and rows.

#include <vector>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/windows/ChoiceWindow.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

namespace {

struct Box {
  int32_t left, top, right, bottom;
};

// Pieces 1-9 of a 3 x 3 cut stretched over the box: corners at their size,
// edges and middle stretched. Coordinates are scaled by s.
void DrawNinePieces(const std::vector<int32_t>& pieces, const Box& b, int32_t pw, int32_t ph, int32_t s) {
  if (pieces.size() < 10) return;
  const int32_t l = b.left, r = b.right, t = b.top, u = b.bottom;
  const Box parts[9] = {
      {l, t, l + pw, t + ph},          {r - pw, t, r, t + ph},          {l + pw, t, r - pw, t + ph},
      {l, t + ph, l + pw, u - ph},     {r - pw, t + ph, r, u - ph},     {l + pw, t + ph, r - pw, u - ph},
      {l, u - ph, l + pw, u},          {r - pw, u - ph, r, u},          {l + pw, u - ph, r - pw, u},
  };
  // Drawn corner, corner, edge along each band of rows.
  constexpr int kPieceOf[9] = {1, 3, 2, 4, 6, 5, 7, 9, 8};
  for (int i = 0; i < 9; ++i) {
    const Box& p = parts[i];
    DrawGraphicStretched(p.left * s, p.top * s, p.right * s, p.bottom * s, pieces[static_cast<size_t>(kPieceOf[i])], 1);
  }
}

}  // namespace

void ChoiceWindow::Draw() {
  if (!showing) return;
  const int32_t t = TileUnit;
  const int32_t s = DisplayScale();
  const bool small = t == 16;
  if (alpha != 0 && skinLoaded && (t == 32 || t == 16)) {
    if (alpha == 255) {
      SetBlendMode(0, 255);
    } else {
      SetBlendMode(1, alpha);
    }
    const Box frame = {small ? x - 1 : x, y, small ? x + width - 8 : x + width + 3, small ? y + height - 10 : y + height + 2};
    DrawNinePieces(skinPieces, frame, skinPieceWidth, skinPieceHeight, s);
  }
  if ((!fadeIn || alpha == 255) && row >= 0 && cursorLoaded) {
    const int32_t top = TextBlock::TableEntry(text.lineTops, row);
    const int32_t rowHeight = TextBlock::TableEntry(text.lineHeights, row);
    const int32_t inset = 4 * t / 10;
    const int32_t blend = RootRunner.choiceCursorBlend + 1;
    if (cursorFrames == 1) {
      SetBlendMode(blend, blinkValue);
      const Box box = {x + 2 * t / 10 + inset - (small ? 3 : 8), y + top + inset + (small ? 1 : 0),
                       x + width - inset + (small ? -9 : 3), y + top + rowHeight + inset + 3};
      DrawNinePieces(cursorPieces, box, cursorPieceWidth, cursorPieceHeight, s);
    } else {
      const size_t piece = static_cast<size_t>(cursorCounter / 5 + 1);
      if (piece < cursorPieces.size()) {
        SetBlendMode(blend, 255);
        DrawGraphicStretched((x + inset - 3) * s, (y + top + inset + (small ? 1 : -1)) * s,
                             (x + width - inset + (small ? -9 : 14)) * s,
                             (y + top + rowHeight + inset + (small ? 3 : 2)) * s, cursorPieces[piece], 1);
      }
    }
  }
  SetBlendMode(0, 255);
  if (openDelay < 1) text.Layout(TextBlock::kDraw, 1.0, 1.0);
}
