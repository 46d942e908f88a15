#pragma once
// The frame shared by the data and save files: a header of a few bytes that
// carries up to three seed bytes and the checksum byte, then the body, which
// is scrambled from the end of the header to the end of the file. Header
// bytes 6 and 8 travel with the checksum byte in the format but are never
// compared, so they are not kept.

#include <cstdint>
#include <string>

#include "engine/data/file/ByteCursor.h"

struct DataFileFrame {
  int32_t headerSize = 0;
  uint8_t seeds[3] = {};
  uint8_t checkByte = 0;

  // All seeds 0: the body is plain and no checksum is tested.
  bool Plain() const { return seeds[0] == 0 && seeds[1] == 0 && seeds[2] == 0; }
};

// Where the seeds lie in the header, in the order of the passes.
struct DataFileSeedOffsets {
  int offsets[3];
};
inline constexpr DataFileSeedOffsets kDataFileSeeds{{0, 3, 9}};
inline constexpr DataFileSeedOffsets kGameDataSeeds{{0, 8, 6}};  // "Game.dat"

// Takes the seeds and the check byte (offset 2) from the header,
// unscrambles the rest of the buffer in place and moves the position past the
// header (headerSize is 10 or more). False (and overrun) when the file is
// shorter than its header.
bool OpenDataFileFrame(ByteCursor& file, int32_t headerSize, const DataFileSeedOffsets& seedOffsets,
                       DataFileFrame& frame);

// After the last field of a scrambled body: tests the checksum of the bytes
// from the end of the header up to the position; a mismatch shows the damage
// message naming fileName and ends the process.
void TestDataFileChecksum(const std::string& fileName, ByteCursor& file, DataFileFrame& frame);
