// The sound manager on the manual-clock mixer: music and background sound
// with their fades, the sound-effect queue, sounds given by file name, the
// player's sound setting, and the releases.

#include <algorithm>
#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/StartupSettings.h"
#include "engine/sound/RunnerSounds.h"
#include "engine/sound/SoundEntries.h"
#include "runtime/Movan.h"
#include "tests/engine/sound/SoundTestFixture.h"
#include "tests/support/DatabaseBuilder.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"

namespace {

class SoundManagerTest : public SoundTest {
 protected:
  // Music a and b, background sound c, sound effects d (long) and e, f (short).
  void UseStandardSounds() {
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"}) WriteData(name, Tone(1000));
    for (const char* name : {"e.wav", "f.wav"}) WriteData(name, Tone(20));
    UseSounds({{"a.wav"}, {"b.wav"}}, {{"c.wav"}}, {{"d.wav"}, {"e.wav"}, {"f.wav"}});
  }
  static int32_t CurrentEntry(int32_t kind) { return *LiveRunnerSounds().currentEntry[kind]; }
  static int32_t LoadedSoundEffects() {
    return static_cast<int32_t>(std::count_if(GameSounds.handles[2].begin(), GameSounds.handles[2].end(),
                                              [](const auto& e) { return e.second != 0; }));
  }
};

TEST_F(SoundManagerTest, PlayingTheMusicPlayingAgainChangesNothing) {
  UseStandardSounds();
  GameSounds.Play(0, 0, 0, 0);
  const int handle = GameSounds.HandleOf(0, 0);
  ASSERT_NE(handle, 0);
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  Updates(2);
  ManualClockSound::Mix(300);
  const SoundManager before = GameSounds;
  const int playedMs = GetSoundPlayTime(handle);
  GameSounds.Play(0, 0, 30, 700);
  EXPECT_EQ(GameSounds, before) << "another fade and position change nothing either";
  EXPECT_EQ(GetSoundPlayTime(handle), playedMs);
  EXPECT_EQ(ManualClockSound::VolumeOf(handle), Db(100));
}

TEST_F(SoundManagerTest, StoppingWithoutFadeDeletesAtOnceAndWithAFadeAtItsEnd) {
  UseStandardSounds();
  GameSounds.Play(0, 0, 0, 0);
  const int first = GameSounds.HandleOf(0, 0);
  GameSounds.Update();
  GameSounds.Play(0, -1, 0, 0);
  EXPECT_EQ(IsSoundPlaying(first), -1) << "deleted";
  EXPECT_EQ(GameSounds.HandleOf(0, 0), 0);
  EXPECT_EQ(CurrentEntry(0), -1);

  GameSounds.Play(0, 1, 0, 0);
  const int second = GameSounds.HandleOf(0, 1);
  Updates(2);
  ASSERT_EQ(ManualClockSound::VolumeOf(second), Db(100));
  GameSounds.Play(0, -1, 3, 0);
  // A fade of 3 runs over 4 frames down from the volume it had.
  for (int volume : {100, 75, 50, 25}) {
    GameSounds.Update();
    EXPECT_EQ(ManualClockSound::VolumeOf(second), Db(volume)) << volume;
  }
  EXPECT_EQ(IsSoundPlaying(second), 1);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(second), -1) << "freed as the fade ends";
  EXPECT_EQ(GameSounds.fades[0].counter, -1);
}

TEST_F(SoundManagerTest, ACrossFadeMovesBothVolumesFrameByFrame) {
  UseStandardSounds();
  *LiveRunnerSounds().masterVolume = 50;
  SystemDatabase.SetInt(1, 1, 1, 80);
  GameSounds.Play(0, 0, 0, 0);
  const int a = GameSounds.HandleOf(0, 0);
  Updates(2);
  GameSounds.Play(0, 1, 2, 0);
  const int b = GameSounds.HandleOf(0, 1);
  EXPECT_EQ(ManualClockSound::VolumeOf(b), Db(0)) << "starts silent";
  // a from 50 down, b up to 80 x 50 %.
  const int expected[][2] = {{50, 0}, {33, 13}, {16, 26}, {0, 40}};
  for (const auto& step : expected) {
    GameSounds.Update();
    if (step[0] > 0) {
      EXPECT_EQ(ManualClockSound::VolumeOf(a), Db(step[0]));
    }
    EXPECT_EQ(ManualClockSound::VolumeOf(b), Db(step[1]));
  }
  EXPECT_EQ(IsSoundPlaying(a), -1);
  EXPECT_EQ(SoundEntryCounts.baseVolume[0], 80);
  EXPECT_EQ(LiveRunnerSounds().values[0][0], 80);
  EXPECT_EQ(*LiveRunnerSounds().fileName[0], "b.wav");
}

TEST_F(SoundManagerTest, AFadeOfMinusOneRunsOverOneFrame) {
  UseStandardSounds();
  GameSounds.Play(1, 0, -1, 0);
  EXPECT_EQ(GameSounds.fades[1].length, 1);
  const int handle = GameSounds.HandleOf(1, 0);
  Updates(2);
  EXPECT_EQ(ManualClockSound::VolumeOf(handle), Db(100));
  GameSounds.Play(1, -1, -5, 0);
  Updates(2);
  EXPECT_EQ(IsSoundPlaying(handle), -1);
}

TEST_F(SoundManagerTest, SoundEffectsStartAfterTheirDelay) {
  UseStandardSounds();
  const struct {
    int32_t delay;
    int32_t frameRate;  // 60 frames a second counts delays by 1, 30 by 2
    int updatesUntilPlaying;
  } cases[] = {{0, 60, 1}, {1, 60, 2}, {3, 60, 4}, {3, 30, 3}, {4, 30, 3}};
  for (const auto& c : cases) {
    GameInformation.settingBytes[GameInfo::kFramesPerSecond] = static_cast<uint8_t>(c.frameRate);
    GameSounds.Play(2, 0, c.delay, 0);
    const int handle = GameSounds.HandleOf(2, 0);
    for (int update = 1; update <= 5; ++update) {
      GameSounds.Update();
      EXPECT_EQ(IsSoundPlaying(handle) == 1, update >= c.updatesUntilPlaying) << c.delay << " " << update;
    }
    HaltSound(handle);
    GameSounds.Update();
    EXPECT_TRUE(GameSounds.queue.empty());
  }
  GameInformation.settingBytes[GameInfo::kFramesPerSecond] = 0;
}

TEST_F(SoundManagerTest, StopAllHaltsTheSoundEffectsAndDropsTheRequestsAfterIt) {
  UseStandardSounds();
  GameSounds.Play(2, 0, 0, 0);
  GameSounds.Play(2, 65535, 1, 0);
  GameSounds.Play(2, 1, 1, 0);
  const int first = GameSounds.HandleOf(2, 0);
  const int later = GameSounds.HandleOf(2, 1);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(first), 1);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(first), 0);
  EXPECT_TRUE(GameSounds.queue.empty());
  Updates(3);
  EXPECT_EQ(IsSoundPlaying(later), 0) << "queued after the stop";
}

TEST_F(SoundManagerTest, ASoundEffectMarkedToBeFreedIsFreedOnceItEnds) {
  UseStandardSounds();
  SystemDatabase.SetInt(3, 1, 3, 1);
  GameSounds.Play(2, 1, 0, 0);
  const int handle = GameSounds.HandleOf(2, 1);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  ManualClockSound::Mix(60);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(handle), -1);
  EXPECT_EQ(GameSounds.HandleOf(2, 1), 0);
  EXPECT_TRUE(GameSounds.queue.empty());
}

TEST_F(SoundManagerTest, ThePlayersSoundSettingSwitchesKindsOff) {
  UseStandardSounds();
  const struct {
    int32_t setting;
    bool music, effects;
  } cases[] = {{0, false, false}, {1, false, true}, {2, true, false}, {3, true, true}};
  for (const auto& c : cases) {
    Settings.soundSwitch = c.setting;
    GameSounds = SoundManager();
    DeleteAllSounds(0);
    *LiveRunnerSounds().currentEntry[0] = -1;
    GameSounds.Play(0, 1, 0, 0);
    GameSounds.Play(2, 1, 0, 0);
    GameSounds.Update();
    EXPECT_EQ(CurrentEntry(0), 1) << "the music is recorded whatever the setting: " << c.setting;
    EXPECT_EQ(GameSounds.HandleOf(0, 1) != 0, c.music) << c.setting;
    EXPECT_EQ(IsSoundPlaying(GameSounds.HandleOf(2, 1)) == 1, c.effects) << c.setting;
  }
}

TEST_F(SoundManagerTest, FilesTakeTheSpareEntriesInTurn) {
  UseStandardSounds();
  WriteData("song.wav", Tone(1000));
  WriteData("tick.wav", Tone(20));
  // Text: the name, then volume, tempo and loop start lines; CRs do not count.
  EXPECT_EQ(GameSounds.PlayFile("song.wav\r\n50\r\n80\r\n250", 0, 5, 0, 100, 100), 2);
  EXPECT_EQ(SystemDatabase.GetString(1, 2, 0), "Data\\song.wav");
  EXPECT_EQ(SystemDatabase.GetInt(1, 2, 1), 50);
  EXPECT_EQ(SystemDatabase.GetInt(1, 2, 2), 80);
  EXPECT_EQ(SystemDatabase.GetInt(1, 2, 3), 250);
  EXPECT_EQ(SystemDatabase.GetInt(1, 0, 1), 100) << "the game's own entries stay";
  for (const char* refused : {"", "\n", "a\n"}) EXPECT_EQ(GameSounds.PlayFile(refused, 2, 0, 0, 100, 100), -1);
  for (int round = 0; round < 10; ++round) {
    EXPECT_EQ(GameSounds.PlayFile("tick.wav", 2, 0, 0, 100, 100), 3 + round % 10);
  }
  EXPECT_EQ(GameSounds.PlayFile("tick.wav", 2, 0, 0, 100, 100), 3) << "round again";
  EXPECT_EQ(GameSounds.loadedFiles.size(), 2u) << "each file loaded once";
  EXPECT_TRUE(errors.empty());
  GameSounds.PlayFile("nothing.wav", 2, 0, 0, 100, 100);
  EXPECT_EQ(errors, (std::vector<std::string>{"音声ファイル読み込みエラー", "ｻｳﾝﾄﾞ:ﾌｧｲﾙ「Data\\nothing.wav」が見つかりません\n", ""}));
}

TEST_F(SoundManagerTest, TheSameFilePlayingIsOnlyAdjusted) {
  UseStandardSounds();
  WriteData("song.wav", Tone(1000));
  const int32_t entry = GameSounds.PlayFile("song.wav", 0, 0, 0, 100, 100);
  GameSounds.Play(0, entry, 0, 0);
  const int handle = GameSounds.HandleOf(0, entry);
  Updates(2);
  EXPECT_EQ(GameSounds.PlayFile("song.wav", 0, 1, 0, 60, 150), SoundManager::kAdjusted);
  EXPECT_EQ(GetSoundFrequency(handle), 22050) << "the sound's own rate stays its rate";
  Updates(3);
  EXPECT_EQ(ManualClockSound::VolumeOf(handle), Db(60));
  EXPECT_EQ(GameSounds.fades[0].percent, 150);
  EXPECT_EQ(LiveRunnerSounds().values[0][0], 60);
  EXPECT_EQ(LiveRunnerSounds().values[0][1], 150);
  EXPECT_EQ(SoundEntryCounts.fileCount[0], 1) << "no spare entry taken";
}

TEST_F(SoundManagerTest, MusicAndBackgroundSoundOfOneFileShareAHandle) {
  UseStandardSounds();
  WriteData("wind.wav", Tone(1000));
  const int32_t music = GameSounds.PlayFile("wind.wav", 0, 0, 0, 100, 100);
  GameSounds.Play(0, music, 0, 0);
  const int32_t background = GameSounds.PlayFile("wind.wav", 1, 0, 0, 100, 100);
  EXPECT_NE(GameSounds.HandleOf(0, music), 0);
  EXPECT_EQ(GameSounds.HandleOf(1, background), GameSounds.HandleOf(0, music));
  EXPECT_EQ(GameSounds.loadedFiles.size(), 1u);
}

TEST_F(SoundManagerTest, AReleasedFileSoundLoadsAgainWhenPlayedByNameAgain) {
  UseStandardSounds();
  WriteData("tick.wav", Tone(20));
  const int32_t entry = GameSounds.PlayFile("tick.wav", 2, 0, 0, 100, 100);
  const int first = GameSounds.HandleOf(2, entry);
  EXPECT_TRUE(GameSounds.Release(2, entry));
  EXPECT_FALSE(GameSounds.Release(2, entry));
  EXPECT_TRUE(GameSounds.loadedFiles.empty()) << "no deleted handle stays under its name";
  const int32_t again = GameSounds.PlayFile("tick.wav", 2, 0, 0, 100, 100);
  GameSounds.Play(2, again, 0, 0);
  GameSounds.Update();
  const int second = GameSounds.HandleOf(2, again);
  EXPECT_NE(second, first);
  EXPECT_EQ(IsSoundPlaying(second), 1);
}

TEST_F(SoundManagerTest, LoadReleaseAndTheMissingFileMessage) {
  UseStandardSounds();
  EXPECT_TRUE(GameSounds.Load(2, 0));
  const int handle = GameSounds.HandleOf(2, 0);
  EXPECT_EQ(IsSoundPlaying(handle), 0) << "loaded, not played";
  EXPECT_TRUE(GameSounds.Release(2, 0));
  EXPECT_EQ(IsSoundPlaying(handle), -1);
  EXPECT_FALSE(GameSounds.Release(2, -1));

  GameSounds.Play(0, 0, 0, 0);
  EXPECT_FALSE(GameSounds.Release(0, 0)) << "the music playing stays";

  SystemDatabase.SetString(2, 0, 0, "missing.wav");
  SystemDatabase.SetString(3, 2, 0, "");
  GameSounds.Load(2, 2);
  EXPECT_TRUE(errors.empty()) << "no file named, no message";
  GameSounds.Play(1, 0, 0, 0);
  EXPECT_EQ(errors, (std::vector<std::string>{"音声ファイル読み込みエラー",
                                              "ｼｽﾃﾑDBﾀｲﾌﾟ2-0:Data\\missing.wav が見つかりません\n",
                                              ErrorLocationText()}));
  EXPECT_EQ(CurrentEntry(1), -1);
}

TEST_F(SoundManagerTest, ReleasingWhatDoesNotPlayKeepsWhatPlaysOrWaits) {
  UseStandardSounds();
  GameSounds.Play(0, 0, 0, 0);
  GameSounds.Load(1, 0);
  GameSounds.Load(2, 1);
  GameSounds.Play(2, 2, 50, 0);
  GameSounds.Update();
  GameSounds.ReleaseHandles(false);
  EXPECT_NE(GameSounds.HandleOf(0, 0), 0) << "playing";
  EXPECT_EQ(GameSounds.HandleOf(1, 0), 0);
  EXPECT_EQ(GameSounds.HandleOf(2, 1), 0);
  EXPECT_NE(GameSounds.HandleOf(2, 2), 0) << "queued";
  EXPECT_EQ(GameSounds.CountLoadedSounds(), 2);
  GameSounds.ReleaseHandles(true);
  EXPECT_EQ(GameSounds.CountLoadedSounds(), 0);
}

TEST_F(SoundManagerTest, IdleSoundEffectsAreFreedOnceMoreThanThirtyAreLoaded) {
  std::vector<SoundRecord> effects{{"long.wav"}};
  for (int i = 0; i < 40; ++i) effects.push_back({"short" + std::to_string(i) + ".wav"});
  WriteData("long.wav", Tone(3000));
  for (int i = 0; i < 40; ++i) WriteData("short" + std::to_string(i) + ".wav", Tone(10));
  UseSounds({}, {}, effects);
  GameSounds.Play(2, 0, 0, 0);
  GameSounds.Update();
  const int playing = GameSounds.HandleOf(2, 0);
  GameSounds.Play(2, 40, 1000, 0);
  const int waiting = GameSounds.HandleOf(2, 40);
  for (int32_t entry = 1; entry < 40; ++entry) {
    GameSounds.Play(2, entry, 0, 0);
    GameSounds.Update();
    ManualClockSound::Mix(20);
    EXPECT_LE(LoadedSoundEffects(), 31);
  }
  EXPECT_EQ(IsSoundPlaying(playing), 1);
  EXPECT_EQ(IsSoundPlaying(waiting), 0) << "still loaded while queued";
}

TEST_F(SoundManagerTest, EntriesBeyondTheMarkTablesReadNoMark) {
  WriteData("late.ogg", Tone(1000));
  UseSounds({{"a.wav"}}, {}, {});
  // The database grows after the tables were sized.
  ASSERT_TRUE(SystemDatabase.SetDataCount(1, 60));
  SystemDatabase.SetString(1, 50, 0, "late.ogg");
  SoundEntryCounts.baseCount[0] = 55;
  GameSounds.Play(0, 50, 0, 0);
  EXPECT_NE(GameSounds.HandleOf(0, 50), 0);
  EXPECT_EQ(GameSounds.OggLengthCorrection(0), 0);
  // A spare entry beyond the tables as well.
  EXPECT_EQ(GameSounds.PlayFile("late.ogg", 0, 0, 0, 100, 100), 55);
  GameSounds.Play(0, 55, 0, 0);
  EXPECT_EQ(GameSounds.OggLengthCorrection(0), 0);
}

TEST_F(SoundManagerTest, TheScanPassesOverTypesWithoutItems) {
  UseSounds({}, {}, {});
  for (int32_t type = 1; type <= 3; ++type) {
    SystemDatabase.typeData[static_cast<size_t>(type)] = MakeTypeData({}, 0);
    ASSERT_TRUE(SystemDatabase.SetDataCount(type, 10));
  }
  SoundEntryCounts.baseCount[0] = 10;
  MidiAvailable = 1;
  GameSounds.Play(0, -1, 0, 0);
  EXPECT_EQ(GameSounds.scanned, 1);
  EXPECT_TRUE(errors.empty());
}

TEST_F(SoundManagerTest, OggMusicAndBackgroundSoundsAreCorrectedBySecond) {
  const std::string ogg = EncodeOggVorbis(SineSamples(22050, 1, 22050, 330, 9000), 1, 22050);
  WriteData("m.ogg", ogg);
  WriteData("b.OGG", ogg);
  WriteData("m.wav", Tone(500));
  UseSounds({{"m.ogg"}, {"m.wav"}}, {{"b.OGG"}}, {});
  GameSounds.Play(0, 0, 0, 0);
  GameSounds.Play(1, 0, 0, 0);
  EXPECT_EQ(GameSounds.OggLengthCorrection(0), -1000);
  EXPECT_EQ(GameSounds.OggLengthCorrection(1), -1000);
  GameSounds.Play(0, 1, 0, 0);
  EXPECT_EQ(GameSounds.OggLengthCorrection(0), 0);
  EXPECT_EQ(GameSounds.OggLengthCorrection(2), 0);
}

}  // namespace
