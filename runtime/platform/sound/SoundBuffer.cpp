#include "runtime/platform/sound/SoundBuffer.h"

int SoundBufferCreate(SoundBuffer* b, const WaveFormat& format, uint32_t bytes, uint32_t flags) {
  if (b->valid) return -1;
  b->buffer = HostSoundCreateBuffer(format, bytes, flags);
  if (!b->buffer) return -1;
  b->valid = 1;
  return 0;
}

int SoundBufferDuplicate(SoundBuffer* b, const SoundBuffer* source) {
  if (b->valid || !source->valid) return -1;
  b->buffer = HostSoundDuplicateBuffer(source->buffer);
  if (!b->buffer) return -1;
  b->valid = 1;
  return 0;
}

int SoundBufferRelease(SoundBuffer* b) {
  if (!b->valid) return -1;
  HostSoundReleaseBuffer(b->buffer);
  b->buffer = nullptr;
  b->valid = 0;
  return 0;
}

int SoundBufferPlay(SoundBuffer* b, bool looping) {
  if (!b->valid) return -1;
  return HostSoundPlay(b->buffer, looping) ? 0 : -1;
}

int SoundBufferStop(SoundBuffer* b) {
  if (!b->valid) return -1;
  return HostSoundStop(b->buffer) ? 0 : -1;
}

int SoundBufferGetStatus(const SoundBuffer* b) {
  if (!b->valid) return -1;
  return HostSoundStatus(b->buffer);
}

bool SoundBufferPlaying(const SoundBuffer* b) {
  const int status = SoundBufferGetStatus(b);
  return status > 0 && (status & kHostSoundPlaying);
}

int SoundBufferLock(SoundBuffer* b, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                    void** second, uint32_t* secondBytes) {
  if (!b->valid) return -1;
  return HostSoundLock(b->buffer, offset, bytes, first, firstBytes, second, secondBytes) ? 0 : -1;
}

int SoundBufferUnlock(SoundBuffer* b, uint32_t firstWritten, uint32_t secondWritten) {
  if (!b->valid) return -1;
  return HostSoundUnlock(b->buffer, firstWritten, secondWritten) ? 0 : -1;
}

int SoundBufferSetFrequency(SoundBuffer* b, uint32_t hz) {
  if (!b->valid) return -1;
  return HostSoundSetFrequency(b->buffer, hz) ? 0 : -1;
}

int SoundBufferSetVolume(SoundBuffer* b, int32_t hundredthsDb) {
  if (!b->valid) return -1;
  return HostSoundSetVolume(b->buffer, hundredthsDb) ? 0 : -1;
}

int SoundBufferSetPosition(SoundBuffer* b, uint32_t bytes) {
  if (!b->valid) return -1;
  return HostSoundSetPosition(b->buffer, bytes) ? 0 : -1;
}

int64_t SoundBufferGetPosition(const SoundBuffer* b) {
  if (!b->valid) return -1;
  return HostSoundGetPosition(b->buffer);
}
