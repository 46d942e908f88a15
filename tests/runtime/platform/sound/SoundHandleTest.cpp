// Sound handles and plain sounds: the table, the round-robin buffers and
// every handle operation.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/platform/base/ResourceHandle.h"
#include "tests/runtime/platform/sound/SoundFixture.h"
#include "tests/support/WaveWriter.h"

namespace {

// A second of 44.1 kHz 16-bit stereo whose frames name themselves.
std::string CountingWave(uint32_t frames = 44100) {
  return WaveFile(PcmFormatChunk(2, 44100, 16), PcmBytes(CountingSamples(frames, 2)));
}

class SoundHandleTest : public SoundFixture {
 protected:
  int Load(const std::string& file, int buffers = 1) {
    return CreateSoundFromMemory(file.data(), file.size(), buffers, -1);
  }
  int32_t BufferVolume(int handle, int i) { return HostSoundGetVolume(Record(handle)->buffers[i].buffer); }
  uint32_t Cursor(int handle, int i) { return HostSoundGetPosition(Record(handle)->buffers[i].buffer); }
  bool Playing(int handle, int i) { return HostSoundStatus(Record(handle)->buffers[i].buffer) & kHostSoundPlaying; }
};

TEST_F(SoundHandleTest, StartUpLogsItsStepsAndRefusesASecondStart) {
  const std::string log = LogText();
  for (const char* line : {"DirectSound の初期化を行います\r\n", "成功\r\n", "DirectSound デバイスを列挙します\r\n",
                           "モジュール名:         manual  ドライバ記述:manual clock ",
                           "最大サンプリングレート:200.00KHz 最小サンプリングレート:0.10KHz ",
                           "DirectSound の初期化は正常に終了しました\r\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(InitSoundSystem(), -1);
  EXPECT_EQ(TermSoundSystem(), 0);
  EXPECT_NE(LogText().find("DirectSound の終了処理は正常に終了しました"), std::string::npos);
  EXPECT_EQ(TermSoundSystem(), -1);
  ASSERT_EQ(InitSoundSystem(), 0);
}

TEST_F(SoundHandleTest, HandlesFollowTheTableRules) {
  const int first = Load(CountingWave(100));
  const int second = Load(CountingWave(100));
  EXPECT_EQ(first, 0x10000000);
  EXPECT_EQ(second, 0x10010001);
  EXPECT_EQ(DeleteSound(second, 0), 0);
  const int graphicLike = MakeResourceHandle(0, 0, kHandleGraphic);
  const int staleCheck = MakeResourceHandle(0, 5, kHandleSound);
  for (int bad : {second, graphicLike, staleCheck, -1, MakeResourceHandle(4096, 0, kHandleSound)}) {
    EXPECT_EQ(DeleteSound(bad, 0), -1) << std::hex << bad;
    EXPECT_EQ(StartSound(bad, 1, 1), -1);
    EXPECT_EQ(HaltSound(bad), -1);
    EXPECT_EQ(IsSoundPlaying(bad), -1);
    EXPECT_EQ(SetSoundVolume(100, bad), -1);
    EXPECT_EQ(SetSoundFrequency(-1, bad), -1);
    EXPECT_EQ(GetSoundFrequency(bad), -1);
    EXPECT_EQ(SetSoundPlayTime(0, bad), -1);
    EXPECT_EQ(GetSoundPlayTime(bad), -1);
    EXPECT_EQ(GetSoundLengthMs(bad), -1);
    EXPECT_EQ(SetSoundLoopStartMs(0, bad), -1);
  }
  EXPECT_EQ(DeleteAllSounds(0), 0);
  EXPECT_EQ(SoundTable().UsedEnd(), 0);
  EXPECT_EQ(HandleSlot(Load(CountingWave(100))), 0);
}

TEST_F(SoundHandleTest, WithoutTheDeviceEverythingIsRefused) {
  const int handle = Load(CountingWave(100));
  TermSoundSystem();
  const std::string file = CountingWave(100);
  EXPECT_EQ(CreateSoundFromMemory(file.data(), file.size(), 1, -1), -1);
  EXPECT_EQ(CreateSoundFromFile("a.wav", 1, -1), -1);
  EXPECT_EQ(StartSound(handle, 1, 1), -1);
  EXPECT_EQ(DeleteAllSounds(0), -1);
  EXPECT_EQ(RefillAllStreamSounds(), -1);
  ASSERT_EQ(InitSoundSystem(), 0);
}

TEST_F(SoundHandleTest, VolumeMapsToHundredthsOfADecibelOnEveryBuffer) {
  const int handle = Load(CountingWave(100), 3);
  const struct {
    int volume;
    int32_t expected;
  } cases[] = {{0, -10000}, {-5, -10000}, {1, -2406}, {128, -299}, {254, -1}, {255, 0}, {300, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(SetSoundVolume(c.volume, handle), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(BufferVolume(handle, i), c.expected) << c.volume;
  }
}

TEST_F(SoundHandleTest, StartsTakeTheBuffersInTurn) {
  const int handle = Load(CountingWave(), 3);
  ASSERT_EQ(Record(handle)->bufferCount, 3);
  ASSERT_EQ(StartSound(handle, 1, 0), 0);  // buffer 1 from buffer 0's place (0)
  EXPECT_TRUE(Playing(handle, 1));
  Mix(100);
  ASSERT_EQ(StartSound(handle, 1, 0), 0);  // buffer 2 from buffer 1's place
  EXPECT_EQ(Cursor(handle, 2), 100u * 4);
  Mix(100);
  ASSERT_EQ(StartSound(handle, 1, 0), 0);  // buffer 0 from buffer 2's place
  EXPECT_EQ(Cursor(handle, 0), 200u * 4);
  Mix(50);
  EXPECT_EQ(StartSound(handle, 1, 0), 0);  // buffer 1 plays: nothing
  EXPECT_EQ(StartSound(handle, 1, 0), 0);  // buffer 2 plays: nothing
  EXPECT_EQ(Cursor(handle, 1), 250u * 4);
  EXPECT_EQ(Cursor(handle, 2), 250u * 4);
  EXPECT_EQ(Cursor(handle, 0), 250u * 4);
  EXPECT_EQ(Record(handle)->nextBuffer, 2);
  // A restart begins the next buffer again from the top.
  ASSERT_EQ(StartSound(handle, 1, 1), 0);
  EXPECT_EQ(Cursor(handle, 0), 0u);
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  EXPECT_EQ(HaltSound(handle), 0);
  EXPECT_EQ(IsSoundPlaying(handle), 0);
}

TEST_F(SoundHandleTest, EveryBufferPlaysTheSound) {
  const int handle = Load(CountingWave(100), 3);
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(StartSound(handle, 1, 1), 0);
    EXPECT_EQ(Mix(100), CountingSamples(100, 2)) << Record(handle)->nextBuffer;
  }
}

TEST_F(SoundHandleTest, PlayTimesAndLengths) {
  const int handle = Load(CountingWave(44100 * 2), 2);
  EXPECT_EQ(GetSoundLengthMs(handle), 2000);
  EXPECT_EQ(GetSoundFrequency(handle), 44100);
  ASSERT_EQ(SetSoundPlayTime(1500, handle), 0);  // buffer 0, the one the next start reads
  ASSERT_EQ(StartSound(handle, 1, 0), 0);
  EXPECT_EQ(Mix(1)[0], static_cast<int16_t>(66150 % 32768));
  EXPECT_EQ(GetSoundPlayTime(handle), 1500);
  ASSERT_EQ(StartSound(handle, 1, 1), 0);
  EXPECT_EQ(SetSoundPlayTime(10, handle), -1) << "every buffer plays";
  HaltSound(handle);
  EXPECT_EQ(SetSoundPlayTime(2000, handle), -1) << "at the end";
  // Frequency: the format's rate stays what the sound reports.
  ASSERT_EQ(SetSoundFrequency(22050, handle), 0);
  EXPECT_EQ(GetSoundFrequency(handle), 44100);
  StartSound(handle, 3, 1);
  const uint32_t before = Cursor(handle, Record(handle)->nextBuffer);
  Mix(1000);
  EXPECT_EQ(Cursor(handle, Record(handle)->nextBuffer) - before, 500u * 4);
  ASSERT_EQ(SetSoundFrequency(-1, handle), 0);
  Mix(1000);
  EXPECT_EQ(Cursor(handle, Record(handle)->nextBuffer) - before, 1500u * 4);
  EXPECT_EQ(SetSoundFrequency(50, handle), -1);
}

TEST_F(SoundHandleTest, PlayTypeZeroPumpsUntilTheSoundEnds) {
  const int handle = Load(CountingWave(44100 / 2));
  ASSERT_EQ(StartSound(handle, 0, 1), 0);
  EXPECT_EQ(IsSoundPlaying(handle), 0);
  EXPECT_GE(pumpPasses, 50);
  EXPECT_LE(pumpPasses, 51);
  // The window going away ends the wait.
  pumpLimit = pumpPasses + 3;
  ASSERT_EQ(StartSound(handle, 0, 1), 0);
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  pumpLimit = 1 << 30;
}

TEST_F(SoundHandleTest, BufferCountLimits) {
  const std::string file = CountingWave(100);
  EXPECT_EQ(CreateSoundFromMemory(file.data(), file.size(), 11, -1), -1);
  dir.Write("se.wav", file);
  const int handle = CreateSoundFromFile("SE.WAV", 11, -1);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(Record(handle)->bufferCount, 10);
  EXPECT_EQ(CreateSoundFromFile("missing.wav", 1, -1), -1);
  EXPECT_NE(LogText().find("右記の音声ファイルのロードに失敗しました_1：missing.wav"), std::string::npos);
}

TEST_F(SoundHandleTest, SoundsThatCannotBeMadeAreRefusedWithoutEndingTheProgram) {
  const std::string empty = WaveFile(PcmFormatChunk(2, 44100, 16), "");
  const std::string sixChannels = WaveFile(PcmFormatChunk(6, 44100, 16), std::string(1200, '\0'));
  const std::string junk(300, 'j');
  for (const std::string* file : {&empty, &sixChannels, &junk}) {
    EXPECT_EQ(CreateSoundFromMemory(file->data(), file->size(), 1, -1), -1);
  }
  EXPECT_EQ(SoundTable().LiveCount(), 0);
  const std::string log = LogText();
  EXPECT_NE(log.find("DirectSoundBuffer の作成に失敗しました"), std::string::npos);
  EXPECT_NE(log.find("音声ファイルのＰＣＭへの変換に失敗しました"), std::string::npos);
}

TEST_F(SoundHandleTest, LoadModeIsCheckedAndEightBitSilenceStaysQuiet) {
  EXPECT_EQ(SetSoundLoadMode(4), -1);
  EXPECT_EQ(SetSoundLoadMode(-1), -1);
  EXPECT_EQ(GetSoundLoadMode(), 0);
  EXPECT_EQ(SetSoundLoadMode(1), 0);
  EXPECT_EQ(GetSoundLoadMode(), 1);
  SetSoundLoadMode(0);
  const int handle = Load(WaveFile(PcmFormatChunk(1, 8000, 8), std::string(800, '\x80')));
  StartSound(handle, 3, 1);
  EXPECT_EQ(Mix(10)[5], 0);
}

}  // namespace
