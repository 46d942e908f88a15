#pragma once
// F9 in test play: every numbered, string and system variable and every
// system string with its data name, in columns of small print over the
// darkened game, a page at a time; the player confirms each page.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/shell/DebugTexts.h"

// The dump's lines in their columns (x from 0, not yet moved to a page).
std::vector<DebugText> VariableDumpTexts();

// The page offset after the page shown at offset, when the last column
// reaches past it; -1 when that page was the last.
int32_t NextVariableDumpPage(int32_t offset, int32_t lastColumnX);

// Shows the pages from the first one (true) or from where the last dump
// left off, each until decide or a click; closing the window ends it.
void ShowVariableDump(bool firstPage);
