#pragma once
// The key of an archive: every byte of the file, header included, is stored
// XORed with key[file offset mod 12]. The key is made from the game's key
// string, or from a built-in fill when none is set; a second built-in key is
// tried when the first does not unscramble the header.

#include <cstddef>
#include <cstdint>

constexpr size_t kArchiveKeySize = 12;

// The key string, repeated to fill 12 bytes (its first 12 when longer), or
// the built-in fill when it is null or empty; then each byte position gets
// its own fixed transform.
void BuildArchiveKey(const char* keyString, uint8_t key[kArchiveKeySize]);
void SecondArchiveKey(uint8_t key[kArchiveKeySize]);

// XORs count bytes that stand at fileOffset in the archive.
void XorArchiveData(size_t count, void* buffer, uint64_t fileOffset, const uint8_t key[kArchiveKeySize]);
