// The sound commands on the manual-clock mixer: music, background sound and
// sound effects by entry, by variable and by file name, and speech.

#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/StartupSettings.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SpeechLibrary.h"
#include "runtime/Movan.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/ManualClockSound.h"
#include "tests/support/SoundDatabase.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/WaveWriter.h"

namespace {

// Action, kind, source and the entry of the flags word.
int32_t Flags(int32_t action, int32_t kind, int32_t source, int32_t entry = 0) {
  return action | kind << 4 | entry << 8 | source << 24;
}

std::string Tone(uint32_t ms) {
  return WaveFile(PcmFormatChunk(1, 22050, 16), PcmBytes(SineSamples(22050 * ms / 1000, 1, 22050, 440, 12000)));
}

class SoundCommandTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav", "song.wav", "s7.wav"}) {
      dir_.Write(std::string("Data/") + name, Tone(1000));
    }
    WriteSoundTypes(SystemDatabase, {{"a.wav"}, {"b.wav"}}, {{"c.wav"}}, {{"d.wav"}});
    SoundEntryCounts = SoundEntries();
    SoundEntryCounts.StoreBaseRecordCounts();
    GameSounds = SoundManager();
    GameSounds.ResizeTables();
  }
  void TearDown() override {
    GameSounds = SoundManager();
    SoundEntryCounts = SoundEntries();
    SetSpeechLibraryFile(nullptr);
    UnloadSpeechDll();
    InterpreterTest::TearDown();
  }
  void Run(CommandListBuilder list) { RunPlain(list.Variable(2000000, 1, 0, 0, 0).Build()); }

  TestDirectory dir_;
  ScopedCurrentDirectory cwd_{dir_.Path()};
  ManualClockSound sound_;
};

TEST_F(SoundCommandTest, EntryBitsPlayAndAllOnesStop) {
  Run(CommandListBuilder().Add({140, Flags(0, 0, 0, 1), 0, 0}));
  EXPECT_EQ(V(0), 1) << "goes on in the same call";
  EXPECT_EQ(RootRunner.currentMusicEntry, 1);
  const int handle = GameSounds.HandleOf(0, 1);
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  Run(CommandListBuilder().Add({140, Flags(0, 0, 0, 0xFFFF), 0, 0}));
  EXPECT_EQ(RootRunner.currentMusicEntry, -1);
  EXPECT_EQ(IsSoundPlaying(handle), -1) << "stopped without a fade";
}

TEST_F(SoundCommandTest, AnEntryFromAVariableLoadsAndReleases) {
  V(3) = 0;
  Run(CommandListBuilder().Add({140, Flags(1, 2, 1), 0, 2000003}));
  const int handle = GameSounds.HandleOf(2, 0);
  EXPECT_EQ(IsSoundPlaying(handle), 0) << "loaded only";
  V(3) = -1;
  Run(CommandListBuilder().Add({140, Flags(2, 2, 1), 0, 2000003}));
  EXPECT_EQ(IsSoundPlaying(handle), 0) << "release of -1 does nothing";
  V(3) = 0;
  Run(CommandListBuilder().Add({140, Flags(2, 2, 1), 0, 2000003}));
  EXPECT_EQ(IsSoundPlaying(handle), -1);
  EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(SoundCommandTest, APositionIsTakenOnlyFromACommandThatHasOne) {
  Run(CommandListBuilder().Add({140, Flags(0, 1, 0, 0), 0, 0, 600}));
  EXPECT_NEAR(GetSoundPlayTime(GameSounds.HandleOf(1, 0)), 600, 30);
  Run(CommandListBuilder().Add({140, Flags(0, 0, 0, 0), 0, 0}));
  EXPECT_NEAR(GetSoundPlayTime(GameSounds.HandleOf(0, 0)), 0, 30);
}

TEST_F(SoundCommandTest, TheVariableOperationPlusReadsThePositionsAndLengthsOfTheSoundsPlaying) {
  // Items 3-6 of the other information: positions, then lengths.
  const auto read = [&](int32_t item) {
    RunPlain(CommandListBuilder().Add({124, 2000005, 3 << 12, item, 0}).Build());
    return V(5);
  };
  for (int32_t item = 3; item <= 6; ++item) EXPECT_EQ(read(item), 0) << "nothing plays: " << item;
  Run(CommandListBuilder().Add({140, Flags(0, 1, 0, 0), 0, 0, 600}));
  EXPECT_NEAR(read(4), 600, 30);
  EXPECT_EQ(read(6), 1000);
  EXPECT_EQ(read(3), 0) << "no music";
  Run(CommandListBuilder().Add({140, Flags(0, 0, 0, 0), 0, 0}));
  EXPECT_NEAR(read(3), 0, 30);
  EXPECT_EQ(read(5), 1000);
}

TEST_F(SoundCommandTest, AFilePlaysFromItsSpareEntryAndTheSameFileIsOnlyAdjusted) {
  V(3) = 7;
  // The name's references are replaced: s\v[3].wav is s7.wav.
  Run(CommandListBuilder().Add({140, Flags(0, 0, 2), 4, 0, 0, 80, 100, 250}, {"s\\v[3].wav"}));
  EXPECT_EQ(RootRunner.currentMusicEntry, 2);
  EXPECT_EQ(SystemDatabase.GetString(1, 2, 0), "Data\\s7.wav");
  EXPECT_EQ(SystemDatabase.GetInt(1, 2, 3), 250);
  EXPECT_EQ(GameSounds.fades[0].length, 5);
  EXPECT_EQ(GameSounds.fades[0].target, 80);
  const int handle = GameSounds.HandleOf(0, 2);
  EXPECT_EQ(IsSoundPlaying(handle), 1);

  Run(CommandListBuilder().Add({140, Flags(0, 0, 2), 0, 0, 0, 40, 120, 0}, {"s7.wav"}));
  EXPECT_EQ(V(0), 1);
  EXPECT_EQ(GameSounds.fades[0].target, 40);
  EXPECT_EQ(GameSounds.fades[0].percent, 120);
  EXPECT_EQ(RootRunner.currentMusicEntry, 2);
  EXPECT_EQ(SoundEntryCounts.fileCount[0], 1);
  EXPECT_EQ(IsSoundPlaying(handle), 1);
}

TEST_F(SoundCommandTest, AnEmptyFileTextStopsTheKind) {
  Run(CommandListBuilder().Add({140, Flags(0, 1, 0, 0), 0, 0}));
  ASSERT_EQ(RootRunner.currentBackgroundSoundEntry, 0);
  Run(CommandListBuilder().Add({140, Flags(0, 1, 2), 0, 0, 0, 100, 100, 0}, {""}));
  EXPECT_EQ(RootRunner.currentBackgroundSoundEntry, -1);
}

TEST_F(SoundCommandTest, SpeechWithoutTheLibraryShowsTheErrorEachTimeAndGoesOn) {
  for (int round = 0; round < 2; ++round) {
    Run(CommandListBuilder().Add({141, 100, 100, 100, 0}, {"こんにちは"}));
    const std::vector<ErrorScreenLines> errors = TakeErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].line1, "【エラー】 合成音声再生コマンドが実行されましたが、");
    EXPECT_EQ(errors[0].line2, "AquesTalk.dllがないため実行できませんでした。");
    EXPECT_EQ(V(0), 1);
    V(0) = 0;
  }
}

const unsigned char* SpeakTone(const char* text, int32_t, int32_t* size) {
  static const std::string wave = Tone(50);
  if (std::string(text) != "7") return nullptr;
  *size = static_cast<int32_t>(wave.size());
  return reinterpret_cast<const unsigned char*>(wave.data());
}

TEST_F(SoundCommandTest, SpeechPlaysAsASoundEffectAfterItsDelay) {
  static const SpeechLibraryEntries library{SpeakTone, nullptr};
  SetSpeechLibraryFile(&library);
  ASSERT_TRUE(LoadSpeechDll());
  V(3) = 7;
  Run(CommandListBuilder().Add({141, 100, 90, 100, 2}, {"\\v[3]"}));
  const int handle = GameSounds.HandleOf(2, 1);
  ASSERT_NE(handle, 0);
  ASSERT_EQ(GameSounds.queue.size(), 1u);
  EXPECT_EQ(GameSounds.queue[0].delay, 2);
  // A text that makes nothing plays nothing.
  Run(CommandListBuilder().Add({141, 100, 90, 100, 0}, {"other"}));
  EXPECT_EQ(GameSounds.queue.size(), 1u);
  EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(SoundCommandTest, SoundSystemVariablesActOnTheSoundsPlaying) {
  Run(CommandListBuilder().Add({140, Flags(0, 0, 0, 0), 0, 0}).Add({140, Flags(0, 1, 0, 0), 0, 0}));
  const int music = GameSounds.HandleOf(0, 0);
  const int background = GameSounds.HandleOf(1, 0);
  for (int i = 0; i < 2; ++i) GameSounds.Update();
  // Music volume 50 of the master 100 on a ramp of two frames (as a fade of
  // one: the volume it starts from, halfway, there); background speed 150.
  Run(CommandListBuilder().Variable(9000095, 50, 0, 0, 0).Variable(9000098, 150, 0, 0, 0));
  for (int volume : {100, 75, 50}) {
    GameSounds.Update();
    EXPECT_EQ(ManualClockSound::VolumeOf(music), ManualClockSound::VolumeToHundredthsDb(volume));
  }
  EXPECT_EQ(Variables.GetVariable(9000095), 50);
  EXPECT_EQ(Variables.GetVariable(9000098), 150);
  ManualClockSound::Mix(100);
  const int before = GetSoundPlayTime(background);
  ManualClockSound::Mix(200);
  EXPECT_NEAR(GetSoundPlayTime(background) - before, 300, 20) << "played half as fast again";
  // The music master volume ramps to what the music started with.
  Run(CommandListBuilder().Variable(9000100, 20, 0, 0, 0));
  for (int i = 0; i < 3; ++i) GameSounds.Update();
  EXPECT_EQ(ManualClockSound::VolumeOf(music), ManualClockSound::VolumeToHundredthsDb(20));
}

}  // namespace
