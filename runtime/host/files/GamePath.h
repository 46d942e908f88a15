#pragma once
// Game paths use '\' (or '/') as separators, any letter case and CP932 text.
// The host wants '/', UTF-8 and the exact case of each name on disk. Every
// file, directory and font call of the layer goes through this translation.
//
// A 0x5C byte that is the second half of a two-byte character is kept, never
// taken for a separator. Each element that does not exist as written is
// looked up in its folder without regard to ASCII letter case, under its
// UTF-8 name and under its raw CP932 bytes; an element found nowhere is kept
// as written (a file about to be created), and so is the rest of the path.
// Absolute host paths (starting with '/') are translated the same way, and a
// drive ("C:\...", "C:...") stands for the root, since the host has none.
//
// A lead byte followed by '/' is one character, as everywhere in game paths:
// the '/' separates nothing. Since no host name can hold a '/', such a path
// names no host file: the result is empty, which every host call refuses.

#include <string>

std::string HostPathFromGamePath(const char* gamePath);

// The host path's text as a game path (UTF-8 to CP932); separators stay '/'.
std::string GamePathFromHostPath(const std::string& hostPath);
