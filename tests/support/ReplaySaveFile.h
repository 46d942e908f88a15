#pragma once
// A save file that carries a replay log. The engine's save writer always
// writes an empty replay section; this takes a file it wrote and puts the
// log in that section, storing the file plain (seeds 0, read without a
// checksum).

#include <string>

#include "engine/data/ReplayLog.h"

// The file with the log in its replay section; empty when the file is not
// a save the writer made.
std::string WithReplaySection(const std::string& saveFile, const ReplayLog& log);
