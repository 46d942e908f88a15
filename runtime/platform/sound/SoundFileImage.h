#pragma once
// Whole sound files in memory: read from a file or a stream, or built as a
// WAV image around PCM. Blocks come from the tracked allocator.

#include <cstdint>

#include "runtime/host/sound/WaveFormat.h"
#include "runtime/platform/files/StreamOps.h"

// The whole file through the file access table. 0, or -1 (logged).
int ReadWholeFile(const char* name, unsigned char** image, uint32_t* size);
// The whole stream from its start. 0, or -1 (logged).
int ReadWholeStream(const StreamOps* ops, StreamHandle stream, unsigned char** image, uint32_t* size);
// A WAV file of the PCM in the format, its extra size written as 0:
// pcmSize + 46 bytes. Null when memory runs out.
unsigned char* BuildWaveImage(const WaveFormat& format, const unsigned char* pcm, uint32_t pcmSize,
                              uint32_t* imageSize);
