#pragma once
// The one Shift-JIS (code page 932) byte classification used by the whole
// program, layer and engine alike, and the scans built on it: stepping,
// letter case, cutting, and the walk through game paths. Every scan that
// must not match inside a two-byte character asks these.

#include <cstddef>
#include <cstdint>

// A lead byte starts a two-byte character.
constexpr bool IsShiftJisLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that may follow a lead byte as the second half of a character.
constexpr bool IsShiftJisTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Length of the character starting at text[0]: 2 for a lead byte followed by
// a non-NUL byte, else 1 (0 at the terminating NUL). Scans step with this so
// that a lone lead byte at the end of a string never walks past its NUL.
inline int ShiftJisCharLength(const char* text) {
  const uint8_t b = static_cast<uint8_t>(text[0]);
  if (b == 0) return 0;
  if (IsShiftJisLeadByte(b) && text[1] != '\0') return 2;
  return 1;
}

// The same in a text of `left` bytes that need not end in a NUL (any byte may
// be a second half): 2 for a lead byte with a byte after it, 1 for any other
// byte and for a lead byte in the last place, 0 when nothing is left.
constexpr int ShiftJisCharLengthIn(const char* text, size_t left) {
  if (left == 0) return 0;
  return IsShiftJisLeadByte(static_cast<uint8_t>(text[0])) && left >= 2 ? 2 : 1;
}

// Raises the letters a-z that stand as characters of their own to A-Z, in a
// text of `length` bytes; two-byte characters stay as they are.
inline void ShiftJisUpper(char* text, size_t length) {
  for (size_t i = 0; i < length;) {
    const int n = ShiftJisCharLengthIn(text + i, length - i);
    if (n == 1 && text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
    i += static_cast<size_t>(n);
  }
}

// Longest prefix of text[0, length) that ends on a character boundary: a
// lead byte in the last place, whose second half is cut off, goes too.
inline size_t ShiftJisCutLength(const char* text, size_t length) {
  size_t i = 0;
  while (i < length) {
    const int n = ShiftJisCharLengthIn(text + i, length - i);
    if (n == 1 && IsShiftJisLeadByte(static_cast<uint8_t>(text[i]))) break;
    i += static_cast<size_t>(n);
  }
  return i;
}

// The first place at or after `from` (a character start) where pattern
// [0, patternLength) stands in text [0, length), starting on a character
// start, never on the second half of a two-byte character; length when there
// is none or the pattern is empty.
inline size_t ShiftJisFind(const char* text, size_t length, const char* pattern, size_t patternLength,
                           size_t from = 0) {
  if (patternLength == 0) return length;
  for (size_t i = from; i < length && length - i >= patternLength;) {
    size_t k = 0;
    while (k < patternLength && text[i + k] == pattern[k]) ++k;
    if (k == patternLength) return i;
    i += static_cast<size_t>(ShiftJisCharLengthIn(text + i, length - i));
  }
  return length;
}

// ---- Game paths ----
// '\' and '/' both separate the elements of a game path; a separator counts
// only where it stands as a character of its own, never as the second half
// of a two-byte character. The scans step through the path from its start,
// so they only look at a byte where a character starts.

constexpr bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// The end of the element that starts at p: its first separator, or the NUL.
inline const char* PathElementEnd(const char* p) {
  while (*p && !IsPathSeparator(*p)) p += ShiftJisCharLength(p);
  return p;
}

// The last separator of a path, or null.
inline const char* LastPathSeparator(const char* path) {
  const char* last = nullptr;
  for (const char* p = path; *p;) {
    const char* end = PathElementEnd(p);
    if (!*end) break;
    last = end;
    p = end + 1;
  }
  return last;
}

inline bool EndsWithSeparator(const char* path) {
  const char* last = LastPathSeparator(path);
  return last && last[1] == '\0';
}

// The length of a path text (length bytes, no NUL needed) without its last
// element and the separator before it; never less than keep (a drive, say).
inline size_t DropLastPathElement(const char* text, size_t length, size_t keep) {
  size_t cut = keep;
  for (size_t i = keep; i < length; i += static_cast<size_t>(ShiftJisCharLengthIn(text + i, length - i))) {
    if (IsPathSeparator(text[i])) cut = i;
  }
  return cut;
}

// A path (or a search pattern, "dir\\*.png") split at its last separator:
// the folder is path[0, folderLength) with that separator, 0 bytes when
// there is none; the name is what follows.
struct PathSplit {
  size_t folderLength;
  const char* name;

  // The folder without its separator, but for the root's, which is all it has.
  size_t FolderLengthWithoutSeparator() const { return folderLength > 1 ? folderLength - 1 : folderLength; }
};
inline PathSplit SplitAtLastSeparator(const char* path) {
  const char* last = LastPathSeparator(path);
  if (!last) return {0, path};
  return {static_cast<size_t>(last - path) + 1, last + 1};
}

// "C:" and the like. The host has no drives; game paths may still name one.
constexpr bool HasDriveLetter(const char* path) {
  return ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':';
}
