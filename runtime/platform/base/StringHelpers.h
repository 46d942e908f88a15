#pragma once
// The layer's own string operations. Every scan treats a two-byte Shift-JIS
// character as one unit, so a search byte never matches its second half and
// case conversion never touches it.
//
// Copies are bounded: they cut the text at a character boundary rather than
// run past the destination.

#include <cstddef>

// Copies the source with its NUL; at most size - 1 bytes of text. Returns the
// length copied.
size_t StrCopy(char* destination, size_t size, const char* source);

// Appends the source to the destination's text, bounded by size as above.
// Returns the new length.
size_t StrAppend(char* destination, size_t size, const char* source);

// First occurrence of a single-byte character, or null.
const char* StrFindChar(const char* text, char c);
char* StrFindChar(char* text, char c);

// 0 when the texts are equal byte for byte, else 1.
int StrDiffers(const char* a, const char* b);

// Raises a-z to A-Z in place.
void StrUpper(char* text);
