#pragma once
// The one top-level window of the program, over SDL video. Rectangles are in
// screen coordinates. In full-screen style the window covers the desktop and
// shows the picture scaled; the layer then sees a screen of the size it last
// gave the window (as if the display mode had been changed to it), and
// cursor positions are in that screen's pixels.

#include <cstdint>

struct HostRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

enum class HostWindowStyle { Windowed, FullScreen };

// Starts the window system (once; false when no video driver works) and
// stops it again, dropping any queued message.
bool HostVideoStart();
void HostVideoStop();

struct HostDesktop {
  int width;
  int height;
  int depth;  // bits per pixel; always 32
};
HostDesktop HostDesktopMetrics();

// Windows made from now on can take a GL context (the drawing hardware's
// stand-in asks for it); off again when video stops.
void HostSetWindowsUseGl(bool on);
bool HostWindowUsesGl();

// Creates the window, not yet shown, with the given frame rectangle. Returns
// its id, 0 on failure.
uint32_t HostWindowCreate(const char* titleCp932, HostWindowStyle style, const HostRect& frame);
// Nothing when there is no window.
void HostWindowDestroy();
bool HostWindowExists();
void HostWindowShow();
void HostWindowMinimise();
// Brings the window to the front and gives it the input focus.
void HostWindowRaise(bool topmost);
void HostWindowSetTitle(const char* titleCp932);
// 0 is the system's standard icon; other ids are looked up among the icons
// the program registered (HostRegisterIconResource).
void HostWindowSetIcon(int iconId);

// Switching between the styles posts a display change, as a change of
// display mode would.
void HostWindowSetStyle(HostWindowStyle style);
HostWindowStyle HostWindowGetStyle();

// The frame rectangle around a client rectangle (the window's borders, none
// in full-screen style or before the window manager has told them).
HostRect HostAdjustWindowRect(const HostRect& client, HostWindowStyle style);
// Moves and sizes the window by its frame rectangle. In full-screen style
// the size becomes the size of the screen the layer sees.
void HostWindowSetFrameRect(const HostRect& frame);
// False without a window.
bool HostWindowFrameRect(HostRect* frame);
bool HostWindowClientRect(HostRect* client);

// Fills the client area black and shows it.
void HostWindowFillBlack();
// While a GL context draws in the window, it fills instead (null: the
// window's own renderer).
void HostSetWindowFill(void (*fillBlack)());

void HostEnableScreenSaver(bool enabled);

// The program's icon images, as the executable's icon resources were:
// 32-bit ARGB pixels, rows top to bottom. The data is copied.
void HostRegisterIconResource(int id, const uint32_t* argb, int width, int height);
