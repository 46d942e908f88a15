#pragma once
// One decoder interface for every sound file the layer loads: opened on a
// stream, it recognises PCM WAV, compressed WAV (converted), Ogg Vorbis and
// MPEG audio files, in that order, and delivers PCM in blocks, moves to any
// sample frame and decodes the whole data at once. It reads its stream but
// does not own it.

#include <cstdint>

#include "runtime/host/sound/AudioConverter.h"
#include "runtime/host/sound/VorbisFile.h"
#include "runtime/host/sound/WaveFormat.h"
#include "runtime/platform/files/StreamOps.h"

enum SoundSourceType : int32_t {
  kSoundSourcePcm = 0,
  kSoundSourceConverted = 1,  // compressed WAV or MPEG audio
  kSoundSourceOgg = 2,
};

struct SoundDecoder {
  int32_t valid = 0;
  int32_t endFlag = 0;  // a read found no more data; cleared by a seek that moves
  int32_t type = kSoundSourcePcm;
  StreamOps ops{};
  StreamHandle stream = 0;

  int64_t dataStart = 0;
  // PCM WAV: PCM bytes; converted: compressed bytes; Ogg Vorbis: decoded bytes.
  uint64_t dataSize = 0;
  WaveFormat output;

  // Converted sources.
  unsigned char* sourceFormat = nullptr;
  uint32_t sourceFormatSize = 0;
  HostAudioConverter* mainConverter = nullptr;
  HostAudioConverter* checkpointConverter = nullptr;
  unsigned char* compressed = nullptr;
  uint32_t compressedSize = 0;
  uint32_t sourceChunk = 0;  // compressed bytes converted at a time
  uint32_t mainSourceUsed = 0;
  int64_t totalSamples = -1;  // counted for MPEG audio files only
  uint32_t checkpointSourceUsed = 0;
  uint64_t checkpointOutput = 0;
  unsigned char* checkpointScratch = nullptr;

  // Ogg Vorbis.
  HostVorbisFile* vorbis = nullptr;

  unsigned char* block = nullptr;
  uint32_t blockSize = 0;
  uint32_t available = 0;   // bytes of the block not yet read
  uint32_t readOffset = 0;
  uint64_t position = 0;    // output bytes from the start of the data to the next read
  uint64_t checkpointTarget = 0;  // output bytes; 0 none (a loop start)
};

// 0, or -1 when no opener recognises the stream.
int OpenSoundDecoder(const StreamOps* ops, StreamHandle stream, SoundDecoder* decoder);
// Up to n bytes of PCM: the count (0 at the end), or -1 for a closed decoder.
int64_t ReadSoundDecoder(SoundDecoder* decoder, void* destination, uint32_t n);
// Moves to a sample frame. 0, or -1 for a closed decoder.
int SeekSoundDecoder(SoundDecoder* decoder, int64_t sample);
const WaveFormat& GetSoundDecoderFormat(const SoundDecoder* decoder);
// Decoded size of the whole data in bytes (an estimate for compressed WAV;
// one second at 44.1 kHz more than the stream holds for Ogg Vorbis).
uint64_t GetSoundDecoderPcmSize(const SoundDecoder* decoder);
// The whole data as PCM in a new tracked block. 0, or -1.
int DecodeWholeSound(SoundDecoder* decoder, unsigned char** pcm, uint32_t* size, WaveFormat* format);
int CloseSoundDecoder(SoundDecoder* decoder);
