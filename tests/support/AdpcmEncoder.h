#pragma once
// Encoders of the compressed WAV formats the layer converts itself: each
// gives the fmt chunk, the data chunk and the samples a decoder must
// reconstruct from it (the encoder tracks the decoder's state exactly).

#include <cstdint>
#include <string>
#include <vector>

struct EncodedSound {
  std::string fmt;
  std::string data;
  std::vector<int16_t> decoded;  // interleaved
};

// Whole blocks; the last one is padded with its final sample.
EncodedSound EncodeImaAdpcm(const std::vector<int16_t>& samples, int channels, uint32_t rate, uint16_t blockAlign);
EncodedSound EncodeMsAdpcm(const std::vector<int16_t>& samples, int channels, uint32_t rate, uint16_t blockAlign);
// decoded stays empty: the companding tables decide it.
EncodedSound EncodeG711(const std::vector<int16_t>& samples, int channels, uint32_t rate, bool aLaw);

uint8_t LinearToMuLaw(int16_t sample);
uint8_t LinearToALaw(int16_t sample);
