#pragma once
// TGA files for the image reader tests: the 18-byte header, image ID, colour
// map, data and the optional footer, and run-length packets.

#include <cstdint>
#include <string>

struct TgaFileFields {
  uint8_t type = 2;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t pixelDepth = 24;
  uint8_t descriptor = 0x20;  // 0x20: top row first; 0x10: right to left
  std::string imageId;
  uint8_t mapType = 0;
  uint16_t mapFirst = 0;
  uint16_t mapLength = 0;
  uint8_t mapEntryBits = 0;
  std::string map;   // mapLength entries as stored
  std::string data;  // pixels or indices, plain or packets
  bool footer = false;
  uint16_t xOrigin = 0;
};

std::string TgaFile(const TgaFileFields& fields);

// One run-length packet: a value repeated count times, or count values.
std::string TgaRepeatPacket(int count, const std::string& value);
std::string TgaRawPacket(const std::string& values, int valueSize);
