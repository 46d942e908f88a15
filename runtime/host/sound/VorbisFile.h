#pragma once
// Ogg Vorbis decoding through vorbisfile, reading through the caller's own
// callbacks: 16-bit little-endian signed PCM out.

#include <cstddef>
#include <cstdint>

struct HostVorbisCallbacks {
  size_t (*read)(void* buffer, size_t size, size_t count, void* source);
  // whence 0 start, 1 current, 2 end; 0 or -1.
  int (*seek)(void* source, int64_t offset, int whence);
  int (*close)(void* source);
  long (*tell)(void* source);
};

struct HostVorbisFile;

// Null when the data is no Ogg Vorbis stream or memory runs out.
HostVorbisFile* HostVorbisOpen(void* source, const HostVorbisCallbacks& callbacks);
void HostVorbisClose(HostVorbisFile* file);

int HostVorbisChannels(HostVorbisFile* file);
long HostVorbisRate(HostVorbisFile* file);
// Sample frames of the whole stream, or -1.
int64_t HostVorbisPcmTotal(HostVorbisFile* file);
// Bytes read (0 at the end), or a negative number for damaged data.
long HostVorbisRead(HostVorbisFile* file, void* buffer, int bytes);
bool HostVorbisSeekPcm(HostVorbisFile* file, int64_t frame);
