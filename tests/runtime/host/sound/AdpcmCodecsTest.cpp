// The converters of compressed WAV data: known answers for the codecs, and
// the converter's handling of blocks.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/host/sound/AdpcmCodecs.h"
#include "runtime/host/sound/AudioConverter.h"
#include "tests/support/AdpcmEncoder.h"
#include "tests/support/WaveWriter.h"

namespace {

TEST(ImaAdpcm, DecodesAHandMadeBlock) {
  // Mono: first sample 100, step index 0, then nibbles 7, 8+7, 0, 3 ...
  const unsigned char block[] = {100, 0, 0, 0, 0xF7, 0x30, 0x00, 0x00};
  int16_t out[9];
  ASSERT_EQ(DecodeImaAdpcmBlock(block, sizeof block, 1, out, 9), 9u);
  // 7: step 7 gives 0 + 1 + 3 + 7 = 11; index 0 + 8 = 8 (step 16).
  // 15: 2 + 4 + 8 + 16 = 30 down; index 16 (step 34).
  // 0: 34 >> 3 = 4 up; index 15 (step 31).
  // 3: 3 + 7 + 15 = 25 up; index 14 (step 28).
  const int16_t expected[] = {100, 111, 81, 85, 110};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], expected[i]) << i;
  EXPECT_EQ(ImaAdpcmBlockFrames(2048, 2), 2041u);
  EXPECT_EQ(ImaAdpcmBlockFrames(7, 2), 0u);
}

TEST(MsAdpcm, DecodesAHandMadeBlock) {
  // Mono, predictor 1 (512, -256), delta 16, first samples 20 then 10.
  const unsigned char block[] = {1, 16, 0, 20, 0, 10, 0, 0x1F};
  int16_t out[4];
  ASSERT_EQ(DecodeMsAdpcmBlock(block, sizeof block, 1, kMsAdpcmStandardCoefs, 7, out, 4), 4u);
  EXPECT_EQ(out[0], 10);
  EXPECT_EQ(out[1], 20);
  // (20 * 512 - 10 * 256) >> 8 = 30, + 1 * 16 = 46; delta 230 * 16 >> 8 = 14 -> 16.
  EXPECT_EQ(out[2], 46);
  // (46 * 512 - 20 * 256) >> 8 = 72, - 1 * 16 = 56.
  EXPECT_EQ(out[3], 56);
}

TEST(MsAdpcm, FullScaleSamplesAndCoefficientsFromTheFileDoNotOverflow) {
  // Predictor 0 of the file's own table (-32768, -32768), both first samples -32768.
  const int16_t coefs[1][2] = {{-32768, -32768}};
  const unsigned char block[] = {0, 16, 0, 0x00, 0x80, 0x00, 0x80, 0x00};
  int16_t out[4];
  ASSERT_EQ(DecodeMsAdpcmBlock(block, sizeof block, 1, coefs, 1, out, 4), 4u);
  // 2 * 2^30 >> 8 = 2^23, clamped.
  EXPECT_EQ(out[2], 32767);
  // (32767 - 32768) * -32768 >> 8 = 128.
  EXPECT_EQ(out[3], 128);
}

TEST(G711, DecodesKnownCodes) {
  EXPECT_EQ(MuLawToLinear(0xFF), 0);
  EXPECT_EQ(MuLawToLinear(0x80), 32124);
  EXPECT_EQ(MuLawToLinear(0x00), -32124);
  EXPECT_EQ(ALawToLinear(0xD5), 8);
  EXPECT_EQ(ALawToLinear(0x55), -8);
  EXPECT_EQ(ALawToLinear(0xAA), 32256);
  EXPECT_EQ(ALawToLinear(0x2A), -32256);
  for (int v = -32768; v <= 32767; v += 97) {
    const int16_t s = static_cast<int16_t>(v);
    EXPECT_NEAR(MuLawToLinear(LinearToMuLaw(s)), v, 1024) << v;
    EXPECT_NEAR(ALawToLinear(LinearToALaw(s)), v, 1024) << v;
  }
}

// Converts a whole data chunk in the given chunk sizes.
std::vector<int16_t> ConvertAll(const EncodedSound& e, size_t chunk, size_t room) {
  const auto* format = reinterpret_cast<const unsigned char*>(e.fmt.data());
  WaveFormat pcm;
  EXPECT_TRUE(HostConverterSuggestPcm(format, e.fmt.size(), &pcm));
  HostAudioConverter* c = HostConverterOpen(format, e.fmt.size(), pcm);
  EXPECT_NE(c, nullptr);
  std::vector<unsigned char> out(room);
  std::vector<int16_t> all;
  size_t at = 0;
  for (;;) {
    size_t used = 0, made = 0;
    const size_t n = std::min(chunk, e.data.size() - at);
    EXPECT_TRUE(HostConverterConvert(c, reinterpret_cast<const unsigned char*>(e.data.data()) + at, n, out.data(),
                                     out.size(), &used, &made));
    const size_t was = all.size();
    all.resize(was + made / 2);
    std::memcpy(all.data() + was, out.data(), made);
    at += used;
    if (made == 0) break;
  }
  HostConverterClose(c);
  return all;
}

TEST(AudioConverter, TakesWholeBlocksThatFitAndNothingOfAShortLastBlock) {
  const std::vector<int16_t> sine = SineSamples(3000, 2, 22050, 440, 12000);
  EncodedSound ima = EncodeImaAdpcm(sine, 2, 22050, 512);  // 505 frames a block
  EncodedSound ms = EncodeMsAdpcm(sine, 2, 22050, 512);
  // Data that ends inside a block: the whole blocks convert, the short one
  // gives no samples.
  for (EncodedSound* sound : {&ima, &ms}) {
    const uint32_t framesPerBlock = sound == &ima ? ImaAdpcmBlockFrames(512, 2) : MsAdpcmBlockFrames(512, 2);
    sound->data.resize(sound->data.size() - 100);
    const size_t expectedFrames = framesPerBlock * (sound->data.size() / 512);
    for (size_t room : {size_t{2020}, size_t{65536}}) {
      const std::vector<int16_t> out = ConvertAll(*sound, 2048, room);
      ASSERT_EQ(out.size(), expectedFrames * 2) << room;
      EXPECT_TRUE(std::equal(out.begin(), out.end(), sound->decoded.begin())) << room;
    }
  }
}

TEST(AudioConverter, RefusesWhatItCannotConvert) {
  WaveFormat pcm;
  const std::string ieee = FormatChunk([] {
    WaveFormat f = PcmWaveFormat(2, 44100, 32);
    f.formatTag = kWaveFormatIeeeFloat;
    return f;
  }());
  std::string wrongSubFormat = ExtensiblePcmFormatChunk(2, 44100, 16);
  wrongSubFormat[24] = 3;
  WaveFormat badIma = PcmWaveFormat(2, 22050, 4);
  badIma.formatTag = kWaveFormatImaAdpcm;
  badIma.blockAlign = 510;  // not whole 4-byte words per channel
  const std::string badImaChunk = FormatChunk(badIma, std::string("\x01\x00", 2));
  for (const std::string* f : {&ieee, static_cast<const std::string*>(&wrongSubFormat), &badImaChunk}) {
    EXPECT_FALSE(HostConverterSuggestPcm(reinterpret_cast<const unsigned char*>(f->data()), f->size(), &pcm));
  }
  const std::string extensible = ExtensiblePcmFormatChunk(2, 48000, 24);
  ASSERT_TRUE(HostConverterSuggestPcm(reinterpret_cast<const unsigned char*>(extensible.data()), extensible.size(), &pcm));
  EXPECT_EQ(pcm, PcmWaveFormat(2, 48000, 24));
}

}  // namespace
