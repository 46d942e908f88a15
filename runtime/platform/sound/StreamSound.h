#pragma once
// Stream sounds: one looping ring buffer of six seconds, refilled from up to
// three sources (sound files of one format, played one after another) a
// little ahead of the play cursor on every pass of the message pump.

#include <cstdint>

#include "runtime/platform/sound/SoundHandle.h"
#include "runtime/platform/files/StreamOps.h"

// Adds one source to a handle. mayClose: set when the source copied the data,
// so that the caller may close its stream. 0, or -1 (logged).
int AddSreamSound(const StreamOps* ops, StreamHandle stream, int repeatCount, int32_t handle, int type,
                  int* mayClose, int32_t shareHandle);
int AddStreamSoundFromFile(const char* name, int repeatCount, int32_t handle, int type, int32_t shareHandle);
int AddStreamSoundFromMemory(const void* image, uint32_t size, int repeatCount, int32_t handle, int type,
                             int32_t shareHandle);

int SetSoundLoopStartSamples(int64_t samples, int32_t handle);

int PlayStreamSound(int32_t handle, int playType, int restart);
int StopStreamSound(int32_t handle);
int IsStreamSoundPlaying(int32_t handle);
int SetStreamSoundPosition(int64_t ms, int32_t handle);
int64_t GetStreamPlayTime(int32_t handle);

void PrimeStreamSound(int32_t handle);
void RefillStreamSound(int32_t handle);

// Frees what a source holds and clears it. closeStream: the source was
// opened on a stream of its own (load mode 3), which is closed too.
void ReleaseStreamSource(StreamSoundSource* source, bool closeStream);
// Stops a stream sound and frees its sources and ring (the record stays).
void ReleaseStreamSound(SoundHandle* s);
