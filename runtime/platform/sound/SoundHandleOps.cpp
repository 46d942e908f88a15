// The operations on a sound handle. Plain sounds are handled here; stream
// sounds are handed over to the stream code.

#include <algorithm>
#include <climits>
#include <cmath>

#include "runtime/Movan.h"
#include "runtime/host/system/Clock.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/sound/SoundBuffer.h"
#include "runtime/platform/sound/SoundHandle.h"
#include "runtime/platform/sound/StreamSound.h"

namespace {

bool IsStream(const SoundHandle* s) { return s->kind == kSoundStream; }

}  // namespace

void WaitWhileSoundPlays(int32_t handle) {
  while (RunSoundPump() == 0 && IsSoundPlaying(handle) == 1) HostSleepMs(1);
}

int StartSound(int handle, int playType, int restart) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (IsStream(s)) return PlayStreamSound(handle, playType, restart);
  if (s->bufferCount < 1) return -1;
  uint32_t previous = 0;
  if (s->buffers[s->nextBuffer].valid) {
    previous = static_cast<uint32_t>(std::max<int64_t>(SoundBufferGetPosition(&s->buffers[s->nextBuffer]), 0));
  }
  // Round robin: the index moves on even when the buffer is found playing.
  s->nextBuffer = (s->nextBuffer + 1) % s->bufferCount;
  SoundBuffer* b = &s->buffers[s->nextBuffer];
  if (SoundBufferPlaying(b)) {
    if (!restart) return 0;
    SoundBufferStop(b);
  }
  SoundBufferSetPosition(b, restart ? 0 : previous);
  if (SoundBufferPlay(b, playType == kPlayLoop) != 0) return -1;
  if (playType == kPlayOnceWait) WaitWhileSoundPlays(handle);
  return 0;
}

int HaltSound(int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (IsStream(s)) return StopStreamSound(handle);
  for (int i = 0; i < s->bufferCount; ++i) {
    const int status = SoundBufferGetStatus(&s->buffers[i]);
    if (status < 0) return -1;
    if (status & kHostSoundPlaying) SoundBufferStop(&s->buffers[i]);
  }
  return 0;
}

int IsSoundPlaying(int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (IsStream(s)) return IsStreamSoundPlaying(handle);
  for (int i = 0; i < s->bufferCount; ++i) {
    if (SoundBufferPlaying(&s->buffers[i])) return 1;
  }
  return 0;
}

int SetSoundVolume(int volume, int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  volume = std::min(volume, 255);
  int32_t db = kHostSoundSilent;
  if (volume > 0) db = std::max(DoubleToInt(1000.0 * std::log10(volume / 255.0)), kHostSoundSilent);
  for (int i = 0; i < s->bufferCount; ++i) SoundBufferSetVolume(&s->buffers[i], db);
  return 0;
}

int SetSoundFrequency(int frequency, int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (frequency == -1) frequency = 0;
  if (frequency < 0) return -1;
  int result = 0;
  for (int i = 0; i < s->bufferCount; ++i) {
    if (SoundBufferSetFrequency(&s->buffers[i], static_cast<uint32_t>(frequency)) != 0) result = -1;
  }
  return result;
}

int GetSoundFrequency(int handle) {
  SoundHandle* s = FindSound(handle);
  return s ? static_cast<int>(s->format.samplesPerSec) : -1;
}

int SetSoundPlayTime(int ms, int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s || ms < 0) return -1;
  if (IsStream(s)) return SetStreamSoundPosition(ms, handle);
  for (int i = 0; i < s->bufferCount; ++i) {
    const int status = SoundBufferGetStatus(&s->buffers[i]);
    if (status < 0) return -1;
    if (status & kHostSoundPlaying) continue;
    const int64_t bytes = int64_t{s->format.samplesPerSec} * ms / 1000 * s->format.blockAlign;
    if (bytes > UINT32_MAX) return -1;
    return SoundBufferSetPosition(&s->buffers[i], static_cast<uint32_t>(bytes));
  }
  return -1;
}

int GetSoundPlayTime(int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (IsStream(s)) return ClampToInt(GetStreamPlayTime(handle));
  const int64_t cursor = SoundBufferGetPosition(&s->buffers[s->nextBuffer]);
  const int64_t perSecond = int64_t{s->format.blockAlign} * s->format.samplesPerSec;
  if (cursor < 0 || perSecond == 0) return -1;
  return ClampToInt(cursor * 1000 / perSecond);
}

int64_t GetSoundLengthSamples(int32_t handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (IsStream(s)) return s->totalSamples;
  return s->format.blockAlign ? s->pcmSize / s->format.blockAlign : 0;
}

int GetSoundLengthMs(int handle) {
  const int64_t samples = GetSoundLengthSamples(handle);
  if (samples < 0) return -1;
  const uint32_t rate = FindSound(handle)->format.samplesPerSec;
  return rate ? ClampToInt(samples * 1000 / rate) : 0;
}
