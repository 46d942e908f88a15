// The sound device's mixer under the manual clock: what comes out for what
// plays, play cursors, lock regions, and the output over SDL's dummy driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/host/sound/SoundDevice.h"

namespace {

constexpr uint32_t kAllControls = kHostSoundCtrlVolume | kHostSoundCtrlFrequency;

class ManualDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    ASSERT_TRUE(HostSoundCreateDevice());
    ASSERT_TRUE(HostSoundOpenDevice());
  }
  void TearDown() override {
    HostSoundCloseDevice();
    HostSoundSetOutput(HostSoundOutput::kSdl);
  }

  // A buffer of 16-bit frames, filled with the given samples.
  static HostSoundBuffer* Buffer(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples,
                                 uint32_t flags = kAllControls) {
    HostSoundBuffer* b = HostSoundCreateBuffer(PcmWaveFormat(channels, rate, 16),
                                               static_cast<uint32_t>(samples.size() * 2), flags);
    if (!b) return nullptr;
    void* p1;
    void* p2;
    uint32_t n1, n2;
    HostSoundLock(b, 0, static_cast<uint32_t>(samples.size() * 2), &p1, &n1, &p2, &n2);
    std::memcpy(p1, samples.data(), n1);
    HostSoundUnlock(b, n1, n2);
    return b;
  }

  static std::vector<int16_t> Mix(uint32_t frames) {
    std::vector<int16_t> out(frames * 2);
    EXPECT_EQ(HostSoundMixManual(out.data(), frames), frames);
    return out;
  }
};

TEST_F(ManualDevice, PlaysSamplesAsTheyAreAtFullVolumeAndOutputRate) {
  std::vector<int16_t> ramp;
  for (int i = 0; i < 100; ++i) {
    ramp.push_back(static_cast<int16_t>(i * 300));
    ramp.push_back(static_cast<int16_t>(-i * 300));
  }
  HostSoundBuffer* b = Buffer(2, 44100, ramp);
  ASSERT_NE(b, nullptr);
  HostSoundPlay(b, false);
  const std::vector<int16_t> out = Mix(120);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(out[2 * i], ramp[2 * i]);
    EXPECT_EQ(out[2 * i + 1], ramp[2 * i + 1]);
  }
  // Played to its end: silent, stopped, the cursor back at 0.
  EXPECT_EQ(out[2 * 110], 0);
  EXPECT_EQ(HostSoundStatus(b), 0);
  EXPECT_EQ(HostSoundGetPosition(b), 0u);
}

TEST_F(ManualDevice, VolumeIsAGainOfTenToTheVolumeOverTwoThousand) {
  const struct {
    int32_t volume;
    double gain;
  } cases[] = {{0, 1.0}, {-600, 0.501187}, {-2000, 0.1}, {-9999, 1.0e-5}, {-10000, 0.0}, {-20000, 0.0}, {300, 1.0}};
  for (const auto& c : cases) {
    HostSoundBuffer* b = Buffer(1, 44100, std::vector<int16_t>(64, 30000));
    ASSERT_TRUE(HostSoundSetVolume(b, c.volume));
    HostSoundPlay(b, true);
    const std::vector<int16_t> out = Mix(16);
    EXPECT_NEAR(out[10], 30000 * c.gain, 1.0) << c.volume;
    EXPECT_EQ(out[10], out[11]) << "mono goes to both channels";
    HostSoundReleaseBuffer(b);
  }
  EXPECT_EQ(HostSoundGainQ16(-10000), 0);
  EXPECT_EQ(HostSoundGainQ16(0), 65536);
}

TEST_F(ManualDevice, SumsBuffersAndSaturates) {
  HostSoundBuffer* a = Buffer(1, 44100, std::vector<int16_t>(32, 20000));
  HostSoundBuffer* b = Buffer(1, 44100, std::vector<int16_t>(32, 20000));
  HostSoundBuffer* c = Buffer(1, 44100, std::vector<int16_t>(32, -5000));
  HostSoundPlay(a, true);
  HostSoundPlay(b, true);
  std::vector<int16_t> out = Mix(4);
  EXPECT_EQ(out[0], 32767);
  HostSoundStop(b);
  HostSoundPlay(c, true);
  out = Mix(4);
  EXPECT_EQ(out[0], 15000);
}

TEST_F(ManualDevice, FrequencyMovesTheCursorAtItsRate) {
  std::vector<int16_t> ramp(22050);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i);
  HostSoundBuffer* b = Buffer(1, 22050, ramp);
  HostSoundPlay(b, true);
  std::vector<int16_t> out = Mix(4410);
  // Half the output rate: every output frame moves half a frame, halfway
  // frames interpolated.
  EXPECT_EQ(HostSoundGetPosition(b), 2205u * 2);
  EXPECT_EQ(out[2 * 100], 50);
  EXPECT_EQ(out[2 * 101], 50);  // 50.5 rounds down
  ASSERT_TRUE(HostSoundSetFrequency(b, 88200));
  Mix(100);
  EXPECT_EQ(HostSoundGetPosition(b), (2205u + 200) * 2);
  ASSERT_TRUE(HostSoundSetFrequency(b, 0));
  Mix(100);
  EXPECT_EQ(HostSoundGetPosition(b), (2405u + 50) * 2);
  EXPECT_FALSE(HostSoundSetFrequency(b, 99));
  EXPECT_FALSE(HostSoundSetFrequency(b, 200001));
}

TEST_F(ManualDevice, LoopingWrapsAndOneShotEnds) {
  HostSoundBuffer* loop = Buffer(1, 44100, {1, 2, 3});
  HostSoundPlay(loop, true);
  EXPECT_EQ(HostSoundStatus(loop), kHostSoundPlaying | kHostSoundLooping);
  const std::vector<int16_t> out = Mix(7);
  const int16_t expected[] = {1, 2, 3, 1, 2, 3, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(out[2 * i], expected[i]);
  EXPECT_EQ(HostSoundGetPosition(loop), 2u);
  HostSoundStop(loop);
  EXPECT_EQ(HostSoundStatus(loop), 0);
  EXPECT_EQ(HostSoundGetPosition(loop), 2u) << "a stop keeps the cursor";
}

TEST_F(ManualDevice, LockHandsOutTwoRegionsWhenTheRangeWraps) {
  HostSoundBuffer* b = Buffer(1, 44100, std::vector<int16_t>(8, 0));
  void* p1;
  void* p2;
  uint32_t n1, n2;
  ASSERT_TRUE(HostSoundLock(b, 12, 8, &p1, &n1, &p2, &n2));
  EXPECT_EQ(n1, 4u);
  EXPECT_EQ(n2, 4u);
  const int16_t values[4] = {7, 8, 9, 10};
  std::memcpy(p1, values, 4);
  std::memcpy(p2, values + 2, 4);
  EXPECT_FALSE(HostSoundLock(b, 0, 2, &p1, &n1, &p2, &n2)) << "one lock at a time";
  ASSERT_TRUE(HostSoundUnlock(b, n1, n2));
  ASSERT_TRUE(HostSoundLock(b, 0, 16, &p1, &n1, &p2, &n2));
  EXPECT_EQ(p2, nullptr);
  EXPECT_EQ(n2, 0u);
  const int16_t* s = static_cast<const int16_t*>(p1);
  EXPECT_EQ(s[0], 9);
  EXPECT_EQ(s[1], 10);
  EXPECT_EQ(s[6], 7);
  EXPECT_EQ(s[7], 8);
  HostSoundUnlock(b, 0, 0);
  EXPECT_FALSE(HostSoundLock(b, 16, 1, &p1, &n1, &p2, &n2));
  EXPECT_FALSE(HostSoundLock(b, 0, 17, &p1, &n1, &p2, &n2));
}

TEST_F(ManualDevice, WritesToPlayingMemoryTakeEffectAtUnlock) {
  HostSoundBuffer* b = Buffer(1, 44100, std::vector<int16_t>(8, 5));
  HostSoundBuffer* twin = HostSoundDuplicateBuffer(b);
  ASSERT_NE(twin, nullptr);
  HostSoundPlay(twin, true);
  void* p1;
  void* p2;
  uint32_t n1, n2;
  ASSERT_TRUE(HostSoundLock(b, 0, 16, &p1, &n1, &p2, &n2));
  const std::vector<int16_t> fresh(8, 9);
  std::memcpy(p1, fresh.data(), 16);
  EXPECT_EQ(Mix(2)[0], 5) << "the duplicate still plays the old bytes";
  HostSoundUnlock(b, 16, 0);
  EXPECT_EQ(Mix(2)[0], 9) << "the duplicate shares the memory";
}

TEST_F(ManualDevice, WritesToPlayingMemoryTakeEffectWhateverTheLockSizes) {
  HostSoundBuffer* b = Buffer(1, 44100, std::vector<int16_t>(8, 5));
  HostSoundPlay(b, true);
  void* p1;
  void* p2;
  uint32_t n1, n2;
  for (uint32_t bytes : {4u, 16u, 8u}) {
    ASSERT_TRUE(HostSoundLock(b, 0, bytes, &p1, &n1, &p2, &n2));
    std::vector<int16_t> values(bytes / 2);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int16_t>(bytes * 100 + i);
    std::memcpy(p1, values.data(), bytes);
    ASSERT_TRUE(HostSoundUnlock(b, bytes, 0));
  }
  HostSoundSetPosition(b, 0);
  const std::vector<int16_t> out = Mix(8);
  const int16_t expected[8] = {800, 801, 802, 803, 1604, 1605, 1606, 1607};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(out[2 * i], expected[i]) << i;
}

TEST_F(ManualDevice, SetPositionAlignsToFramesAndRefusesTheEnd) {
  HostSoundBuffer* b = Buffer(2, 44100, std::vector<int16_t>(20, 0));
  EXPECT_TRUE(HostSoundSetPosition(b, 13));
  EXPECT_EQ(HostSoundGetPosition(b), 12u);
  EXPECT_FALSE(HostSoundSetPosition(b, 40));
}

TEST_F(ManualDevice, RefusesFormatsItCannotMix) {
  const WaveFormat good = PcmWaveFormat(2, 44100, 16);
  WaveFormat six = PcmWaveFormat(6, 44100, 16);
  WaveFormat adpcm = good;
  adpcm.formatTag = kWaveFormatImaAdpcm;
  WaveFormat odd = good;
  odd.blockAlign = 3;
  for (const WaveFormat& f : {six, adpcm, odd, PcmWaveFormat(1, 99, 16), PcmWaveFormat(1, 44100, 12)}) {
    EXPECT_EQ(HostSoundCreateBuffer(f, 64, kAllControls), nullptr);
  }
  EXPECT_EQ(HostSoundCreateBuffer(good, 0, kAllControls), nullptr);
  for (uint16_t bits : {8, 24, 32}) {
    EXPECT_NE(HostSoundCreateBuffer(PcmWaveFormat(1, 8000, bits), 64, kAllControls), nullptr) << bits;
  }
}

TEST_F(ManualDevice, ReadsEveryBitDepthAsSixteenBits) {
  const unsigned char eight[] = {0xC0, 0xC0};
  const unsigned char twentyFour[] = {0x00, 0x34, 0x12, 0x00, 0x34, 0x12};
  const unsigned char thirtyTwo[] = {0x00, 0x00, 0x34, 0x12, 0x00, 0x00, 0x34, 0x12};
  const struct {
    uint16_t bits;
    const unsigned char* bytes;
    uint32_t size;
    int16_t expected;
  } cases[] = {{8, eight, 2, 0x4000}, {24, twentyFour, 6, 0x1234}, {32, thirtyTwo, 8, 0x1234}};
  for (const auto& c : cases) {
    HostSoundBuffer* b = HostSoundCreateBuffer(PcmWaveFormat(1, 44100, c.bits), c.size, kAllControls);
    void* p1;
    void* p2;
    uint32_t n1, n2;
    HostSoundLock(b, 0, c.size, &p1, &n1, &p2, &n2);
    std::memcpy(p1, c.bytes, c.size);
    HostSoundUnlock(b, n1, n2);
    HostSoundPlay(b, true);
    EXPECT_EQ(Mix(1)[0], c.expected) << c.bits;
    HostSoundReleaseBuffer(b);
  }
}

TEST_F(ManualDevice, ControlsNeedTheirFlags) {
  HostSoundBuffer* b = Buffer(1, 44100, {0, 0}, kHostSoundStatic);
  EXPECT_FALSE(HostSoundSetVolume(b, -100));
  EXPECT_FALSE(HostSoundSetFrequency(b, 22050));
}

// A generator writing 0.5 on the left and 2 (clipped to 1) on the right for
// as many frames as its context allows per pull.
uint32_t HalfAndOver(void* context, float* out, uint32_t frames) {
  const uint32_t n = std::min(frames, *static_cast<uint32_t*>(context));
  for (uint32_t i = 0; i < n; ++i) {
    out[2 * i] = 0.5f;
    out[2 * i + 1] = 2.0f;
  }
  return n;
}

TEST_F(ManualDevice, GeneratorsAddWhatTheyMakeUntilRemovedOrTheDeviceCloses) {
  uint32_t limit = 3;
  ASSERT_TRUE(HostSoundAddGenerator(HalfAndOver, &limit));
  HostSoundBuffer* b = Buffer(2, 44100, {1000, -1000, 1000, -1000, 1000, -1000, 1000, -1000});
  HostSoundPlay(b, true);
  // Mixed with the buffer; the frames it did not make are silence.
  EXPECT_EQ(Mix(4), (std::vector<int16_t>{17384, 31767, 17384, 31767, 17384, 31767, 1000, -1000}));
  HostSoundRemoveGenerator(HalfAndOver, &limit);
  EXPECT_EQ(Mix(1), (std::vector<int16_t>{1000, -1000}));
  HostSoundRemoveGenerator(HalfAndOver, &limit);  // not there: nothing

  ASSERT_TRUE(HostSoundAddGenerator(HalfAndOver, &limit));
  HostSoundCloseDevice();
  ASSERT_TRUE(HostSoundCreateDevice());
  ASSERT_TRUE(HostSoundOpenDevice());
  EXPECT_EQ(Mix(2), (std::vector<int16_t>{0, 0, 0, 0})) << "gone with the device";
  HostSoundCloseDevice();
  EXPECT_FALSE(HostSoundAddGenerator(HalfAndOver, &limit)) << "no device";
}

TEST(SoundDeviceSdl, OpensAndClosesTheDummyDriver) {
  // ctest hands a test only the first of its environment settings.
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  HostSoundSetOutput(HostSoundOutput::kSdl);
  ASSERT_TRUE(HostSoundCreateDevice());
  ASSERT_TRUE(HostSoundOpenDevice());
  EXPECT_TRUE(HostSoundDeviceOpen());
  HostSoundBuffer* b = HostSoundCreateBuffer(PcmWaveFormat(2, 44100, 16), 4000, kAllControls);
  ASSERT_NE(b, nullptr);
  HostSoundPlay(b, true);
  EXPECT_EQ(HostSoundMixManual(nullptr, 10), 0u) << "no manual clock on a real output";
  HostSoundCloseDevice();
  EXPECT_FALSE(HostSoundDeviceOpen());
}

}  // namespace
