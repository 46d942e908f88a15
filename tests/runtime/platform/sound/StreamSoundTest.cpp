// Stream sounds under the manual clock: the ring's fill, what comes out,
// loops, ends, several sources and the loaders' refusals.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/sound/StreamSound.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "tests/runtime/platform/sound/SoundFixture.h"
#include "tests/support/MpegFixture.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"

namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kBytesPerSecond = kRate * 4;

std::string CountingWave(uint32_t frames, uint32_t rate = kRate) {
  return WaveFile(PcmFormatChunk(2, rate, 16), PcmBytes(CountingSamples(frames, 2)));
}

// The counting samples of frames [from, from + count).
std::vector<int16_t> Counting(uint32_t from, uint32_t count) {
  std::vector<int16_t> all = CountingSamples(from + count, 2);
  return std::vector<int16_t>(all.begin() + 2 * from, all.end());
}

std::vector<int16_t> Part(const std::vector<int16_t>& v, uint32_t fromFrame, uint32_t frames) {
  return std::vector<int16_t>(v.begin() + 2 * fromFrame, v.begin() + 2 * (fromFrame + frames));
}

class StreamSoundTest : public SoundFixture {
 protected:
  void SetUp() override {
    SoundFixture::SetUp();
    SetSoundLoadMode(2);
  }
  int Load(const std::string& file) { return CreateSoundFromMemory(file.data(), file.size(), 1, -1); }

  // Bytes written ahead of the play cursor.
  static uint32_t Ahead(int handle) {
    const SoundHandle* s = Record(handle);
    const uint32_t cursor = HostSoundGetPosition(s->buffers[0].buffer);
    return (static_cast<uint32_t>(s->writePos) + s->ringSize - cursor) % s->ringSize;
  }
};

TEST_F(StreamSoundTest, TenSecondsPrimeFourAndStayThreeToFourAheadThenDrainAndStop) {
  const uint32_t frames = kRate * 10;
  const int handle = Load(CountingWave(frames));
  ASSERT_GE(handle, 0);
  const SoundHandle* s = Record(handle);
  ASSERT_EQ(s->kind, kSoundStream);
  EXPECT_EQ(s->ringSize, 6 * kBytesPerSecond);
  EXPECT_EQ(s->writePos, static_cast<int32_t>(4 * kBytesPerSecond));
  EXPECT_EQ(s->limit, 0);
  EXPECT_EQ(GetSoundLengthMs(handle), 10000);
  EXPECT_EQ(IsSoundPlaying(handle), 0);

  ASSERT_EQ(StartSound(handle, 1, 1), 0);
  std::vector<int16_t> out;
  // Through the first eight seconds the data keeps three to four seconds ahead.
  for (int pass = 0; pass < 8 * 60; ++pass) {
    const std::vector<int16_t> part = Play(735);
    out.insert(out.end(), part.begin(), part.end());
    const uint32_t ahead = Ahead(handle);
    ASSERT_GE(ahead, 3 * kBytesPerSecond) << pass;
    ASSERT_LE(ahead, 4 * kBytesPerSecond + kBytesPerSecond / 8) << pass;
    ASSERT_LE(GetSoundPlayTime(handle), GetSoundLengthMs(handle));
  }
  EXPECT_NEAR(GetSoundPlayTime(handle), 8000, 20);
  const std::vector<int16_t> rest = Play(kRate * 3);
  out.insert(out.end(), rest.begin(), rest.end());
  // Every frame as it was, then silence; the ring stopped itself.
  EXPECT_EQ(Part(out, 0, frames), Counting(0, frames));
  EXPECT_EQ(Part(out, frames, kRate / 8), std::vector<int16_t>(2 * (kRate / 8), 0));
  EXPECT_EQ(IsSoundPlaying(handle), 0);
  EXPECT_EQ(GetSoundPlayTime(handle), 10000);
  // Started again it plays from the top.
  StartSound(handle, 1, 0);
  EXPECT_EQ(Part(Play(100), 0, 100), Counting(0, 100));
}

TEST_F(StreamSoundTest, LoopStartJumpsBackForEverAndThePlayTimeFollows) {
  const uint32_t frames = kRate * 3;
  const int handle = Load(CountingWave(frames));
  ASSERT_EQ(SetSoundLoopStartMs(1000, handle), 0);
  // Music loops (type 3): a sound already primed to its end starts again.
  ASSERT_EQ(StartSound(handle, 3, 1), 0);
  const std::vector<int16_t> out = Play(kRate * 10);
  EXPECT_EQ(Part(out, 0, frames), Counting(0, frames));
  for (uint32_t lap = 0; lap < 3; ++lap) {
    EXPECT_EQ(Part(out, frames + lap * 2 * kRate, 2 * kRate), Counting(kRate, 2 * kRate)) << lap;
  }
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  // 10 s played: 3 s, then laps of 2 s from 1 s: 1 s into the fourth lap.
  EXPECT_NEAR(GetSoundPlayTime(handle), 2000, 20);
}

TEST_F(StreamSoundTest, ALoopStartOfZeroLoopsFromTheFirstSampleAndOneAtTheEndIsRefused) {
  const int handle = Load(CountingWave(kRate));
  EXPECT_EQ(SetSoundLoopStartMs(1000, handle), 0) << "the result is 0 whatever the samples step says";
  EXPECT_EQ(Record(handle)->sources[0].repeatCount, 0);
  EXPECT_EQ(SetSoundLoopStartSamples(kRate, handle), -1);
  EXPECT_EQ(SetSoundLoopStartSamples(-1, handle), -1);
  ASSERT_EQ(SetSoundLoopStartSamples(0, handle), 0);
  StartSound(handle, 3, 1);
  const std::vector<int16_t> out = Play(kRate * 3);
  EXPECT_EQ(Part(out, 2 * kRate, kRate), Counting(0, kRate));
}

TEST_F(StreamSoundTest, PlayTypeThreeLoopsTheWholeList) {
  const int handle = Load(CountingWave(kRate));
  StartSound(handle, 3, 1);
  const std::vector<int16_t> out = Play(kRate * 5 / 2);
  EXPECT_EQ(Part(out, kRate, kRate), Counting(0, kRate));
  EXPECT_EQ(Part(out, 2 * kRate, kRate / 2), Counting(0, kRate / 2));
  EXPECT_NEAR(GetSoundPlayTime(handle), 500, 20);
}

TEST_F(StreamSoundTest, APlainSoundGivenALoopStartBecomesAStreamUnderItsHandle) {
  SetSoundLoadMode(0);
  const int handle = Load(CountingWave(kRate * 2));
  ASSERT_EQ(Record(handle)->kind, kSoundPlain);
  ASSERT_EQ(SetSoundLoopStartMs(500, handle), 0);
  ASSERT_EQ(Record(handle)->kind, kSoundStream);
  EXPECT_EQ(GetSoundLengthMs(handle), 2000);
  StartSound(handle, 3, 1);
  const std::vector<int16_t> out = Play(kRate * 4);
  EXPECT_EQ(Part(out, 2 * kRate, kRate * 3 / 2), Counting(kRate / 2, kRate * 3 / 2));
}

TEST_F(StreamSoundTest, APlainSoundThatCannotBecomeAStreamLeavesNoMemoryBehind) {
  SetSoundLoadMode(0);
  const std::string file = CountingWave(kRate);
  const int before = TrackedBlockCount();
  bool made = false;
  for (int n = 0; !made && n < 20; ++n) {
    const int handle = Load(file);
    ASSERT_GE(handle, 0);
    SetTrackedAllocFailureCountdown(n);
    made = SetSoundLoopStartSamples(kRate / 2, handle) == 0;
    SetTrackedAllocFailureCountdown(-1);
    if (made) {
      EXPECT_EQ(Record(handle)->kind, kSoundStream);
    }
    DeleteAllSounds(0);
    EXPECT_EQ(TrackedBlockCount(), before) << n;
  }
  EXPECT_TRUE(made);
}

TEST_F(StreamSoundTest, SourcesPlayInTurnAndTheirLimitsAreKept) {
  const int handle = Load(CountingWave(kRate / 2));
  const std::string second = CountingWave(kRate / 4);
  ASSERT_EQ(AddStreamSoundFromMemory(second.data(), static_cast<uint32_t>(second.size()), 0, handle, 2, -1), 0);
  ASSERT_EQ(AddStreamSoundFromMemory(second.data(), static_cast<uint32_t>(second.size()), 1, handle, 2, -1), 0);
  EXPECT_EQ(AddStreamSoundFromMemory(second.data(), static_cast<uint32_t>(second.size()), 0, handle, 2, -1), -1);
  EXPECT_NE(LogText().find("ストリーム風サウンドの制御データ領域がいっぱいです\r\n"), std::string::npos);
  EXPECT_EQ(GetSoundLengthMs(handle), 1000);
  EXPECT_EQ(SetSoundLoopStartMs(100, handle), 0);
  EXPECT_NE(LogText().find("二つ以上の音声ファイルから作成されたサウンドハンドルにループポイントを指定する事は出来ません"),
            std::string::npos);

  const int other = Load(CountingWave(kRate / 2));
  const std::string mono = WaveFile(PcmFormatChunk(1, kRate, 16), PcmBytes(CountingSamples(100, 1)));
  const std::string slower = CountingWave(100, 22050);
  EXPECT_EQ(AddStreamSoundFromMemory(mono.data(), static_cast<uint32_t>(mono.size()), 0, other, 2, -1), -1);
  EXPECT_EQ(AddStreamSoundFromMemory(slower.data(), static_cast<uint32_t>(slower.size()), 0, other, 2, -1), -1);
  EXPECT_NE(LogText().find("フォーマットの違う音声データは同時に使うことは出来ません"), std::string::npos);

  // The list: the first, the second, the third twice (one repeat). The
  // sound was primed with its first source alone: a position primes it anew.
  ASSERT_EQ(SetSoundPlayTime(0, handle), 0);
  StartSound(handle, 1, 1);
  const std::vector<int16_t> out = Play(kRate * 2);
  EXPECT_EQ(Part(out, 0, kRate / 2), Counting(0, kRate / 2));
  for (uint32_t k = 0; k < 3; ++k) {
    EXPECT_EQ(Part(out, kRate / 2 + k * kRate / 4, kRate / 4), Counting(0, kRate / 4)) << k;
  }
  EXPECT_EQ(Part(out, kRate * 5 / 4, 100), std::vector<int16_t>(200, 0));
}

TEST_F(StreamSoundTest, PositionsStopsAndRestarts) {
  const int handle = Load(CountingWave(kRate * 2));
  ASSERT_EQ(SetSoundPlayTime(1500, handle), 0);
  EXPECT_EQ(SetSoundPlayTime(2000, handle), -1);
  StartSound(handle, 1, 0);
  EXPECT_EQ(Part(Play(100), 0, 100), Counting(kRate * 3 / 2, 100));
  EXPECT_NEAR(GetSoundPlayTime(handle), 1502, 2);
  HaltSound(handle);
  EXPECT_EQ(IsSoundPlaying(handle), 0);
  Play(1000);  // stopped: nothing moves
  StartSound(handle, 1, 0);
  EXPECT_EQ(Part(Play(100), 0, 100), Counting(kRate * 3 / 2 + 100, 100));
  StartSound(handle, 1, 1);
  EXPECT_EQ(Part(Play(100), 0, 100), Counting(0, 100));
}

TEST_F(StreamSoundTest, CompressedSourcesStreamAsTheirLibrariesDecode) {
  const std::vector<int16_t> sine = SineSamples(kRate * 6, 2, kRate, 440, 8000);
  const std::vector<std::string> files = {EncodeOggVorbis(sine, 2, kRate), EncodeMp3(sine, 2, kRate, 128)};
  for (size_t k = 0; k < files.size(); ++k) {
    const std::vector<int16_t> reference =
        k == 0 ? DecodeOggVorbisReference(files[k]) : DecodeMpegReference(files[k]);
    const int handle = Load(files[k]);
    ASSERT_GE(handle, 0) << k;
    StartSound(handle, 1, 1);
    const std::vector<int16_t> out = Play(kRate * 5);
    EXPECT_EQ(Part(out, 0, kRate * 5), Part(reference, 0, kRate * 5)) << k;
    DeleteSound(handle, 0);
  }
}

TEST_F(StreamSoundTest, SourcesThatDeliverNothingDoNotHoldThePump) {
  // Empty data, looped.
  const int empty = Load(WaveFile(PcmFormatChunk(2, kRate, 16), ""));
  ASSERT_GE(empty, 0);
  StartSound(empty, 3, 1);
  EXPECT_EQ(Play(kRate), std::vector<int16_t>(2 * kRate, 0));
  // Played once, empty data stops at once.
  StartSound(empty, 1, 1);
  Play(735);
  EXPECT_EQ(IsSoundPlaying(empty), 0);
  // A loop start past the real end: the Ogg length counts a second more.
  const std::vector<int16_t> sine = SineSamples(kRate / 2, 2, kRate, 440, 8000);
  const int ogg = Load(EncodeOggVorbis(sine, 2, kRate));
  ASSERT_EQ(SetSoundLoopStartMs(1000, ogg), 0);
  ASSERT_EQ(Record(ogg)->sources[0].repeatCount, kRepeatForever);
  StartSound(ogg, 3, 1);
  const std::vector<int16_t> out = Play(kRate * 2);
  EXPECT_EQ(Part(out, kRate, kRate / 2), std::vector<int16_t>(kRate, 0));
}

TEST_F(StreamSoundTest, ModeThreeReadsTheOpenFileAndDeletionClosesIt) {
  SetSoundLoadMode(3);
  dir.Write("bgm.wav", CountingWave(kRate));
  const int handle = CreateSoundFromFile("bgm.wav", 1, -1);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 1);
  EXPECT_EQ(Record(handle)->sources[0].type, kSourceOpenStream);
  StartSound(handle, 1, 1);
  EXPECT_EQ(Part(Play(kRate), 0, kRate), Counting(0, kRate));
  DeleteSound(handle, 0);
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);
  // Mode 2 from a file copies it and closes it at once.
  SetSoundLoadMode(2);
  const int copied = CreateSoundFromFile("bgm.wav", 1, -1);
  ASSERT_GE(copied, 0);
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);
  EXPECT_EQ(CreateSoundFromFile("none.wav", 1, -1), -1);
  EXPECT_NE(LogText().find("右記のＷＡＶファイルのロードに失敗しました：none.wav \r\n"), std::string::npos);
  EXPECT_EQ(SoundTable().LiveCount(), 1);
}

TEST_F(StreamSoundTest, PlayTypeZeroWaitsThroughTheDrain) {
  const int handle = Load(CountingWave(kRate / 2));
  ASSERT_EQ(StartSound(handle, 0, 1), 0);
  EXPECT_EQ(IsSoundPlaying(handle), 0);
  EXPECT_GE(pumpPasses, 50);
  EXPECT_LE(pumpPasses, 70);
}

}  // namespace
