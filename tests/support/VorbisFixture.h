#pragma once
// Ogg Vorbis sound for the tests: encoded with libvorbisenc, and decoded
// with vorbisfile straight, as the reference the layer's decoder must match.

#include <cstdint>
#include <string>
#include <vector>

std::string EncodeOggVorbis(const std::vector<int16_t>& samples, int channels, uint32_t rate);
// Every sample of the file, interleaved 16-bit; empty when it does not open.
std::vector<int16_t> DecodeOggVorbisReference(const std::string& file);
