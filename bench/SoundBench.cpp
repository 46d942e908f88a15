// Sound under the manual clock. The mixer: 32 looping buffers of mixed
// rates, widths and volumes mixed into 60 s of 44.1 kHz stereo in 1024-frame
// pulls, as the audio thread does; the figure is the share of one core that
// takes. The stream refill: 3-minute Ogg Vorbis and MPEG audio stream sounds
// played through, with the time of each message-pump pass's refill; p50, p99
// and the worst pass in microseconds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/host/system/Clock.h"
#include "runtime/host/sound/SoundDevice.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "tests/support/MpegFixture.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"

namespace {

constexpr uint32_t kMixRate = 44100;

class ManualSoundSystem {
 public:
  ManualSoundSystem() {
    EnableLogOutput(0);
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    InitSoundSystem();
  }
  ~ManualSoundSystem() {
    TermSoundSystem();
    HostSoundSetOutput(HostSoundOutput::kSdl);
  }
};

void BM_Mix32BuffersFor60Seconds(benchmark::State& state) {
  ManualSoundSystem system;
  const uint32_t rates[] = {11025, 22050, 32000, 44100, 48000, 16000, 8000, 24000};
  std::vector<HostSoundBuffer*> buffers;
  for (int i = 0; i < 32; ++i) {
    const uint16_t channels = static_cast<uint16_t>(1 + i % 2);
    const uint16_t bits = i % 4 == 3 ? 8 : 16;
    const uint32_t rate = rates[i % 8];
    const WaveFormat format = PcmWaveFormat(channels, rate, bits);
    const uint32_t bytes = rate * format.blockAlign * (1 + i % 3);
    HostSoundBuffer* b = HostSoundCreateBuffer(format, bytes, kHostSoundCtrlVolume | kHostSoundCtrlFrequency);
    void* p1;
    void* p2;
    uint32_t n1, n2;
    HostSoundLock(b, 0, bytes, &p1, &n1, &p2, &n2);
    for (uint32_t k = 0; k < n1; ++k) static_cast<unsigned char*>(p1)[k] = static_cast<unsigned char>(k * 37 + i);
    HostSoundUnlock(b, n1, n2);
    HostSoundSetVolume(b, -(i * 300) % 5000);
    HostSoundPlay(b, true);
    buffers.push_back(b);
  }
  std::vector<int16_t> out(1024 * 2);
  const uint32_t frames = kMixRate * 60;
  for (auto _ : state) {
    for (uint32_t done = 0; done < frames; done += 1024) HostSoundMixManual(out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
  }
  // Percent of one core: elapsed / (iterations x 60 s) x 100.
  state.counters["core_share_%"] =
      benchmark::Counter(0.6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  for (HostSoundBuffer* b : buffers) HostSoundReleaseBuffer(b);
}
BENCHMARK(BM_Mix32BuffersFor60Seconds)->Unit(benchmark::kMillisecond)->UseRealTime();

const std::vector<int16_t>& ThreeMinutes() {
  static const std::vector<int16_t> samples = SineSamples(kMixRate * 180, 2, kMixRate, 330, 9000);
  return samples;
}

void RefillThroughout(benchmark::State& state, const std::string& file) {
  ManualSoundSystem system;
  SetSoundLoadMode(2);
  std::vector<double> passes;
  for (auto _ : state) {
    const int handle = CreateSoundFromMemory(file.data(), file.size(), 1, -1);
    StartSound(handle, 1, 1);
    std::vector<int16_t> out(735 * 2);
    for (uint32_t played = 0; played < kMixRate * 180; played += 735) {
      HostSoundMixManual(out.data(), 735);
      const uint64_t start = HostCounter();
      RefillAllStreamSounds();
      passes.push_back(static_cast<double>(HostCounter() - start) * 1e6 / static_cast<double>(HostCounterFrequency()));
    }
    DeleteSound(handle, 0);
  }
  std::sort(passes.begin(), passes.end());
  state.counters["pass_p50_us"] = passes[passes.size() / 2];
  state.counters["pass_p99_us"] = passes[passes.size() * 99 / 100];
  state.counters["pass_max_us"] = passes.back();
}

void BM_RefillOggStreamPerPass(benchmark::State& state) {
  static const std::string file = EncodeOggVorbis(ThreeMinutes(), 2, kMixRate);
  RefillThroughout(state, file);
}
BENCHMARK(BM_RefillOggStreamPerPass)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RefillMp3StreamPerPass(benchmark::State& state) {
  static const std::string file = EncodeMp3(ThreeMinutes(), 2, kMixRate, 128);
  RefillThroughout(state, file);
}
BENCHMARK(BM_RefillMp3StreamPerPass)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
