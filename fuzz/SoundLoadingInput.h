#pragma once
// The input of the sound loading fuzzer: a 12-byte head, then up to three
// sound files. Head: load mode, flags (bit 0 loops the whole list, bit 1
// sets the loop start, bit 2 adds the second and third files as further
// sources, bit 3 moves the play position), the loop start in milliseconds
// (uint16), the sizes of the first and second files (uint32 each); the third
// file is the rest.

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/LittleEndian.h"

constexpr size_t kSoundLoadingHeadSize = 12;

struct SoundLoadingInput {
  int loadMode = 0;
  uint8_t flags = 0;
  uint16_t loopStartMs = 0;
  std::string_view files[3];
};

inline SoundLoadingInput ParseSoundLoadingInput(const uint8_t* data, size_t size) {
  SoundLoadingInput in;
  if (size < kSoundLoadingHeadSize) return in;
  in.loadMode = data[0] & 3;
  in.flags = data[1];
  in.loopStartMs = ReadLe16(data + 2);
  const char* rest = reinterpret_cast<const char*>(data) + kSoundLoadingHeadSize;
  size_t left = size - kSoundLoadingHeadSize;
  for (int i = 0; i < 2; ++i) {
    const size_t want = ReadLe32(data + 4 + 4 * i);
    const size_t n = want < left ? want : left;
    in.files[i] = std::string_view(rest, n);
    rest += n;
    left -= n;
  }
  in.files[2] = std::string_view(rest, left);
  return in;
}

inline std::string SoundLoadingHead(int loadMode, uint8_t flags, uint16_t loopStartMs, uint32_t first,
                                    uint32_t second) {
  std::string head(kSoundLoadingHeadSize, '\0');
  head[0] = static_cast<char>(loadMode);
  head[1] = static_cast<char>(flags);
  head[2] = static_cast<char>(loopStartMs & 0xFF);
  head[3] = static_cast<char>(loopStartMs >> 8);
  for (int i = 0; i < 4; ++i) {
    head[4 + i] = static_cast<char>((first >> (8 * i)) & 0xFF);
    head[8 + i] = static_cast<char>((second >> (8 * i)) & 0xFF);
  }
  return head;
}
