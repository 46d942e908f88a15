#pragma once
// The window of a show-message command: it opens on the hub's pending
// message, reveals the text at the message speed, waits for the player at
// key-wait codes and at the end, and on closing empties the pending text and
// lets the waiting event go on. It draws no frame of its own: only its wait
// cursor and the text. Positions, speed and delay are system values of the
// root runner.

#include <cstdint>

#include "engine/presentation/text/TextBlock.h"

class MessageWindow {
 public:
  TextBlock text;
  uint8_t open = 0;
  uint8_t allShown = 0;  // the text is shown and waits for a key: the wait cursor shows
  int32_t waitCursor = -1;  // owned graphic, a vertical strip of frames
  int32_t wasOpen = 0;      // the window set the hub's window-open flag and must clear it
  int32_t openDelay = 0;    // frames before the text starts
  int32_t cursorCounter = 0;
  int32_t cursorFrames = 1;
  int32_t cursorWidth = 0;
  int32_t cursorHeight = 0;
  uint8_t cursorLoaded = 0;

  // Loads the wait cursor.
  MessageWindow();
  // Deletes the wait cursor graphic.
  void Release();

  // (Re)loads the wait cursor from the system database's window images:
  // after a scene reload and after the display was lost.
  void LoadWaitCursor();
  void Update();
  void Draw();
  void Open();
  void SetPosition();
  // Also when the game leaves the running state: the waiting event goes on.
  void Close();
};
