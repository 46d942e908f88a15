#include "runtime/platform/base/ScreenLog.h"

#include <cstring>

#include "runtime/Movan.h"
#include "runtime/platform/system/PlatformState.h"

ScreenLogState gScreenLog = {0, -1, 16, 0, 0, {}};

namespace {

void CreateLogFont() {
  gScreenLog.font = CreateFontToHandle(nullptr, gScreenLog.fontSize, 4, 1, -1, -1, 0, -1, -1);
  gScreenLog.fontDeleted = 0;
  if (gScreenLog.font != -1) SetFontDeleteNotify(gScreenLog.font, &gScreenLog.fontDeleted);
}

// Only while the delete notice has not come is the handle the log's own: a
// handle of a deleted font may name a newer one.
void DeleteOwnFont() {
  if (gScreenLog.font != -1 && !gScreenLog.fontDeleted) DeleteFontHandle(gScreenLog.font);
  gScreenLog.font = -1;
}

}  // namespace

int ScreenLogInit() {
  if (!HasScreenDevice() || gPlatform.window.mainWindow == 0) return -1;
  gScreenLog.prepared = 1;
  // Prepared again after every screen-mode change: a font that outlived the
  // change would hold a slot for nothing.
  DeleteOwnFont();
  gScreenLog.fontSize = 16;
  gScreenLog.font = -1;
  std::memset(gScreenLog.lines, 0, sizeof gScreenLog.lines);
  CreateLogFont();
  return 0;
}

int IsScreenLogOn() { return gScreenLog.on; }

int ScreenLogDraw() {
  if (gScreenLog.fontDeleted || !IsFontHandleValid(gScreenLog.font)) CreateLogFont();
  int width = 0;
  int height = 0;
  GetScreenSize(&width, &height);
  int count = height / 16;
  if (count > kScreenLogLines) count = kScreenLogLines;
  const uint32_t white = PackColor(255, 255, 255);
  const uint32_t black = PackColor(0, 0, 0);
  for (int i = 0; i < count; ++i) {
    char line[kScreenLogLineBytes + 1];
    std::memcpy(line, gScreenLog.lines[i], kScreenLogLineBytes);
    line[kScreenLogLineBytes] = '\0';
    DrawTextLineWithFont(0, i * 16, line, white, gScreenLog.font, black, 0);
  }
  return 0;
}

int ScreenLogEnd() {
  DeleteOwnFont();
  return 0;
}
