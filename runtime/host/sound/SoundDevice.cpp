#include "runtime/host/sound/SoundDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "runtime/host/sound/SoundMixer.h"

namespace {

constexpr uint32_t kMixChunkFrames = 1024;

struct Generator {
  HostSoundFill fill;
  void* context;
};

struct Device {
  std::mutex mutex;
  HostSoundOutput output = HostSoundOutput::kSdl;
  bool created = false;
  bool open = false;
  HostSoundOutput openOutput = HostSoundOutput::kSdl;
  SDL_AudioDeviceID sdl = 0;
  std::vector<HostSoundBuffer*> buffers;  // every live buffer
  std::vector<HostSoundBuffer*> playing;
  std::vector<Generator> generators;
};

Device& Dev() {
  static Device device;
  return device;
}

void RemovePlaying(Device& d, HostSoundBuffer* b) {
  auto it = std::find(d.playing.begin(), d.playing.end(), b);
  if (it != d.playing.end()) d.playing.erase(it);
  b->playing = false;
  --b->memory->playing;
}

// With the lock held: mixes frames into out (null: the cursors only move).
void MixLocked(Device& d, int16_t* out, uint32_t frames) {
  int32_t acc[kMixChunkFrames * kHostMixChannels];
  float made[kMixChunkFrames * kHostMixChannels];
  while (frames > 0) {
    const uint32_t n = std::min(frames, kMixChunkFrames);
    std::memset(acc, 0, sizeof(int32_t) * n * kHostMixChannels);
    for (size_t i = 0; i < d.playing.size();) {
      HostSoundBuffer* b = d.playing[i];
      if (MixSoundBuffer(*b, acc, n, kHostMixRate)) {
        ++i;
      } else {
        RemovePlaying(d, b);
      }
    }
    for (const Generator& g : d.generators) {
      MixFloatFrames(made, acc, std::min(g.fill(g.context, made, n), n));
    }
    if (out) {
      ClampMix(acc, out, n * kHostMixChannels);
      out += n * kHostMixChannels;
    }
    frames -= n;
  }
}

void SdlCallback(void*, Uint8* stream, int len) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  MixLocked(d, reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(len) / 4);
}

bool FormatMixable(const WaveFormat& f) {
  const uint16_t bits = f.bitsPerSample;
  return f.formatTag == kWaveFormatPcm && (f.channels == 1 || f.channels == 2) &&
         (bits == 8 || bits == 16 || bits == 24 || bits == 32) && f.blockAlign == f.channels * (bits / 8) &&
         f.samplesPerSec >= kHostSoundMinFrequency && f.samplesPerSec <= kHostSoundMaxFrequency;
}

void FillSilence(unsigned char* p, uint32_t n, uint16_t bits) { std::memset(p, bits == 8 ? 0x80 : 0, n); }

void FreeBuffer(HostSoundBuffer* b) {
  if (--b->memory->references == 0) {
    delete[] b->memory->bytes;
    delete b->memory;
  }
  delete b;
}

}  // namespace

void HostSoundSetOutput(HostSoundOutput output) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  d.output = output;
}

bool HostSoundCreateDevice() {
  Device& d = Dev();
  if (d.created) return true;
  if (d.output == HostSoundOutput::kSdl && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  d.created = true;
  d.openOutput = d.output;
  return true;
}

bool HostSoundOpenDevice() {
  Device& d = Dev();
  if (!d.created) return false;
  if (d.open) return true;
  if (d.openOutput == HostSoundOutput::kSdl) {
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(kHostMixRate);
    want.format = AUDIO_S16SYS;
    want.channels = kHostMixChannels;
    want.samples = kMixChunkFrames;
    want.callback = SdlCallback;
    SDL_AudioSpec have{};
    d.sdl = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (d.sdl == 0) return false;
    SDL_PauseAudioDevice(d.sdl, 0);
  }
  d.open = true;
  return true;
}

void HostSoundCloseDevice() {
  Device& d = Dev();
  if (d.sdl != 0) {
    // Not under the lock: closing waits for the callback, which takes it.
    SDL_CloseAudioDevice(d.sdl);
    d.sdl = 0;
  }
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    for (HostSoundBuffer* b : d.playing) {
      b->playing = false;
      --b->memory->playing;
    }
    d.playing.clear();
    for (HostSoundBuffer* b : d.buffers) FreeBuffer(b);
    d.buffers.clear();
    d.generators.clear();
    d.open = false;
  }
  if (d.created && d.openOutput == HostSoundOutput::kSdl) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  d.created = false;
}

bool HostSoundDeviceOpen() { return Dev().open; }

bool HostSoundSetOutputFormat(const WaveFormat& format) {
  return format == PcmWaveFormat(kHostMixChannels, kHostMixRate, 16);
}

HostSoundCaps HostSoundGetCaps() { return {kHostSoundMinFrequency, kHostSoundMaxFrequency, 0, 0}; }

void HostSoundListDevices(void (*f)(const char* module, const char* description, void* context), void* context) {
  Device& d = Dev();
  if (d.openOutput == HostSoundOutput::kManualClock) {
    f("manual", "manual clock", context);
    return;
  }
  const char* driver = SDL_GetCurrentAudioDriver();
  const int count = SDL_GetNumAudioDevices(0);
  if (count <= 0) {
    f(driver ? driver : "", "default", context);
    return;
  }
  for (int i = 0; i < count; ++i) {
    const char* name = SDL_GetAudioDeviceName(i, 0);
    f(driver ? driver : "", name ? name : "", context);
  }
}

uint32_t HostSoundMixManual(int16_t* out, uint32_t frames) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  if (!d.open || d.openOutput != HostSoundOutput::kManualClock) return 0;
  MixLocked(d, out, frames);
  return frames;
}

bool HostSoundAddGenerator(HostSoundFill fill, void* context) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  if (!d.open || !fill) return false;
  d.generators.push_back({fill, context});
  return true;
}

void HostSoundRemoveGenerator(HostSoundFill fill, void* context) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  std::erase_if(d.generators, [&](const Generator& g) { return g.fill == fill && g.context == context; });
}

HostSoundBuffer* HostSoundCreateBuffer(const WaveFormat& format, uint32_t bytes, uint32_t flags) {
  Device& d = Dev();
  if (!d.open || !FormatMixable(format) || bytes == 0 || bytes > kHostSoundMaxBytes) return nullptr;
  HostSoundBuffer* b = new (std::nothrow) HostSoundBuffer;
  SoundMemory* m = new (std::nothrow) SoundMemory;
  unsigned char* bytesOf = new (std::nothrow) unsigned char[bytes];
  if (!b || !m || !bytesOf) {
    delete b;
    delete m;
    delete[] bytesOf;
    return nullptr;
  }
  FillSilence(bytesOf, bytes, format.bitsPerSample);
  m->bytes = bytesOf;
  m->size = bytes;
  m->references = 1;
  b->memory = m;
  b->format = format;
  b->flags = flags;
  b->frames = bytes / format.blockAlign;
  std::lock_guard<std::mutex> lock(d.mutex);
  d.buffers.push_back(b);
  return b;
}

HostSoundBuffer* HostSoundDuplicateBuffer(HostSoundBuffer* source) {
  Device& d = Dev();
  if (!source) return nullptr;
  HostSoundBuffer* b = new (std::nothrow) HostSoundBuffer;
  if (!b) return nullptr;
  std::lock_guard<std::mutex> lock(d.mutex);
  b->memory = source->memory;
  ++b->memory->references;
  b->format = source->format;
  b->flags = source->flags;
  b->frames = source->frames;
  b->frequency = source->frequency;
  b->volume = source->volume;
  b->gain = source->gain;
  d.buffers.push_back(b);
  return b;
}

void HostSoundReleaseBuffer(HostSoundBuffer* b) {
  if (!b) return;
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  if (b->playing) RemovePlaying(d, b);
  auto it = std::find(d.buffers.begin(), d.buffers.end(), b);
  if (it != d.buffers.end()) d.buffers.erase(it);
  FreeBuffer(b);
}

bool HostSoundPlay(HostSoundBuffer* b, bool looping) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  b->looping = looping;
  if (!b->playing) {
    b->playing = true;
    ++b->memory->playing;
    d.playing.push_back(b);
  }
  return true;
}

bool HostSoundStop(HostSoundBuffer* b) {
  Device& d = Dev();
  std::lock_guard<std::mutex> lock(d.mutex);
  if (b->playing) RemovePlaying(d, b);
  return true;
}

int HostSoundStatus(HostSoundBuffer* b) {
  std::lock_guard<std::mutex> lock(Dev().mutex);
  return (b->playing ? kHostSoundPlaying : 0) | (b->playing && b->looping ? kHostSoundLooping : 0);
}

uint32_t HostSoundGetPosition(HostSoundBuffer* b) {
  std::lock_guard<std::mutex> lock(Dev().mutex);
  return static_cast<uint32_t>(b->position >> 32) * b->format.blockAlign;
}

uint64_t HostSoundGetMixedFrames(HostSoundBuffer* b) {
  std::lock_guard<std::mutex> lock(Dev().mutex);
  return b->mixedFrames;
}

bool HostSoundSetPosition(HostSoundBuffer* b, uint32_t bytes) {
  std::lock_guard<std::mutex> lock(Dev().mutex);
  if (bytes >= b->memory->size) return false;
  b->position = static_cast<uint64_t>(bytes / b->format.blockAlign) << 32;
  return true;
}

bool HostSoundSetFrequency(HostSoundBuffer* b, uint32_t hz) {
  if (!(b->flags & kHostSoundCtrlFrequency)) return false;
  if (hz != 0 && (hz < kHostSoundMinFrequency || hz > kHostSoundMaxFrequency)) return false;
  std::lock_guard<std::mutex> lock(Dev().mutex);
  b->frequency = hz;
  return true;
}

int32_t HostSoundGainQ16(int32_t hundredthsDb) {
  if (hundredthsDb <= kHostSoundSilent) return 0;
  if (hundredthsDb >= 0) return 65536;
  return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, hundredthsDb / 2000.0)));
}

bool HostSoundSetVolume(HostSoundBuffer* b, int32_t hundredthsDb) {
  if (!(b->flags & kHostSoundCtrlVolume)) return false;
  const int32_t v = std::clamp(hundredthsDb, kHostSoundSilent, 0);
  const int32_t gain = HostSoundGainQ16(v);
  std::lock_guard<std::mutex> lock(Dev().mutex);
  b->volume = v;
  b->gain = gain;
  return true;
}

int32_t HostSoundGetVolume(HostSoundBuffer* b) {
  std::lock_guard<std::mutex> lock(Dev().mutex);
  return b->volume;
}

bool HostSoundLock(HostSoundBuffer* b, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                   void** second, uint32_t* secondBytes) {
  // A larger staging block is allocated, and the one it replaces freed,
  // outside the mixer's lock.
  std::unique_ptr<unsigned char[]> larger;
  std::unique_lock<std::mutex> lock(Dev().mutex);
  const uint32_t size = b->memory->size;
  if (b->locked || offset >= size || bytes > size) return false;
  if (b->memory->playing > 0 && b->stagingSize < bytes) {
    lock.unlock();
    larger.reset(new (std::nothrow) unsigned char[bytes]);
    if (!larger) return false;
    lock.lock();
    if (b->locked) return false;
    if (b->stagingSize < bytes) {
      b->staging.swap(larger);
      b->stagingSize = bytes;
    }
  }
  const uint32_t n1 = std::min(bytes, size - offset);
  const uint32_t n2 = bytes - n1;
  b->locked = true;
  b->lockOffset = offset;
  b->lockFirst = n1;
  b->lockSecond = n2;
  // While the memory plays, the mixing thread reads it: hand out a copy and
  // put it in place at unlock.
  b->staged = b->memory->playing > 0;
  unsigned char* p1;
  unsigned char* p2;
  if (b->staged) {
    p1 = b->staging.get();
    p2 = p1 + n1;
  } else {
    p1 = b->memory->bytes + offset;
    p2 = b->memory->bytes;
  }
  *first = p1;
  *firstBytes = n1;
  *second = n2 ? p2 : nullptr;
  *secondBytes = n2;
  return true;
}

bool HostSoundUnlock(HostSoundBuffer* b, uint32_t firstWritten, uint32_t secondWritten) {
  std::lock_guard<std::mutex> lock(Dev().mutex);
  if (!b->locked) return false;
  b->locked = false;
  if (b->staged) {
    const uint32_t n1 = std::min(firstWritten, b->lockFirst);
    const uint32_t n2 = std::min(secondWritten, b->lockSecond);
    std::memcpy(b->memory->bytes + b->lockOffset, b->staging.get(), n1);
    std::memcpy(b->memory->bytes, b->staging.get() + b->lockFirst, n2);
  }
  return true;
}
