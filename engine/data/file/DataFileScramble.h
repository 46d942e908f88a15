#pragma once
// The scrambling and one-byte checksum shared by every data file and save
// file. Each pass XORs a byte stream drawn from the C run-time generator
// seeded with one seed byte, so applying the same passes again restores the
// bytes.

#include <cstddef>
#include <cstdint>
#include <string>

enum DataFileScrambleMode : int {
  kScrambleMakeChecksum = -3,  // any mode below 0: checksum of the plain bytes, then scramble
  kScrambleOnly = 0,
  kScrambleTestChecksum = 3,   // any mode above 0: scramble, then test the checksum
};

// Scrambles or unscrambles bytes[0 .. count) with up to three seeds (the
// strides of the passes are 1, 2 and 5 bytes) and makes or tests the check
// byte. A seed count of 0 only does the checksum work. When the seed count is 1
// or more and every seed is 0, nothing is done at all. A failed test shows
// the damage message naming fileName on the error screen and ends the
// process with exit code 1.
void DataFileScramble(const std::string& fileName, uint8_t* bytes, size_t count, int seedCount,
                      const uint8_t* seeds, int mode, uint8_t& checkByte);

// Sum of the bytes modulo 256.
uint8_t DataFileChecksum(const uint8_t* bytes, size_t count);
