#include "tests/support/MpegFixture.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <cstring>

std::string EncodeMp3(const std::vector<int16_t>& samples, int channels, uint32_t rate, int kbps) {
  lame_global_flags* lame = lame_init();
  lame_set_num_channels(lame, channels);
  lame_set_in_samplerate(lame, static_cast<int>(rate));
  lame_set_out_samplerate(lame, static_cast<int>(rate));
  lame_set_brate(lame, kbps);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_bWriteVbrTag(lame, 0);
  lame_set_quality(lame, 7);
  lame_init_params(lame);
  const int frames = static_cast<int>(samples.size() / channels);
  std::vector<unsigned char> buffer(static_cast<size_t>(frames) * 5 / 4 + 7200 * 2);
  std::vector<int16_t> pcm = samples;
  int written;
  if (channels == 2) {
    written = lame_encode_buffer_interleaved(lame, pcm.data(), frames, buffer.data(), static_cast<int>(buffer.size()));
  } else {
    written = lame_encode_buffer(lame, pcm.data(), pcm.data(), frames, buffer.data(), static_cast<int>(buffer.size()));
  }
  std::string out(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(written));
  written = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
  out.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(written));
  lame_close(lame);
  return out;
}

std::string SilentMpegFrames(int count, bool mpeg1, int bitRateIndex, int rateIndex, bool mono) {
  static const int kMpeg1Rates[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kMpeg2Rates[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kSampleRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};
  const int kbps = (mpeg1 ? kMpeg1Rates : kMpeg2Rates)[bitRateIndex];
  const int hz = kSampleRates[mpeg1 ? 1 : 0][rateIndex];
  std::string out;
  for (int i = 0; i < count; ++i) {
    // Padding on odd frames, so that both lengths occur.
    const int padding = i & 1;
    const int length = (mpeg1 ? 144000 : 72000) * kbps / hz + padding;
    std::string frame(static_cast<size_t>(length), '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(mpeg1 ? 0xFB : 0xF3);
    frame[2] = static_cast<char>(bitRateIndex << 4 | rateIndex << 2 | padding << 1);
    frame[3] = static_cast<char>(mono ? 0xC0 : 0x00);
    out += frame;
  }
  return out;
}

std::string Id3v2Tag(uint32_t bodySize, int version, bool footer) {
  std::string tag = "ID3";
  tag += static_cast<char>(version);
  tag += '\0';
  tag += static_cast<char>(footer ? 0x10 : 0);
  for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((bodySize >> shift) & 0x7F);
  // 0xFF 0xFF reads as a header with a bit-rate index of 15: refused.
  tag.append(bodySize, static_cast<char>(0xFF));
  if (footer) {
    tag += "3DI";
    tag.append(7, static_cast<char>(0xFF));
  }
  return tag;
}

std::string Id3v1Tag() {
  std::string tag = "TAG";
  tag.append(125, static_cast<char>(0xFF));
  return tag;
}

std::vector<int16_t> DecodeMpegReference(const std::string& file) {
  mpg123_init();
  int error = 0;
  mpg123_handle* h = mpg123_new(nullptr, &error);
  std::vector<int16_t> out;
  if (!h) return out;
  mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME, 0);
  mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
  mpg123_format_none(h);
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  // The first frame's rate and channels.
  for (long r : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L}) {
    mpg123_format(h, r, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }
  mpg123_open_feed(h);
  mpg123_feed(h, reinterpret_cast<const unsigned char*>(file.data()), file.size());
  unsigned char buffer[16384];
  for (;;) {
    size_t done = 0;
    const int result = mpg123_read(h, buffer, sizeof buffer, &done);
    if (result == MPG123_NEW_FORMAT) {
      mpg123_getformat(h, &rate, &channels, &encoding);
      continue;
    }
    const size_t at = out.size();
    out.resize(at + done / 2);
    if (done) std::memcpy(out.data() + at, buffer, done);
    if (result != MPG123_OK) break;
  }
  mpg123_delete(h);
  return out;
}
