#pragma once
// Block decoders of the two ADPCM formats of WAV files and the G.711
// companding tables: 16-bit PCM out, channels interleaved.

#include <cstddef>
#include <cstdint>

// IMA (DVI) ADPCM: per channel a 4-byte header (first sample, step index),
// then words of 4 bytes per channel in turn, 8 samples each, low nibble first.
extern const int16_t kImaStepTable[89];
extern const int8_t kImaIndexTable[16];
// Frames a block of size bytes holds (0 when it is shorter than its header).
uint32_t ImaAdpcmBlockFrames(size_t size, int channels);
// Decodes at most maxFrames of the block; returns the frames written.
uint32_t DecodeImaAdpcmBlock(const unsigned char* block, size_t size, int channels, int16_t* out,
                             uint32_t maxFrames);

// Microsoft ADPCM: per channel a predictor index, a delta and two first
// samples, then one nibble per sample (high nibble first; in stereo the high
// nibble is the left channel).
extern const int16_t kMsAdpcmStandardCoefs[7][2];
extern const int16_t kMsAdpcmAdaptTable[16];
uint32_t MsAdpcmBlockFrames(size_t size, int channels);
// coefs: coefCount pairs.
uint32_t DecodeMsAdpcmBlock(const unsigned char* block, size_t size, int channels, const int16_t (*coefs)[2],
                            int coefCount, int16_t* out, uint32_t maxFrames);

int16_t ALawToLinear(uint8_t code);
int16_t MuLawToLinear(uint8_t code);
