#pragma once
// MPEG audio for the tests: real content encoded with LAME (no info frame,
// so that every frame is sound), silent frames built by hand for the frame
// walk, the tags around them, and the reference decode through libmpg123.

#include <cstdint>
#include <string>
#include <vector>

std::string EncodeMp3(const std::vector<int16_t>& samples, int channels, uint32_t rate, int kbps);

// Silent MPEG Layer III frames: header, side information all zero, padding.
// rateIndex and bitRateIndex as in the frame header; MPEG-2 when mpeg1 is false.
std::string SilentMpegFrames(int count, bool mpeg1, int bitRateIndex, int rateIndex, bool mono);
// An ID3v2 tag of version 3 or 4 whose body (and footer) is bytes that no
// frame walk can take for audio.
std::string Id3v2Tag(uint32_t bodySize, int version, bool footer);
// A 128-byte ID3v1 tag.
std::string Id3v1Tag();

// Every sample, interleaved 16-bit, at the file's own rate and channels.
std::vector<int16_t> DecodeMpegReference(const std::string& file);
