#pragma once
// Inside the sound decoder: the openers of each kind of file and their
// block refills. Each opener starts with the stream at offset 0, fills the
// decoder's type fields and its block size, and frees what it made when it
// fails.

#include <cstdint>

#include "runtime/platform/sound/SoundDecoder.h"

// The largest one-second block a source may ask for.
constexpr uint64_t kMaxSoundBlockBytes = 16u << 20;

int OpenPcmWaveDecoder(SoundDecoder* d);
int OpenAcmWaveDecoder(SoundDecoder* d);
int OpenOggDecoder(SoundDecoder* d);
int OpenMpegAudioDecoder(SoundDecoder* d);

// With the source format, its chunk size and the data chunk in place: reads
// the data into memory and opens the main and checkpoint conversion streams
// to pcm. The block holds blockBytes, or one source chunk's output when that
// is more. 0, or -1 with everything freed.
int StartAcmConversion(SoundDecoder* d, const WaveFormat& pcm, uint64_t blockBytes);

// One refill of the block; -1 at the end.
int ReadPcmBlock(SoundDecoder* d);
int ConvertAcmBlock(SoundDecoder* d);
int ReadOggBlock(SoundDecoder* d);

void SeekAcmDecoder(SoundDecoder* d, uint64_t target);
bool SeekOggDecoder(SoundDecoder* d, int64_t sample);

// Frees what a converted source holds.
void ReleaseAcmSource(SoundDecoder* d);
void CloseOggDecoder(SoundDecoder* d);
