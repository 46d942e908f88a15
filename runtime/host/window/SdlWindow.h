#pragma once
// Inside runtime/host only: the SDL side of the window, for the stand-ins
// that work on it directly (events, cursor, and the picture's presenter).

#include <SDL.h>

#include <vector>

#include "runtime/host/window/WindowMessages.h"

// Null while there is no window.
SDL_Window* HostSdlWindow();

// From window pixels to the client coordinates the layer sees (they differ
// only in full-screen style, where the picture is scaled to the desktop) and
// back.
void HostWindowPixelsToClient(int* x, int* y);
void HostClientToWindowPixels(int* x, int* y);

// Turns one SDL event into the window messages it stands for (none for
// events the window procedure has no use for).
void HostTranslateSdlEvent(const SDL_Event& event, std::vector<HostMessage>& out);

// A display change message when the desktop's mode differs from the one
// seen last.
void HostCheckDesktopChange(std::vector<HostMessage>& out);

// Where the picture lies in window pixels: the whole client area in the
// windowed style, the largest centred rectangle of the screen's proportions
// in full-screen style.
SDL_Rect HostPictureViewport();

// The window's renderer, made on first use; null without a window. Its
// generation changes whenever it is made or destroyed, and the reset count
// whenever SDL reports that textures were lost.
SDL_Renderer* HostSdlRenderer();
uint32_t HostSdlRendererGeneration();
void HostNoteRenderReset();
uint32_t HostRenderResetCount();

// Puts the input method's on or off (HostEnableIme) into effect; the window
// system starts text input whenever video starts.
void HostApplyImeState();
