#pragma once
// Conversion of compressed sound data to PCM, shaped after what the sound
// decoders expect of a converter: suggest a PCM format for a source format,
// open a conversion stream between the two, estimate the output size and
// convert chunks. Sources: IMA and Microsoft ADPCM, A-law and mu-law,
// MPEG audio (layers I to III) and PCM in the extensible WAV format.

#include <cstddef>
#include <cstdint>

#include "runtime/host/sound/WaveFormat.h"

struct HostAudioConverter;

// source: the whole format block of the data (a WAV fmt chunk). The PCM
// format it converts to; false when no converter takes it.
bool HostConverterSuggestPcm(const unsigned char* source, size_t sourceSize, WaveFormat* pcm);

// Null when the pair is not supported or memory runs out.
HostAudioConverter* HostConverterOpen(const unsigned char* source, size_t sourceSize, const WaveFormat& pcm);
void HostConverterClose(HostAudioConverter* converter);

// The output of converting sourceBytes (at least that: an estimate for MPEG
// audio).
uint64_t HostConverterOutputSize(const HostAudioConverter* converter, uint64_t sourceBytes);

// Converts the next source bytes into dst. Block formats take whole source
// blocks that fit the destination; a short block given alone is the end of
// the data (it ends inside a block), taken whole without output. MPEG audio
// takes the source as it comes and keeps output that did not fit for the
// next call; an empty source delivers what is kept. False when the converter
// refuses.
bool HostConverterConvert(HostAudioConverter* converter, const unsigned char* src, size_t srcSize,
                          unsigned char* dst, size_t dstSize, size_t* srcUsed, size_t* dstUsed);
