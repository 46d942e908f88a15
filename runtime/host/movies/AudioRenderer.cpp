#include "runtime/host/movies/AudioRenderer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "runtime/host/sound/SoundDevice.h"
#include "runtime/host/sound/WaveFormat.h"

namespace {

constexpr uint32_t kFrameBytes = 4;
constexpr uint32_t kRingFrames = AudioRenderer::kRate;  // one second
// Written ahead of the mixer: half the ring, so that writes never meet it.
constexpr uint32_t kLeadFrames = kRingFrames / 2;
// The sound starts once this much is there (a tenth of a second).
constexpr uint32_t kPrimeFrames = AudioRenderer::kRate / 10;

HostMovieTime FramesToTime(uint64_t frames) {
  return static_cast<HostMovieTime>(frames * static_cast<uint64_t>(kHostMovieTimePerSecond) / AudioRenderer::kRate);
}

void CopyOrClear(void* to, const uint8_t* from, uint32_t bytes) {
  if (!to || bytes == 0) return;
  if (from) {
    std::memcpy(to, from, bytes);
  } else {
    std::memset(to, 0, bytes);
  }
}

}  // namespace

AudioRenderer* AudioRenderer::Create() {
  if (!HostSoundDeviceOpen()) return nullptr;
  HostSoundBuffer* buffer = HostSoundCreateBuffer(PcmWaveFormat(kChannels, kRate, 16), kRingFrames * kFrameBytes,
                                                  kHostSoundCtrlVolume);
  if (!buffer) return nullptr;
  AudioRenderer* renderer = new (std::nothrow) AudioRenderer(buffer);
  if (!renderer) HostSoundReleaseBuffer(buffer);
  return renderer;
}

AudioRenderer::~AudioRenderer() { HostSoundReleaseBuffer(buffer_); }

uint64_t AudioRenderer::Played() const {
  return playedBefore_ + (playing_ ? HostSoundGetMixedFrames(buffer_) - mixedAtStart_ : 0);
}

void AudioRenderer::StartPlaying() {
  // The mixer's position in the ring is the count played, modulo the ring.
  HostSoundSetPosition(buffer_, static_cast<uint32_t>(playedBefore_ % kRingFrames) * kFrameBytes);
  mixedAtStart_ = HostSoundGetMixedFrames(buffer_);
  HostSoundPlay(buffer_, true);
  playing_ = true;
}

void AudioRenderer::Reset(HostMovieTime base) {
  if (playing_) HostSoundStop(buffer_);
  playing_ = false;
  base_ = base;
  written_ = 0;
  playedBefore_ = 0;
}

void AudioRenderer::Start() {
  running_ = true;
  if (!playing_ && written_ >= Played() + kPrimeFrames) StartPlaying();
}

void AudioRenderer::Stop() {
  running_ = false;
  if (!playing_) return;
  playedBefore_ = Played();
  HostSoundStop(buffer_);
  playing_ = false;
}

HostMovieTime AudioRenderer::Clock() const { return base_ + FramesToTime(Played()); }

HostMovieTime AudioRenderer::WriteTime() const { return base_ + FramesToTime(std::max(written_, Played())); }

uint32_t AudioRenderer::Room() const {
  const uint64_t played = Played();
  const uint64_t lead = written_ > played ? written_ - played : 0;
  return lead >= kLeadFrames ? 0 : static_cast<uint32_t>(kLeadFrames - lead);
}

void AudioRenderer::Write(const int16_t* frames, uint32_t count) {
  const uint64_t played = Played();
  if (written_ < played) written_ = played;
  count = std::min(count, Room());
  if (count == 0) return;
  void* first = nullptr;
  void* second = nullptr;
  uint32_t firstBytes = 0;
  uint32_t secondBytes = 0;
  const uint32_t offset = static_cast<uint32_t>(written_ % kRingFrames) * kFrameBytes;
  if (HostSoundLock(buffer_, offset, count * kFrameBytes, &first, &firstBytes, &second, &secondBytes)) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(frames);
    CopyOrClear(first, bytes, firstBytes);
    CopyOrClear(second, bytes ? bytes + firstBytes : nullptr, secondBytes);
    HostSoundUnlock(buffer_, firstBytes, secondBytes);
  }
  written_ += count;
  if (running_ && !playing_ && written_ >= played + kPrimeFrames) StartPlaying();
}
