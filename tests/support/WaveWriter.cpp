#include "tests/support/WaveWriter.h"

#include <cmath>
#include <cstring>

#include "runtime/LittleEndian.h"
#include "tests/support/ByteWriter.h"

std::string BuildRiffWave(const std::vector<WaveChunk>& chunks) {
  ByteWriter body;
  body.Raw("WAVE");
  for (const WaveChunk& c : chunks) {
    body.Raw(c.id).I32(static_cast<int32_t>(c.body.size())).Raw(c.body);
    if (c.body.size() & 1) body.U8(0);
  }
  ByteWriter file;
  file.Raw("RIFF").I32(body.Size()).Raw(body.Bytes());
  return file.Bytes();
}

std::string WaveFile(const std::string& fmt, const std::string& data) {
  return BuildRiffWave({{"fmt ", fmt}, {"data", data}});
}

std::string FormatChunk(const WaveFormat& format, std::string_view extra) {
  WaveFormat f = format;
  f.extraSize = static_cast<uint16_t>(extra.size());
  unsigned char bytes[kWaveFormatBytes];
  WaveFormatToBytes(f, bytes);
  std::string out(reinterpret_cast<const char*>(bytes), kWaveFormatBytes);
  out.append(extra);
  return out;
}

std::string PcmFormatChunk(uint16_t channels, uint32_t rate, uint16_t bits) {
  return FormatChunk(PcmWaveFormat(channels, rate, bits)).substr(0, 16);
}

std::string ExtensiblePcmFormatChunk(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormat f = PcmWaveFormat(channels, rate, bits);
  f.formatTag = kWaveFormatExtensible;
  ByteWriter extra;
  extra.U16(bits).I32(channels == 1 ? 4 : 3);
  // The PCM sub-format identifier.
  extra.Raw(std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16));
  return FormatChunk(f, extra.Bytes());
}

std::string PcmBytes(const std::vector<int16_t>& samples) {
  std::string out(samples.size() * 2, '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  for (size_t i = 0; i < samples.size(); ++i) WriteLe16(bytes + 2 * i, static_cast<uint16_t>(samples[i]));
  return out;
}

std::vector<int16_t> SamplesOf(std::string_view bytes) {
  std::vector<int16_t> out(bytes.size() / 2);
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int16_t>(ReadLe16(p + 2 * i));
  return out;
}

std::vector<int16_t> SineSamples(uint32_t frames, int channels, uint32_t rate, double hz, double amplitude) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * channels);
  for (uint32_t f = 0; f < frames; ++f) {
    for (int c = 0; c < channels; ++c) {
      const double phase = 2 * M_PI * (hz * f / rate + c / 4.0);
      out[static_cast<size_t>(f) * channels + c] = static_cast<int16_t>(std::lround(amplitude * std::sin(phase)));
    }
  }
  return out;
}

std::vector<int16_t> CountingSamples(uint32_t frames, int channels) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * channels);
  for (uint32_t f = 0; f < frames; ++f) {
    const int16_t v = static_cast<int16_t>(f % 32768);
    out[static_cast<size_t>(f) * channels] = v;
    if (channels == 2) out[static_cast<size_t>(f) * 2 + 1] = static_cast<int16_t>(-v);
  }
  return out;
}
