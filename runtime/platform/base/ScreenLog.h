#pragma once
// The on-screen log: 80 lines drawn over the screen with a font of its own.
// It is prepared at start-up and after every screen-mode change, but no
// operation switches it on, so it is never shown.

constexpr int kScreenLogLines = 80;
constexpr int kScreenLogLineBytes = 255;

struct ScreenLogState {
  int prepared;
  int font;            // -1 none
  int fontSize;
  int fontDeleted;     // set when the font is deleted: the next draw makes it again
  int on;
  char lines[kScreenLogLines][kScreenLogLineBytes];
};

extern ScreenLogState gScreenLog;

// 0; -1 without a screen device or without a window.
int ScreenLogInit();
// 0: the log is never switched on.
int IsScreenLogOn();
// Draws the lines that fit on the screen, white with a black edge. 0.
int ScreenLogDraw();
// The end sequence: deletes the log's font when it exists. 0.
int ScreenLogEnd();
