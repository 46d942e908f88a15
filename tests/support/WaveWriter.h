#pragma once
// WAV files for the sound tests: fmt chunks of each format, RIFF files from
// chunks in any order, and the PCM samples that go in them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/host/sound/WaveFormat.h"

struct WaveChunk {
  std::string id;  // four characters
  std::string body;
};

// "RIFF", the size, "WAVE", then the chunks as given, each padded to even.
std::string BuildRiffWave(const std::vector<WaveChunk>& chunks);
// A plain file: fmt, then data.
std::string WaveFile(const std::string& fmt, const std::string& data);

// The 18 bytes of a format, its extra size set to extra's length, then extra.
std::string FormatChunk(const WaveFormat& format, std::string_view extra = {});
// A PCM fmt chunk of 16 bytes, as most files have it.
std::string PcmFormatChunk(uint16_t channels, uint32_t rate, uint16_t bits);
// The extensible format with the PCM sub-format.
std::string ExtensiblePcmFormatChunk(uint16_t channels, uint32_t rate, uint16_t bits);

// Interleaved 16-bit samples as little-endian bytes, and back.
std::string PcmBytes(const std::vector<int16_t>& samples);
std::vector<int16_t> SamplesOf(std::string_view bytes);

// A sine of the given frequency in every channel (channel c shifted by c/4
// of a period), at amplitude.
std::vector<int16_t> SineSamples(uint32_t frames, int channels, uint32_t rate, double hz, double amplitude);
// Frame f carries f mod 32768 on the left and its negation on the right, so
// that any place in the stream names itself.
std::vector<int16_t> CountingSamples(uint32_t frames, int channels);
