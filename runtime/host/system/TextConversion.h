#pragma once
// Conversion between the system's Shift-JIS (CP932) text and UTF-8, done only
// at the edges: window title, file names on disk, message boxes, glyphs.

#include <string>
#include <string_view>

// Bytes that do not convert are replaced by '?' so that a damaged name still
// gives a usable string.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);
