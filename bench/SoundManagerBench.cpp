// The sound manager's update once a frame with 16 sound effects, music and
// a background sound playing, both fading, beside the layer calls that
// update makes alone; and the MIDI player's cost per second of audio (the
// mixer's pull with the synthesizer rendering into it) beside FluidSynth's
// own fluid_synth_write_float for the same tune, in the same run.

#include <benchmark/benchmark.h>

#include <fluidsynth.h>

#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"
#include "runtime/host/midi/MidiSynth.h"
#include "runtime/host/sound/SoundDevice.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/ManualClockSound.h"
#include "tests/support/MidiFileWriter.h"
#include "tests/support/SoundDatabase.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/WaveWriter.h"

namespace {

std::string Tone(uint32_t seconds, uint32_t rate, int channels) {
  return WaveFile(PcmFormatChunk(static_cast<uint16_t>(channels), rate, 16),
                  PcmBytes(SineSamples(rate * seconds, channels, rate, 440, 9000)));
}

class PlayingGame {
 public:
  PlayingGame() {
    EnableLogOutput(0);
    dir_.Write("Data/music.wav", Tone(60, 44100, 2));
    dir_.Write("Data/rain.wav", Tone(60, 22050, 1));
    std::vector<SoundRecord> effects;
    for (int i = 0; i < 16; ++i) {
      const std::string name = "se" + std::to_string(i) + ".wav";
      dir_.Write("Data/" + name, Tone(60, 22050, 1));
      effects.push_back({name, 90, 100, 1});  // freed once played: stays queued while it plays
    }
    WriteSoundTypes(SystemDatabase, {{"music.wav"}}, {{"rain.wav"}}, effects);
    SoundEntryCounts.StoreBaseRecordCounts();
    GameSounds = SoundManager();
    GameSounds.ResizeTables();
    for (int32_t e = 0; e < 16; ++e) GameSounds.Play(2, e, 0, 0);
    // Fades longer than the run: every update sets the volumes.
    GameSounds.Play(0, 0, 1 << 30, 0);
    GameSounds.Play(1, 0, 1 << 30, 0);
    GameSounds.Update();
  }
  ~PlayingGame() {
    GameSounds = SoundManager();
    DeleteAllSounds(0);
    SystemDatabase = Database();
  }

 private:
  TestDirectory dir_;
  ScopedCurrentDirectory cwd_{dir_.Path()};
  ManualClockSound sound_;
};

void BM_ManagerUpdate16EffectsMusicAndBackground(benchmark::State& state) {
  PlayingGame game;
  for (auto _ : state) GameSounds.Update();
  state.counters["queued"] = static_cast<double>(GameSounds.queue.size());
}
BENCHMARK(BM_ManagerUpdate16EffectsMusicAndBackground)->Unit(benchmark::kMicrosecond);

// What that update asks of the layer, called straight.
void BM_LayerCallsOfOneUpdate(benchmark::State& state) {
  PlayingGame game;
  std::vector<int> effects;
  for (const auto& e : GameSounds.handles[2]) effects.push_back(e.second);
  const int music = GameSounds.fades[0].currentHandle;
  const int rain = GameSounds.fades[1].currentHandle;
  for (auto _ : state) {
    SetSoundVolume(50, music);
    SetSoundVolume(50, rain);
    for (int handle : effects) benchmark::DoNotOptimize(IsSoundPlaying(handle));
  }
}
BENCHMARK(BM_LayerCallsOfOneUpdate)->Unit(benchmark::kMicrosecond);

// Sixteen bars of four-note chords on two channels.
const std::string& Tune() {
  static const std::string tune = [] {
    std::vector<MidiNote> notes;
    for (uint32_t bar = 0; bar < 16; ++bar) {
      for (uint8_t k : {0, 4, 7, 12}) notes.push_back({bar * 1920, 1900, 0, static_cast<uint8_t>(48 + bar % 5 + k), 90});
      for (uint32_t beat = 0; beat < 4; ++beat) notes.push_back({bar * 1920 + beat * 480, 400, 1, 72, 100});
    }
    return BuildMidiFile(480, 500000, notes, {{0, 0}, {1, 40}});
  }();
  return tune;
}

constexpr uint32_t kSecond = 44100;

void BM_MidiPlayerOneSecondThroughTheMixer(benchmark::State& state) {
  HostSoundSetOutput(HostSoundOutput::kManualClock);
  HostSoundCreateDevice();
  HostSoundOpenDevice();
  std::string missing;
  if (!HostMidiFind(missing) || !HostMidiOpen() ||
      !HostMidiReadList(1, reinterpret_cast<const unsigned char*>(Tune().data()), Tune().size())) {
    state.SkipWithError(("MIDI player missing: " + missing).c_str());
    return;
  }
  HostMidiPlay(1, 0);
  std::vector<int16_t> out(1024 * 2);
  for (auto _ : state) {
    for (uint32_t done = 0; done < kSecond; done += 1024) HostSoundMixManual(out.data(), 1024);
  }
  HostMidiClose();
  HostSoundCloseDevice();
  HostSoundSetOutput(HostSoundOutput::kSdl);
}
BENCHMARK(BM_MidiPlayerOneSecondThroughTheMixer)->Unit(benchmark::kMillisecond);

void BM_FluidSynthWriteFloatOneSecond(benchmark::State& state) {
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", kSecond);
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_settings_setint(settings, "synth.lock-memory", 0);
  fluid_synth_t* synth = new_fluid_synth(settings);
  char font[1024] = {};
  fluid_settings_copystr(settings, "synth.default-soundfont", font, sizeof font);
  if (fluid_synth_sfload(synth, font, 1) == FLUID_FAILED) {
    state.SkipWithError("no SoundFont");
    return;
  }
  fluid_player_t* player = new_fluid_player(synth);
  fluid_player_add_mem(player, Tune().data(), Tune().size());
  fluid_player_set_loop(player, -1);
  fluid_player_play(player);
  std::vector<float> out(1024 * 2);
  for (auto _ : state) {
    for (uint32_t done = 0; done < kSecond; done += 1024) {
      fluid_synth_write_float(synth, 1024, out.data(), 0, 2, out.data(), 1, 2);
    }
  }
  fluid_player_stop(player);
  delete_fluid_player(player);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
}
BENCHMARK(BM_FluidSynthWriteFloatOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
