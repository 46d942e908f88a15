#pragma once
// Golden frames: the back screen after a draw, hashed (64 bits over the
// colour of every pixel) and compared with a hash stored beside the tests
// (DIRECTORY/NAME.hash). With MOVAN_GOLDEN_REGENERATE=1 in the environment
// (scripts/golden) the hash is written instead, with a PNG of the frame
// beside it (DIRECTORY/NAME.png) to be looked at before it is committed.

#include <cstdint>
#include <string>

uint64_t HashBackScreen();

// "" when the frame matches (or was regenerated); otherwise what differs.
std::string CheckGoldenFrame(const std::string& directory, const std::string& name);
