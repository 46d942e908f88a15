// The sound decoder over generated files of every kind: lengths, samples,
// seeks, and malformed files refused.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/host/sound/AdpcmCodecs.h"
#include "runtime/platform/sound/MpegAudioFrames.h"
#include "runtime/platform/sound/SoundDecoder.h"
#include "runtime/platform/sound/SoundFileImage.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/support/AdpcmEncoder.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/MpegFixture.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"

namespace {

// A decoder over a memory image that it keeps alive.
class Decoded {
 public:
  explicit Decoded(std::string bytes) : bytes_(std::move(bytes)) {
    stream_ = MemStreamOpen(bytes_.data(), static_cast<uint32_t>(bytes_.size()));
    opened_ = OpenSoundDecoder(GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(stream_), &decoder_) == 0;
  }
  ~Decoded() {
    if (opened_) CloseSoundDecoder(&decoder_);
    MemStreamClose(reinterpret_cast<StreamHandle>(stream_));
  }
  bool Opened() const { return opened_; }
  SoundDecoder* Get() { return &decoder_; }

  // Reads in pieces of the given size to the end.
  std::vector<int16_t> ReadAll(uint32_t piece = 3000) {
    std::vector<int16_t> out;
    std::vector<unsigned char> buffer(piece);
    int64_t got;
    while ((got = ReadSoundDecoder(&decoder_, buffer.data(), piece)) > 0) {
      const size_t at = out.size();
      out.resize(at + static_cast<size_t>(got) / 2);
      std::memcpy(out.data() + at, buffer.data(), static_cast<size_t>(got));
    }
    return out;
  }

  std::vector<int16_t> Whole() {
    unsigned char* pcm = nullptr;
    uint32_t size = 0;
    WaveFormat format;
    std::vector<int16_t> out;
    if (DecodeWholeSound(&decoder_, &pcm, &size, &format) != 0) return out;
    out.resize(size / 2);
    if (size) std::memcpy(out.data(), pcm, size);
    TrackedFree(pcm);
    return out;
  }

 private:
  std::string bytes_;
  MemStream* stream_;
  SoundDecoder decoder_;
  bool opened_;
};

class SoundDecoderTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(TrackedBlockCount(), 0) << "blocks left behind"; }
};

std::vector<int16_t> Slice(const std::vector<int16_t>& v, size_t from, size_t count) {
  return std::vector<int16_t>(v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(from + count));
}

TEST_F(SoundDecoderTest, PcmWaveWithChunksInAnyPlaceAfterFmt) {
  const std::vector<int16_t> samples = CountingSamples(5000, 2);
  const std::string data = PcmBytes(samples);
  const std::string fmt = PcmFormatChunk(2, 22050, 16);
  const std::vector<std::vector<WaveChunk>> layouts = {
      {{"fmt ", fmt}, {"data", data}},
      {{"fmt ", fmt}, {"LIST", std::string(7, 'x')}, {"fact", "abcd"}, {"data", data}, {"junk", "z"}},
      {{"fmt ", FormatChunk(PcmWaveFormat(2, 22050, 16))}, {"odd ", "123"}, {"data", data}},
  };
  for (const auto& layout : layouts) {
    Decoded d(BuildRiffWave(layout));
    ASSERT_TRUE(d.Opened());
    EXPECT_EQ(d.Get()->type, kSoundSourcePcm);
    EXPECT_EQ(GetSoundDecoderFormat(d.Get()), PcmWaveFormat(2, 22050, 16));
    EXPECT_EQ(GetSoundDecoderPcmSize(d.Get()), data.size());
    EXPECT_EQ(d.ReadAll(), samples);
    EXPECT_EQ(ReadSoundDecoder(d.Get(), nullptr, 0), 0);
  }
}

TEST_F(SoundDecoderTest, AChunkBeforeFmtIsRefused) {
  Decoded d(BuildRiffWave({{"LIST", "abcd"}, {"fmt ", PcmFormatChunk(1, 8000, 16)}, {"data", "\1\2"}}));
  EXPECT_FALSE(d.Opened());
}

TEST_F(SoundDecoderTest, ShortFmtChunkTakesItsBitsFromTheBlockAlignment) {
  std::string fmt = PcmFormatChunk(2, 11025, 8);
  fmt[14] = 16;  // bits per sample says 16; 2 channels in 2 bytes are 8 bits
  Decoded d(WaveFile(fmt, std::string(100, '\x80')));
  ASSERT_TRUE(d.Opened());
  EXPECT_EQ(GetSoundDecoderFormat(d.Get()).bitsPerSample, 8);
}

TEST_F(SoundDecoderTest, HeaderFaultsAreRefusedAndDataIsClampedToTheStream) {
  const std::string good = WaveFile(PcmFormatChunk(1, 8000, 16), PcmBytes(CountingSamples(100, 1)));
  // Offsets in the fmt chunk: channels 22, rate 24, bytes per second 28, alignment 32.
  for (size_t offset : {22, 24, 28, 32}) {
    std::string bad = good;
    bad[offset] = 0;
    bad[offset + 1] = 0;
    if (offset == 24 || offset == 28) bad[offset + 2] = bad[offset + 3] = 0;
    Decoded d(bad);
    EXPECT_FALSE(d.Opened()) << offset;
  }
  // A data chunk that claims more than there is ends where the file ends.
  std::string longer = good;
  PatchI32(longer, 40, 1000000);
  Decoded d(longer);
  ASSERT_TRUE(d.Opened());
  EXPECT_EQ(GetSoundDecoderPcmSize(d.Get()), 200u);
  EXPECT_EQ(d.ReadAll().size(), 100u);
  // An odd data size keeps whole sample frames.
  Decoded odd(WaveFile(PcmFormatChunk(1, 8000, 16), std::string(7, '\0')));
  ASSERT_TRUE(odd.Opened());
  EXPECT_EQ(GetSoundDecoderPcmSize(odd.Get()), 6u);
  // Cut inside the data chunk's header: no data chunk at all.
  Decoded cut(good.substr(0, 40));
  EXPECT_FALSE(cut.Opened());
  // No data: opens, reads nothing.
  Decoded empty(WaveFile(PcmFormatChunk(1, 8000, 16), ""));
  ASSERT_TRUE(empty.Opened());
  EXPECT_TRUE(empty.ReadAll().empty());
  EXPECT_TRUE(empty.Whole().empty());
}

TEST_F(SoundDecoderTest, ExtensiblePcmIsConverted) {
  const std::vector<int16_t> samples = CountingSamples(3000, 2);
  Decoded d(WaveFile(ExtensiblePcmFormatChunk(2, 44100, 16), PcmBytes(samples)));
  ASSERT_TRUE(d.Opened());
  EXPECT_EQ(d.Get()->type, kSoundSourceConverted);
  EXPECT_EQ(GetSoundDecoderFormat(d.Get()), PcmWaveFormat(2, 44100, 16));
  EXPECT_EQ(d.Whole(), samples);
}

struct CompressedCase {
  const char* name;
  EncodedSound (*encode)(const std::vector<int16_t>&, int);
};

const CompressedCase kCompressed[] = {
    {"IMA mono", [](const std::vector<int16_t>& s, int c) { return EncodeImaAdpcm(s, c, 22050, 256); }},
    {"IMA stereo", [](const std::vector<int16_t>& s, int c) { return EncodeImaAdpcm(s, c, 22050, 2048); }},
    {"MS mono", [](const std::vector<int16_t>& s, int c) { return EncodeMsAdpcm(s, c, 22050, 256); }},
    {"MS stereo", [](const std::vector<int16_t>& s, int c) { return EncodeMsAdpcm(s, c, 22050, 1024); }},
};

TEST_F(SoundDecoderTest, AdpcmDecodesToWhatTheEncoderReconstructed) {
  for (const CompressedCase& c : kCompressed) {
    for (int channels : {1, 2}) {
      if ((channels == 2) != (std::string(c.name).find("stereo") != std::string::npos)) continue;
      const std::vector<int16_t> sine = SineSamples(30000, channels, 22050, 330, 15000);
      const EncodedSound e = c.encode(sine, channels);
      Decoded d(WaveFile(e.fmt, e.data));
      ASSERT_TRUE(d.Opened()) << c.name;
      EXPECT_EQ(d.Get()->type, kSoundSourceConverted);
      EXPECT_EQ(GetSoundDecoderFormat(d.Get()), PcmWaveFormat(static_cast<uint16_t>(channels), 22050, 16));
      EXPECT_GE(GetSoundDecoderPcmSize(d.Get()), e.decoded.size() * 2) << c.name;
      const std::vector<int16_t> whole = d.Whole();
      ASSERT_EQ(whole.size(), e.decoded.size()) << c.name;
      EXPECT_EQ(whole, e.decoded) << c.name;
      // Close to the signal it encodes.
      double error = 0;
      for (size_t i = 0; i < sine.size(); ++i) error += std::abs(whole[i] - sine[i]);
      EXPECT_LT(error / sine.size(), 600) << c.name;
    }
  }
}

TEST_F(SoundDecoderTest, AdpcmDataEndingInsideABlockGivesItsWholeBlocksOnly) {
  for (const CompressedCase& c : kCompressed) {
    const int channels = std::string(c.name).find("stereo") != std::string::npos ? 2 : 1;
    const std::vector<int16_t> sine = SineSamples(6000, channels, 22050, 330, 15000);
    EncodedSound e = c.encode(sine, channels);
    const WaveFormat source = WaveFormatFromBytes(reinterpret_cast<const unsigned char*>(e.fmt.data()), e.fmt.size());
    const size_t wholeBlocks = e.data.size() / source.blockAlign - 1;
    const size_t framesPerBlock = e.decoded.size() / channels / (e.data.size() / source.blockAlign);
    e.data.resize(e.data.size() - 40);
    const std::vector<int16_t> expected(e.decoded.begin(),
                                        e.decoded.begin() + static_cast<ptrdiff_t>(wholeBlocks * framesPerBlock * channels));
    Decoded whole(WaveFile(e.fmt, e.data));
    ASSERT_TRUE(whole.Opened()) << c.name;
    EXPECT_EQ(whole.Whole(), expected) << c.name;
    Decoded pieces(WaveFile(e.fmt, e.data));
    EXPECT_EQ(pieces.ReadAll(), expected) << c.name;
  }
}

TEST_F(SoundDecoderTest, G711DecodesThroughItsTables) {
  const std::vector<int16_t> sine = SineSamples(8000, 1, 8000, 440, 20000);
  for (bool aLaw : {true, false}) {
    const EncodedSound e = EncodeG711(sine, 1, 8000, aLaw);
    Decoded d(WaveFile(e.fmt, e.data));
    ASSERT_TRUE(d.Opened());
    const std::vector<int16_t> whole = d.Whole();
    ASSERT_EQ(whole.size(), sine.size());
    for (size_t i = 0; i < whole.size(); ++i) {
      const uint8_t code = static_cast<uint8_t>(e.data[i]);
      ASSERT_EQ(whole[i], aLaw ? ALawToLinear(code) : MuLawToLinear(code)) << i;
    }
  }
}

TEST_F(SoundDecoderTest, SeekingBackGivesTheSamplesOfAFreshDecode) {
  const std::vector<int16_t> sine = SineSamples(44100 * 3, 2, 44100, 500, 12000);
  const EncodedSound ima = EncodeImaAdpcm(sine, 2, 44100, 2048);
  const std::vector<std::string> files = {
      WaveFile(PcmFormatChunk(2, 44100, 16), PcmBytes(sine)),
      WaveFile(ima.fmt, ima.data),
      EncodeOggVorbis(sine, 2, 44100),
      EncodeMp3(sine, 2, 44100, 128),
  };
  for (size_t k = 0; k < files.size(); ++k) {
    Decoded fresh(files[k]);
    ASSERT_TRUE(fresh.Opened()) << k;
    const std::vector<int16_t> all = fresh.ReadAll(4096);
    ASSERT_GT(all.size(), 2u * 100000) << k;
    Decoded d(files[k]);
    d.ReadAll(4096);
    EXPECT_EQ(d.Get()->endFlag, 1);
    for (int64_t sample : {int64_t{70000}, int64_t{30000}, int64_t{5}, int64_t{0}, int64_t{90001}}) {
      ASSERT_EQ(SeekSoundDecoder(d.Get(), sample), 0);
      EXPECT_EQ(d.Get()->endFlag, 0);
      std::vector<int16_t> got(2 * 3000);
      ASSERT_EQ(ReadSoundDecoder(d.Get(), got.data(), 4 * 3000), 4 * 3000) << k << " " << sample;
      EXPECT_EQ(got, Slice(all, static_cast<size_t>(sample) * 2, 2 * 3000)) << k << " " << sample;
    }
    // Without a loop start no checkpoint is made.
    EXPECT_EQ(d.Get()->checkpointConverter, nullptr) << k;
    EXPECT_EQ(d.Get()->checkpointScratch, nullptr) << k;
  }
}

TEST_F(SoundDecoderTest, ASeekOfLessThanSixteenBytesDoesNothing) {
  Decoded d(WaveFile(PcmFormatChunk(1, 8000, 16), PcmBytes(CountingSamples(100, 1))));
  d.ReadAll();
  ASSERT_EQ(d.Get()->endFlag, 1);
  SeekSoundDecoder(d.Get(), 96);  // 192 bytes of 200 read: 8 bytes back
  EXPECT_EQ(d.Get()->endFlag, 1);
  SeekSoundDecoder(d.Get(), 90);
  EXPECT_EQ(d.Get()->endFlag, 0);
  EXPECT_EQ(d.ReadAll(), Slice(CountingSamples(100, 1), 90, 10));
}

TEST_F(SoundDecoderTest, CompressedLoopStartIsReachedFromTheCheckpoint) {
  const std::vector<int16_t> sine = SineSamples(44100 * 4, 2, 44100, 300, 9000);
  const std::string file = EncodeMp3(sine, 2, 44100, 96);
  Decoded fresh(file);
  const std::vector<int16_t> all = fresh.ReadAll(8192);
  Decoded d(file);
  const int64_t loop = 100000;
  EXPECT_EQ(d.Get()->checkpointConverter, nullptr) << "opened when a loop start asks for it";
  d.Get()->checkpointTarget = static_cast<uint64_t>(loop) * 4;
  d.ReadAll(8192);
  EXPECT_NE(d.Get()->checkpointConverter, nullptr);
  // The checkpoint stopped short of the loop start, within 10240 bytes.
  EXPECT_LE(d.Get()->checkpointOutput, static_cast<uint64_t>(loop) * 4);
  EXPECT_GT(d.Get()->checkpointOutput + 10240 + d.Get()->blockSize, static_cast<uint64_t>(loop) * 4);
  SeekSoundDecoder(d.Get(), loop);
  EXPECT_EQ(d.Get()->checkpointOutput, 0u) << "the checkpoint became the main stream";
  std::vector<int16_t> got(2 * 5000);
  ASSERT_EQ(ReadSoundDecoder(d.Get(), got.data(), 4 * 5000), 4 * 5000);
  EXPECT_EQ(got, Slice(all, static_cast<size_t>(loop) * 2, 2 * 5000));
  // Without memory for the checkpoint a jump back converts from the start.
  Decoded starved(file);
  starved.Get()->checkpointTarget = static_cast<uint64_t>(loop) * 4;
  SetTrackedAllocFailureCountdown(0);
  ASSERT_EQ(ReadSoundDecoder(starved.Get(), got.data(), 4 * 5000), 4 * 5000);
  EXPECT_EQ(starved.Get()->checkpointConverter, nullptr);
  SeekSoundDecoder(starved.Get(), 1000);
  ASSERT_EQ(ReadSoundDecoder(starved.Get(), got.data(), 4 * 5000), 4 * 5000);
  EXPECT_EQ(got, Slice(all, 2 * 1000, 2 * 5000));
}

TEST_F(SoundDecoderTest, OggVorbisMatchesVorbisfileAndCountsOneSecondMoreForWholeDecodes) {
  for (int channels : {1, 2}) {
    const std::vector<int16_t> sine = SineSamples(30000, channels, 32000, 440, 10000);
    const std::string file = EncodeOggVorbis(sine, channels, 32000);
    Decoded d(file);
    ASSERT_TRUE(d.Opened());
    EXPECT_EQ(d.Get()->type, kSoundSourceOgg);
    EXPECT_EQ(GetSoundDecoderFormat(d.Get()), PcmWaveFormat(static_cast<uint16_t>(channels), 32000, 16));
    EXPECT_EQ(d.Get()->dataSize, 30000u * channels * 2);
    EXPECT_EQ(GetSoundDecoderPcmSize(d.Get()), (30000u + 44100) * channels * 2);
    const std::vector<int16_t> whole = d.Whole();
    EXPECT_EQ(whole.size(), 30000u * channels);
    EXPECT_EQ(whole, DecodeOggVorbisReference(file));
  }
}

TEST_F(SoundDecoderTest, MpegAudioCountsItsFramesAndMatchesTheLibrary) {
  for (int channels : {1, 2}) {
    const std::vector<int16_t> sine = SineSamples(44100, channels, 44100, 440, 10000);
    const std::string file = EncodeMp3(sine, channels, 44100, 128);
    Decoded d(file);
    ASSERT_TRUE(d.Opened());
    EXPECT_EQ(d.Get()->type, kSoundSourceConverted);
    EXPECT_EQ(GetSoundDecoderFormat(d.Get()), PcmWaveFormat(static_cast<uint16_t>(channels), 44100, 16));
    const std::vector<int16_t> reference = DecodeMpegReference(file);
    EXPECT_EQ(GetSoundDecoderPcmSize(d.Get()), reference.size() * 2);
    EXPECT_EQ(d.Get()->totalSamples % 1152, 0);
    EXPECT_EQ(d.Whole(), reference);
    // Inside a WAV file too.
    WaveFormat f;
    f.formatTag = kWaveFormatMpegLayer3;
    f.channels = static_cast<uint16_t>(channels);
    f.samplesPerSec = 44100;
    f.avgBytesPerSec = 16000;
    f.blockAlign = 1;
    ByteWriter extra;
    extra.U16(1).I32(0).U16(418).U16(1).U16(0);
    Decoded wav(WaveFile(FormatChunk(f, extra.Bytes()), file));
    ASSERT_TRUE(wav.Opened());
    EXPECT_EQ(wav.Whole(), reference);
  }
}

TEST_F(SoundDecoderTest, MpegTagsAreSkipped) {
  const std::string frames = SilentMpegFrames(20, true, 9, 0, false);
  const struct {
    std::string file;
    const char* what;
  } cases[] = {
      {Id3v2Tag(300, 3, false) + frames, "ID3v2 tag"},
      {Id3v2Tag(1000, 4, true) + frames, "version 4 tag with a footer"},
      {frames + Id3v1Tag(), "ID3v1 tag"},
      {Id3v2Tag(200, 4, true) + frames + Id3v1Tag(), "both"},
      {std::string("\x12\x34\xFF\x01") + frames, "junk before the first frame"},
  };
  for (const auto& c : cases) {
    Decoded d(c.file);
    ASSERT_TRUE(d.Opened()) << c.what;
    EXPECT_EQ(d.Get()->totalSamples, 20 * 1152) << c.what;
    EXPECT_EQ(d.Get()->dataSize, frames.size()) << c.what;
    EXPECT_EQ(d.Whole(), std::vector<int16_t>(20 * 1152 * 2, 0)) << c.what;
  }
  // Without the footer rule the footer's bytes would be read as a bad header.
  std::string noFooterFlag = Id3v2Tag(1000, 4, true) + frames;
  noFooterFlag[5] = 0;
  Decoded d(noFooterFlag);
  EXPECT_FALSE(d.Opened());
}

TEST_F(SoundDecoderTest, MpegFrameHeaders) {
  const struct {
    unsigned char b[4];
    int result;
    int frameBytes;
    int samples;
  } cases[] = {
      {{0xFF, 0xFB, 0x90, 0x00}, 0, 417, 1152},   // MPEG-1 layer III 128 kbit/s 44.1 kHz
      {{0xFF, 0xFB, 0x92, 0xC0}, 0, 418, 1152},   // padded, mono
      {{0xFF, 0xF3, 0x80, 0x00}, 0, 208, 576},    // MPEG-2 layer III 64 kbit/s 22.05 kHz
      {{0xFF, 0xFD, 0x80, 0x00}, 0, 417, 1152},   // layer II 128 kbit/s
      {{0xFF, 0xFF, 0x80, 0x00}, 0, 276, 384},    // layer I 256 kbit/s
      {{0xFF, 0xF9, 0x90, 0x00}, -1, 0, 0},       // layer bits 00
      {{0xFF, 0xFB, 0xF0, 0x00}, -1, 0, 0},       // bit-rate index 15
      {{0xFF, 0xFB, 0x9C, 0x00}, -1, 0, 0},       // sample-rate index 3
      {{0xFF, 0xFB, 0x00, 0x00}, -1, 0, 0},       // free format: no length
      {{0xFE, 0xFB, 0x90, 0x00}, -2, 0, 0},
      {{0xFF, 0xE3, 0x90, 0x00}, -2, 0, 0},
  };
  for (const auto& c : cases) {
    MpegFrameHeader h;
    ASSERT_EQ(ParseMpegFrameHeader(c.b, &h), c.result) << std::hex << int(c.b[1]) << int(c.b[2]);
    if (c.result != 0) continue;
    EXPECT_EQ(h.frameBytes, c.frameBytes);
    EXPECT_EQ(h.samples, c.samples);
  }
}

TEST_F(SoundDecoderTest, MalformedFilesAreRefused) {
  std::string zeroLength = SilentMpegFrames(3, true, 9, 0, false);
  zeroLength[2] = 0x00;  // free format in the first frame
  const std::string badHeaderLater = SilentMpegFrames(3, true, 9, 0, false) + std::string("\xFF\xFB\xF0\x00", 4);
  const std::string fakeFrames = std::string("\x00\x01\x02", 3);
  std::string unknownTag = WaveFile(PcmFormatChunk(1, 8000, 16), "abcd");
  unknownTag[20] = 0x42;
  const std::vector<std::string> files = {"", "RIFF", std::string(1000, '\0'), zeroLength, badHeaderLater,
                                          fakeFrames, unknownTag, "OggS" + std::string(100, '\x01')};
  for (size_t i = 0; i < files.size(); ++i) {
    Decoded d(files[i]);
    EXPECT_FALSE(d.Opened()) << i;
  }
}

// A memory stream that cannot be moved to its end.
int SeekNotToTheEnd(StreamHandle stream, int64_t offset, int origin) {
  return origin == 2 ? -1 : MemStreamSeek(stream, offset, origin);
}

TEST_F(SoundDecoderTest, StreamsOfUnknownSizeAreRefused) {
  StreamOps ops = *GetMemoryStreamOps();
  ops.seek = SeekNotToTheEnd;
  const std::string wave = WaveFile(PcmFormatChunk(1, 8000, 16), PcmBytes(CountingSamples(100, 1)));
  const std::string mp3 = SilentMpegFrames(20, true, 9, 0, false);
  for (const std::string* file : {&wave, &mp3}) {
    MemStream* stream = MemStreamOpen(file->data(), static_cast<uint32_t>(file->size()));
    const StreamHandle handle = reinterpret_cast<StreamHandle>(stream);
    SoundDecoder d;
    EXPECT_EQ(OpenSoundDecoder(&ops, handle, &d), -1);
    unsigned char* image = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(ReadWholeStream(&ops, handle, &image, &size), -1);
    EXPECT_EQ(image, nullptr);
    MemStreamClose(handle);
  }
}

TEST_F(SoundDecoderTest, TruncatedCompressedFilesEndCleanly) {
  // Long enough for the Ogg file to keep whole pages of sound.
  const std::vector<int16_t> sine = SineSamples(44100 * 5, 2, 44100, 440, 10000);
  const std::string mp3 = EncodeMp3(sine, 2, 44100, 128);
  const EncodedSound ms = EncodeMsAdpcm(sine, 2, 44100, 2048);
  const std::string ogg = EncodeOggVorbis(sine, 2, 44100);
  const std::vector<std::string> files = {mp3.substr(0, mp3.size() / 2), WaveFile(ms.fmt, ms.data).substr(0, 9000),
                                          ogg.substr(0, ogg.size() * 2 / 3)};
  for (size_t i = 0; i < files.size(); ++i) {
    Decoded d(files[i]);
    ASSERT_TRUE(d.Opened()) << i;
    const std::vector<int16_t> whole = d.Whole();
    EXPECT_GT(whole.size(), 1000u) << i;
    EXPECT_LT(whole.size(), sine.size()) << i;
  }
}

}  // namespace
