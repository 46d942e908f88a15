#pragma once
// The in-game error screen: three lines on a dark band over the picture the
// game last drew, shown at once; the game waits until the player presses
// decide or clicks (a button held from before the error lets the player
// through after a moment), then goes on. Closing the window meanwhile ends
// the game (game state -1).

#include <cstdint>
#include <string>

void ShowInGameErrorScreen(const std::string& line1, const std::string& line2, const std::string& line3);

// Makes it the engine's error screen (ShowErrorScreen). Start-up calls this
// once the layer runs; without a window the screen only logs its lines.
void InstallInGameErrorScreen();

// Until a new press of decide or the left button, or one held for more
// than heldPasses passes (a button held from before lets the player
// through); the window closing ends the game (game state -1).
void WaitForAcknowledgement(int32_t heldPasses);
