#pragma once
// MPEG audio decoding through libmpg123, fed with the data as it comes:
// 16-bit PCM at a fixed rate and channel count, every frame decoded (no
// gapless trimming, the info frame decoded as the silence it is).

#include <cstddef>
#include <cstdint>

struct HostMpegStream;

HostMpegStream* HostMpegOpen(uint32_t rate, int channels);
void HostMpegClose(HostMpegStream* stream);
// Takes all of src, then delivers up to dstSize bytes of decoded output;
// output that does not fit stays for the next call.
bool HostMpegConvert(HostMpegStream* stream, const unsigned char* src, size_t srcSize, unsigned char* dst,
                     size_t dstSize, size_t* srcUsed, size_t* dstUsed);
