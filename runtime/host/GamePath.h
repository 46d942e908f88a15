#pragma once
// Game paths use '\' (or '/') as separators and are CP932 text. The host
// wants '/' and UTF-8. Every file, directory and font call of the layer goes
// through this translation.

#include <string>

// A 0x5C byte that is the second half of a two-byte character is kept, never
// taken for a separator.
std::string HostPathFromGamePath(const char* gamePath);
