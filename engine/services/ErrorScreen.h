#pragma once
// The in-game error screen: how the engine reports a content error of the
// running game (three lines, shown until the player acknowledges them). The
// screen itself plugs in through SetErrorScreenHandler; until it does, and in
// tests that want to see the lines, the handler decides what happens.

#include <string>

void ShowErrorScreen(const std::string& line1, const std::string& line2, const std::string& line3);

using ErrorScreenHandler = void (*)(const std::string& line1, const std::string& line2, const std::string& line3);

// Null restores the default, which writes the lines to the log.
void SetErrorScreenHandler(ErrorScreenHandler handler);
