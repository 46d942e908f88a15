// Speech through a stand-in library that turns text into a WAV image: the
// spare sound-effect entries it takes, shared with sound-effect files, and
// the library's presence.

#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SpeechLibrary.h"
#include "runtime/Movan.h"
#include "tests/engine/sound/SoundTestFixture.h"

namespace {

struct FakeSpeech {
  std::vector<std::string> texts;
  std::vector<int32_t> speeds;
  int outstanding = 0;
  bool fail = false;
  std::string wave;
};
FakeSpeech speech;

const unsigned char* Synthesize(const char* text, int32_t speed, int32_t* size) {
  speech.texts.push_back(text);
  speech.speeds.push_back(speed);
  if (speech.fail) return nullptr;
  ++speech.outstanding;
  *size = static_cast<int32_t>(speech.wave.size());
  return reinterpret_cast<const unsigned char*>(speech.wave.data());
}
void FreeWave(const unsigned char*) { --speech.outstanding; }

const SpeechLibraryEntries kLibrary{Synthesize, FreeWave};

class SpeechTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    speech = FakeSpeech();
    speech.wave = Tone(30);
    SetSpeechLibraryFile(&kLibrary);
    ASSERT_TRUE(SpeechDllExists());
    ASSERT_TRUE(LoadSpeechDll());
    UseSounds({}, {}, {{"a.wav"}, {"b.wav"}});
  }
  void TearDown() override {
    UnloadSpeechDll();
    SetSpeechLibraryFile(nullptr);
    EXPECT_EQ(speech.outstanding, 0) << "every image given back";
    SoundTest::TearDown();
  }
};

TEST_F(SpeechTest, ATextBecomesASoundEffectInTheNextSpareEntry) {
  const int32_t entry = GameSounds.SynthesizeSpeech("こんにちは", 100, 80, 50);
  EXPECT_EQ(entry, 2);
  EXPECT_EQ(speech.texts, std::vector<std::string>{"こんにちは"});
  EXPECT_EQ(speech.speeds, std::vector<int32_t>{200}) << "speed x 100 / tempo";
  EXPECT_EQ(SystemDatabase.GetString(3, 2, 0), "合成音声");
  EXPECT_EQ(SystemDatabase.GetInt(3, 2, 1), 80);
  EXPECT_EQ(SystemDatabase.GetInt(3, 2, 2), 50);
  EXPECT_EQ(SystemDatabase.GetInt(3, 2, 3), 1);
  EXPECT_EQ(GameSounds.speechMarks, (std::vector<int32_t>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // Played like any sound effect, and freed once it has.
  GameSounds.Play(2, entry, 0, 0);
  const int handle = GameSounds.HandleOf(2, entry);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  ManualClockSound::Mix(100);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(handle), -1);
}

TEST_F(SpeechTest, TempoBelowTwentyCountsAsTwenty) {
  for (int32_t tempo : {0, -30, 19}) {
    const int32_t entry = GameSounds.SynthesizeSpeech("a", 40, 100, tempo);
    EXPECT_EQ(SystemDatabase.GetInt(3, entry, 2), 20) << tempo;
    EXPECT_EQ(speech.speeds.back(), 200) << tempo;
  }
}

TEST_F(SpeechTest, ElevenTextsReuseTheTenEntriesReleasingWhatIsHeldThere) {
  std::vector<int> handles;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(GameSounds.SynthesizeSpeech("t", 100, 100, 100), 2 + i);
    handles.push_back(GameSounds.HandleOf(2, 2 + i));
  }
  EXPECT_EQ(GameSounds.SynthesizeSpeech("t", 100, 100, 100), 2);
  EXPECT_EQ(IsSoundPlaying(handles[0]), -1) << "the first sound was released";
  EXPECT_EQ(IsSoundPlaying(handles[1]), 0);
  EXPECT_NE(GameSounds.HandleOf(2, 2), handles[0]);
}

TEST_F(SpeechTest, SpeechAndSoundEffectFilesShareTheSpareEntries) {
  WriteData("tick.wav", Tone(20));
  EXPECT_EQ(GameSounds.PlayFile("tick.wav", 2, 0, 0, 100, 100), 2);
  EXPECT_EQ(GameSounds.SynthesizeSpeech("t", 100, 100, 100), 3);
  const int fileSound = GameSounds.HandleOf(2, 2);
  // Round the ring: speech takes the file's entry and releases its sound...
  for (int i = 0; i < 8; ++i) GameSounds.SynthesizeSpeech("t", 100, 100, 100);
  EXPECT_EQ(GameSounds.SynthesizeSpeech("t", 100, 100, 100), 2);
  EXPECT_EQ(IsSoundPlaying(fileSound), -1);
  // ... and a file takes a speech entry, releasing the speech held there.
  const int spoken = GameSounds.HandleOf(2, 3);
  EXPECT_EQ(GameSounds.PlayFile("tick.wav", 2, 0, 0, 100, 100), 3);
  EXPECT_EQ(IsSoundPlaying(spoken), -1);
  EXPECT_EQ(GameSounds.speechMarks[3], 0);
  GameSounds.Play(2, 3, 0, 0);
  GameSounds.Update();
  EXPECT_EQ(IsSoundPlaying(GameSounds.HandleOf(2, 3)), 1) << "the file loads anew";
}

TEST_F(SpeechTest, NothingSynthesizedChangesNothing) {
  speech.fail = true;
  EXPECT_EQ(GameSounds.SynthesizeSpeech("t", 100, 100, 100), -10);
  EXPECT_EQ(SoundEntryCounts.fileCount[2], 0);
  EXPECT_EQ(SystemDatabase.GetString(3, 2, 0), "");
  EXPECT_EQ(GameSounds.HandleOf(2, 2), 0);
}

TEST(SpeechLibraryTest, PresenceLoadingAndAMissingEntryPoint) {
  std::vector<std::string> boxes;
  static std::vector<std::string>* seen;
  seen = &boxes;
  SetMessageBoxHook([](const char* text, const char* title) { seen->insert(seen->end(), {text, title}); });
  SetSpeechLibraryFile(nullptr);
  EXPECT_FALSE(SpeechDllExists());
  EXPECT_FALSE(LoadSpeechDll());
  EXPECT_FALSE(SpeechAvailable());
  EXPECT_TRUE(boxes.empty()) << "no library, no message";

  const SpeechLibraryEntries withoutSynthesis{nullptr, FreeWave};
  SetSpeechLibraryFile(&withoutSynthesis);
  EXPECT_FALSE(LoadSpeechDll());
  EXPECT_FALSE(SpeechAvailable());
  EXPECT_EQ(boxes, (std::vector<std::string>{"AquesTalk.dllは存在しましたが、関数が読み込めませんでした。", "DLL読み込みエラー"}));
  EXPECT_TRUE(UnloadSpeechDll());

  SetSpeechLibraryFile(&kLibrary);
  EXPECT_TRUE(LoadSpeechDll());
  EXPECT_TRUE(LoadSpeechDll()) << "already loaded";
  EXPECT_TRUE(SpeechAvailable());
  EXPECT_TRUE(UnloadSpeechDll());
  EXPECT_FALSE(SpeechAvailable());
  int32_t size = 0;
  EXPECT_EQ(SpeechSynthesize("t", 1, &size), nullptr);
  SetSpeechLibraryFile(nullptr);
  SetMessageBoxHook(nullptr);
}

}  // namespace
