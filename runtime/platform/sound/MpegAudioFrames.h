#pragma once
// MPEG audio frame headers and the walk over the frames of a file.

#include <cstdint>

struct MpegFrameHeader {
  int mpeg1 = 0;        // 1: MPEG-1; 0: MPEG-2 (lower sample rates)
  int layer = 0;        // 1 to 3
  int bitRateKbps = 0;
  int sampleRate = 0;
  int padding = 0;
  int channels = 0;
  int frameBytes = 0;
  int samples = 0;      // sample frames per frame
};

// -2 when b0 is not 0xFF or b1 is below 0xF0, -1 for a field out of range, else 0.
int ParseMpegFrameHeader(const unsigned char b[4], MpegFrameHeader* header);
