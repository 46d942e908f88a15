#pragma once
// The operations on one sound buffer of a handle: thin calls on the sound
// device, each refusing (-1) a buffer that is not valid.

#include <cstdint>

#include "runtime/host/sound/WaveFormat.h"
#include "runtime/platform/sound/SoundHandle.h"

int SoundBufferCreate(SoundBuffer* b, const WaveFormat& format, uint32_t bytes, uint32_t flags);
int SoundBufferDuplicate(SoundBuffer* b, const SoundBuffer* source);
int SoundBufferRelease(SoundBuffer* b);
int SoundBufferPlay(SoundBuffer* b, bool looping);
int SoundBufferStop(SoundBuffer* b);
// Status bits (bit 0 playing), or -1.
int SoundBufferGetStatus(const SoundBuffer* b);
// A valid buffer whose status says it plays.
bool SoundBufferPlaying(const SoundBuffer* b);
int SoundBufferLock(SoundBuffer* b, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                    void** second, uint32_t* secondBytes);
int SoundBufferUnlock(SoundBuffer* b, uint32_t firstWritten, uint32_t secondWritten);
// 0 plays at the format's own rate.
int SoundBufferSetFrequency(SoundBuffer* b, uint32_t hz);
int SoundBufferSetVolume(SoundBuffer* b, int32_t hundredthsDb);
int SoundBufferSetPosition(SoundBuffer* b, uint32_t bytes);
// The play cursor in bytes, or -1.
int64_t SoundBufferGetPosition(const SoundBuffer* b);
