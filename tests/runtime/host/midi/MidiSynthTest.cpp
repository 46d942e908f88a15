// The MIDI player stand-in under the manual clock: FluidSynth with the
// installed General MIDI SoundFont renders a generated tune into the mixer.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "runtime/host/midi/MidiSynth.h"
#include "runtime/host/sound/SoundDevice.h"
#include "tests/support/MidiFileWriter.h"

namespace {

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

class MidiSynthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    ASSERT_TRUE(HostSoundCreateDevice());
    ASSERT_TRUE(HostSoundOpenDevice());
    HostMidiSetLibraryName(nullptr);
    HostMidiSetSoundFont(nullptr);
  }
  void TearDown() override {
    HostMidiClose();
    HostSoundCloseDevice();
    HostSoundSetOutput(HostSoundOutput::kSdl);
    HostMidiSetLibraryName(nullptr);
    HostMidiSetSoundFont(nullptr);
  }

  // Opens the player; the tests stop here when FluidSynth or the SoundFont
  // is not installed.
  static void OpenPlayer() {
    std::string missing;
    ASSERT_TRUE(HostMidiFind(missing)) << "not installed: " << missing;
    ASSERT_TRUE(HostMidiOpen());
  }

  // The loudest sample of the next ms milliseconds of output.
  static int Peak(uint32_t ms) {
    std::vector<int16_t> out(ms * 44100 / 1000 * 2);
    HostSoundMixManual(out.data(), static_cast<uint32_t>(out.size() / 2));
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs(int{s}));
    return peak;
  }
};

// A C major scale, one note every half second.
const std::string kScale = MidiScale({60, 62, 64, 65, 67, 69, 71, 72});

TEST_F(MidiSynthTest, ATuneSoundsInTheMixerAndStopsToSilence) {
  OpenPlayer();
  EXPECT_EQ(Peak(100), 0) << "nothing loaded";
  ASSERT_TRUE(HostMidiReadList(1, Bytes(kScale), kScale.size()));
  EXPECT_EQ(Peak(100), 0) << "loaded, not playing";
  EXPECT_FALSE(HostMidiPlay(2, 0)) << "no such list";
  ASSERT_TRUE(HostMidiPlay(1, 0));
  EXPECT_GT(Peak(500), 1000);
  HostMidiStop();
  Peak(4000);  // the released notes die away
  EXPECT_EQ(Peak(500), 0);

  // Volume: silent at -10000, back at 0; a new play starts afresh.
  HostMidiSetVolume(-10000);
  ASSERT_TRUE(HostMidiPlay(1, 0));
  EXPECT_EQ(Peak(500), 0);
  HostMidiSetVolume(0);
  EXPECT_GT(Peak(500), 1000);

  // A deleted list plays no more; the player goes on with what it plays.
  HostMidiDeleteList(1);
  EXPECT_FALSE(HostMidiPlay(1, 0));
}

TEST_F(MidiSynthTest, StartTickAndTempoMoveTheFirstNote) {
  OpenPlayer();
  // One note, two seconds (four quarters at 120 beats a minute) in.
  const std::string late = BuildMidiFile(480, 500000, {{1920, 480, 0, 64, 110}}, {{0, 0}});
  ASSERT_TRUE(HostMidiReadList(5, Bytes(late), late.size()));
  ASSERT_TRUE(HostMidiPlay(5, 0));
  EXPECT_EQ(Peak(1800), 0);
  EXPECT_GT(Peak(600), 1000);

  HostMidiStop();
  Peak(4000);
  ASSERT_TRUE(HostMidiPlay(5, 1920));
  EXPECT_GT(Peak(400), 1000) << "from the note's tick it sounds at once";

  HostMidiStop();
  Peak(4000);
  HostMidiSetTempo(2.0);
  ASSERT_TRUE(HostMidiPlay(5, 0));
  EXPECT_EQ(Peak(800), 0);
  EXPECT_GT(Peak(600), 1000) << "twice the tempo: one second in";
}

TEST_F(MidiSynthTest, OnlyStandardMidiFilesAreKept) {
  OpenPlayer();
  std::string headerTooShort = kScale;
  headerTooShort[7] = 5;
  std::string trackPastTheEnd = kScale;
  trackPastTheEnd[21] = static_cast<char>(trackPastTheEnd[21] + 1);
  std::string noTrack = kScale;
  noTrack[14] = 'X';
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"a header alone, cut short", kScale.substr(0, 12)},
      {"a header of five bytes", headerTooShort},
      {"a track longer than the file", trackPastTheEnd},
      {"no track chunk", noTrack},
      {"bytes after the last chunk", kScale + "MT"},
      {"a truncated track", kScale.substr(0, kScale.size() - 1)},
      {"not MIDI at all", std::string(64, 'A')},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(HostMidiReadList(1, Bytes(c.bytes), c.bytes.size())) << c.what;
  }
  EXPECT_FALSE(HostMidiPlay(1, 0));
}

TEST_F(MidiSynthTest, WithoutTheLibraryOrTheSoundFontNothingIsFound) {
  std::string missing;
  HostMidiSetLibraryName("libmovan-no-such-synth.so");
  EXPECT_FALSE(HostMidiFind(missing));
  EXPECT_EQ(missing, "libmovan-no-such-synth.so");
  EXPECT_FALSE(HostMidiOpen());
  EXPECT_FALSE(HostMidiReadList(1, Bytes(kScale), kScale.size()));
  EXPECT_FALSE(HostMidiPlay(1, 0));
  HostMidiStop();

  HostMidiSetLibraryName(nullptr);
  HostMidiSetSoundFont("/no/such/folder/font.sf2");
  EXPECT_FALSE(HostMidiFind(missing));
  EXPECT_EQ(missing, "/no/such/folder/font.sf2");
}

// The mixing thread renders the synthesizer under the player's lock, which
// the main thread takes only for short steps: the mixer keeps pulling while
// the SoundFont loads and while calls come and go (run under
// ThreadSanitizer as well).
TEST_F(MidiSynthTest, TheMixerIsNotHeldUpByTheMainThread) {
  OpenPlayer();
  std::atomic<bool> stop{false};
  std::atomic<int> pulls{0};
  std::thread mixer([&] {
    std::vector<int16_t> out(1024 * 2);
    while (!stop.load()) {
      HostSoundMixManual(out.data(), 1024);
      pulls.fetch_add(1);
      std::this_thread::yield();
    }
  });
  const int before = pulls.load();
  ASSERT_TRUE(HostMidiReadList(1, Bytes(kScale), kScale.size()));
  EXPECT_GT(pulls.load() - before, 2) << "pulls while the SoundFont loaded";
  const std::string late = BuildMidiFile(480, 500000, {{960, 480, 9, 38, 120}});
  for (int round = 0; round < 40; ++round) {
    HostMidiPlay(1 + round % 2, round * 10);
    HostMidiSetVolume(-(round * 250));
    HostMidiSetTempo(0.5 + round * 0.05);
    if (round % 3 == 0) HostMidiReadList(2, Bytes(late), late.size());
    if (round % 7 == 0) HostMidiDeleteList(2);
    usleep(1000);
    HostMidiStop();
  }
  const int during = pulls.load();
  HostMidiClose();
  usleep(5000);
  stop = true;
  mixer.join();
  EXPECT_GT(during, 40);
}

}  // namespace
