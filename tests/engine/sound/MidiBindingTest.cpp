// The MIDI library binding over the layer's MIDI player, and MIDI music in
// the sound manager: with FluidSynth and its SoundFont installed, and with
// either hidden.

#include <string>
#include <vector>

#include "engine/services/StartupSettings.h"
#include "engine/sound/MidiLibrary.h"
#include "engine/sound/RunnerSounds.h"
#include "runtime/Movan.h"
#include "tests/engine/sound/SoundTestFixture.h"
#include "tests/support/MidiFileWriter.h"

namespace {

const std::string kTune = MidiScale({60, 64, 67, 72, 67, 64, 60, 64});

class MidiBindingTest : public SoundTest {
 protected:
  // The library started as start-up starts it.
  static void StartMidi() {
    ASSERT_EQ(MidiSetDevice(-1, 0), 0) << "FluidSynth and its SoundFont must be installed";
    MidiAvailable = 1;
  }
};

TEST_F(MidiBindingTest, WithoutTheLibraryEveryCallDoesNothingAfterOneMessage) {
  const struct {
    const char* library;
    const char* soundFont;
    std::string missing;
  } cases[] = {
      {"libmovan-no-synth.so", nullptr, "libmovan-no-synth.so"},
      {nullptr, "/no/such/font.sf2", "/no/such/font.sf2"},
  };
  for (const auto& c : cases) {
    SetMidiPlayerLibraryName(c.library);
    SetMidiPlayerSoundFont(c.soundFont);
    boxes.clear();
    EXPECT_EQ(MidiSetDevice(-1, 0), -1);
    EXPECT_FALSE(MidiLibraryLoaded());
    EXPECT_EQ(MidiReadList(kTune.data(), static_cast<int32_t>(kTune.size()), 1, 1), -1);
    EXPECT_EQ(MidiPlay(1, 1, 0), -1);
    MidiMasterVolume(0);
    MidiTempoDepth(10);
    MidiStop();
    MidiDeleteList(1);
    MidiShutdown();
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "GuruGuruSMF.dllがロードできませんでした。\n" + c.missing + "\n\nMIDI再生なしで起動します。",
                         "エラー"}));
    EXPECT_EQ(ManualClockSound::Peak(100), 0);
  }
}

TEST_F(MidiBindingTest, MusicEntryZeroIsListOneAndSoundsThroughTheMixer) {
  WriteData("tune.mid", kTune);
  UseSounds({{"tune.mid", 100, 150}}, {}, {});
  StartMidi();
  GameSounds.Play(0, 0, 0, 0);
  EXPECT_EQ(GameSounds.midiMarks[0], 1);
  EXPECT_EQ(GameSounds.currentIsMidi, 1);
  EXPECT_EQ(GameSounds.HandleOf(0, 0), 0) << "MIDI has no sound handle";
  EXPECT_EQ(LiveRunnerSounds().values[0][1], 150);
  Updates(2);
  EXPECT_GT(ManualClockSound::Peak(600), 1000);
  EXPECT_EQ(MidiPlay(1, MidiListOf(1), 0), -1) << "nothing in list 2";
  EXPECT_EQ(MidiPlay(1, MidiListOf(0), 0), 0);

  // Stopped with a fade, the piece plays on until the fade ends.
  GameSounds.Play(0, -1, 2, 0);
  Updates(3);
  EXPECT_GT(ManualClockSound::Peak(300), 0);
  Updates(1);
  ManualClockSound::Mix(4000);
  EXPECT_EQ(ManualClockSound::Peak(300), 0);
}

TEST_F(MidiBindingTest, APieceFollowingAnotherPlaysOnAfterTheFade) {
  WriteData("one.mid", kTune);
  WriteData("two.mid", MidiScale({72, 71, 69, 67, 65, 64, 62, 60}));
  UseSounds({{"one.mid"}, {"two.mid"}}, {}, {});
  StartMidi();
  GameSounds.Play(0, 0, 0, 0);
  Updates(2);
  GameSounds.Play(0, 1, 3, 0);
  Updates(10);
  EXPECT_GT(ManualClockSound::Peak(600), 1000);
}

TEST_F(MidiBindingTest, AMissingMidiFileIsMarkedAndNeverPlayed) {
  UseSounds({{"gone.mid"}, {""}}, {}, {});
  GameSounds.Play(0, 1, 0, 0);
  EXPECT_EQ(GameSounds.scanned, 0) << "without MIDI the scan runs again at the next play";
  StartMidi();
  GameSounds.Play(0, 0, 0, 0);
  EXPECT_EQ(GameSounds.scanned, 1);
  EXPECT_EQ(GameSounds.midiMarks[0], -1);
  EXPECT_EQ(errors, (std::vector<std::string>{"MIDI読み込みエラー", "MIDIファイル Type1-0:Data\\gone.mid が見つかりません\n", ""}));
  EXPECT_EQ(GameSounds.currentIsMidi, 0);
}

TEST_F(MidiBindingTest, AfterShutdownEveryCallDoesNothing) {
  StartMidi();
  ASSERT_EQ(MidiReadList(kTune.data(), static_cast<int32_t>(kTune.size()), 1, 1), 0);
  ASSERT_EQ(MidiPlay(1, 1, 0), 0);
  EXPECT_GT(ManualClockSound::Peak(600), 1000);
  MidiShutdown();
  EXPECT_FALSE(MidiLibraryLoaded());
  MidiStop();
  MidiDeleteList(1);
  MidiTempoDepth(10);
  MidiMasterVolume(-100);
  EXPECT_EQ(MidiPlay(1, 1, 0), -1);
  EXPECT_EQ(MidiReadList(kTune.data(), static_cast<int32_t>(kTune.size()), 1, 1), -1);
  EXPECT_EQ(ManualClockSound::Peak(100), 0);
  EXPECT_TRUE(boxes.empty());
}

TEST(MidiTempoDepthTest, TempoPercentToDepth) {
  const int32_t cases[][2] = {{100, 0}, {101, 0}, {150, 25}, {300, 100}, {99, -2}, {50, -100}, {0, -200}, {-10, -220}};
  for (const auto& c : cases) EXPECT_EQ(MidiTempoDepthOf(c[0]), c[1]) << c[0];
}

}  // namespace
