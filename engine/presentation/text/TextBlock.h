#pragma once
// A block of rich text on the screen: the text of the message window, of the
// choice window and of a text picture. Layout walks the text with its control
// sequences from the first byte on every pass: in measure mode it records
// the line tables (widths, tops, heights) without drawing; in draw mode it
// draws what the reveal has reached, aligned by the tables the last measure
// recorded. The owner sets the source text, the origin and the flags,
// measures after each change of the text, advances the reveal once a frame
// and draws every drawn frame.
//
// Font sizes, line heights and icon sizes are game pixels, multiplied by the
// display scale where they reach the screen; the origin, the pen and the
// pixel widths are screen pixels.

#include <cstdint>
#include <string>
#include <vector>

class TextBlock {
 public:
  std::string workText;    // what is laid out: the source as last taken
  std::string sourceText;  // set by the owner
  std::string takenText;   // the source the work text was copied from
  int32_t originX = 0;
  int32_t originY = 0;
  int32_t penX = 0;  // relative to the origin
  int32_t penY = 0;
  int32_t line = 0;
  int32_t position = 0;  // byte position in the work text
  int32_t colorIndex = 0;
  int32_t fontSize = 24;
  int32_t edge = 0;
  double speed = 240.0;  // characters revealed per 30 frames
  double revealed = 0.0;
  double previousRevealed = 0.0;
  uint8_t instant = 0;  // a reset reveals everything at once
  std::vector<int32_t> lineWidths;       // game pixels
  std::vector<int32_t> lineTops;         // game pixels
  std::vector<int32_t> lineHeights;      // game pixels
  std::vector<int32_t> linePixelWidths;  // screen pixels
  int32_t face = 0;
  uint8_t choiceBlock = 0;  // one row per choice, choice line spacing
  uint8_t waitingForKey = 0;
  uint8_t autoClose = 0;
  int32_t waitPosition = 0;  // just after the last timed wait passed
  int32_t waitFrames = 0;
  int32_t keyWaitPosition = 0;  // just after the last key wait passed
  int32_t widestLine = 0;
  int32_t widestPixelLine = 0;
  int32_t controlBytes = 0;  // passed in the current layout

  // Also makes the layer's default font anti-aliased with thickness 0.
  TextBlock(int32_t x = 0, int32_t y = 0);

  enum Mode : int32_t { kMeasure = 0, kDraw = 1 };
  // mode 0 measures, any other draws; the factors zoom the drawing (1.0 for
  // the windows, a picture's zoom for text pictures).
  void Layout(int32_t mode, double scaleX, double scaleY);
  // Measures and gives the widest line and the lowest line bottom in game
  // pixels; the number of lines.
  int32_t Measure(int32_t& width, int32_t& height);
  // Takes the source text afresh: tables emptied (pixel widths kept), waits
  // cleared, the reveal back at 0 (everything when instant is set).
  void ResetLayout();
  // Once a frame: the reveal grows unless a wait holds it; a timed wait
  // counts down.
  void AdvanceReveal();
  bool IsFullyRevealed() const;

  // The line's table entries after a character or item of height h (measure
  // mode).
  void RecordLine(int32_t height);

  // A font size the faces can be made in.
  static int32_t SnapFontSize(int32_t size);
  // Of every font the layout asks for.
  static constexpr int32_t kFontThickness = 5;
  // The reveal never grows past this.
  static constexpr double kMaxRevealed = 5e7;

  // Entry i of a line table, 0 where the table has none (a choice block
  // keeps its heights at the choice count, shorter than its lines).
  static int32_t TableEntry(const std::vector<int32_t>& table, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < table.size() ? table[static_cast<size_t>(i)] : 0;
  }
};

// The colour table of message text from the system database (type 12), made
// by the first layout of the run; the next layout makes it again after this.
void ForgetTextColorTable();
