#include "tests/engine/sound/SoundTestFixture.h"

#include "engine/data/database/Databases.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/StartupSettings.h"
#include "engine/sound/MidiLibrary.h"
#include "engine/sound/RunnerSounds.h"
#include "engine/sound/SoundEntries.h"
#include "runtime/Movan.h"
#include "tests/support/WaveWriter.h"

std::vector<std::string> SoundTest::errors;
std::vector<std::string> SoundTest::boxes;

namespace {

void ResetRunnerSounds() {
  SetRunnerSoundsSource(nullptr);
  const RunnerSounds r = LiveRunnerSounds();
  for (int kind = 0; kind < 2; ++kind) {
    *r.currentEntry[kind] = -1;
    r.fileName[kind]->clear();
    for (int i = 0; i < 3; ++i) r.values[kind][i] = 0;
  }
  for (int i = 0; i < 3; ++i) r.masterVolume[i] = 100;
}

}  // namespace

void SoundTest::SetUp() {
  errors.clear();
  boxes.clear();
  SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
    errors.insert(errors.end(), {a, b, c});
  });
  SetMessageBoxHook([](const char* text, const char* title) { boxes.insert(boxes.end(), {text, title}); });
  Settings.soundSwitch = 3;
  MidiAvailable = 0;
  ResetRunnerSounds();
  SystemDatabase = Database();
  SoundEntryCounts = SoundEntries();
  GameSounds = SoundManager();
}

void SoundTest::TearDown() {
  MidiShutdown();
  SetMidiPlayerLibraryName(nullptr);
  SetMidiPlayerSoundFont(nullptr);
  GameSounds = SoundManager();
  SoundEntryCounts = SoundEntries();
  SystemDatabase = Database();
  ResetRunnerSounds();
  Settings.soundSwitch = 3;
  MidiAvailable = 0;
  SetMessageBoxHook(nullptr);
  SetErrorScreenHandler(nullptr);
}

void SoundTest::UseSounds(const std::vector<SoundRecord>& music, const std::vector<SoundRecord>& backgroundSounds,
                          const std::vector<SoundRecord>& soundEffects) {
  WriteSoundTypes(SystemDatabase, music, backgroundSounds, soundEffects);
  SoundEntryCounts.StoreBaseRecordCounts();
  GameSounds.ResizeTables();
}

void SoundTest::WriteData(const std::string& name, const std::string& bytes) const { dir_.Write("Data/" + name, bytes); }

std::string SoundTest::Tone(uint32_t ms) {
  return WaveFile(PcmFormatChunk(1, 22050, 16), PcmBytes(SineSamples(22050 * ms / 1000, 1, 22050, 440, 12000)));
}

void SoundTest::Updates(int n) {
  for (int i = 0; i < n; ++i) GameSounds.Update();
}
