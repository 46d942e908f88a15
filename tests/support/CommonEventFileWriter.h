#pragma once
// Writes the common-event files: "BasicData\CommonEvent.dat" (the 10-byte
// header with seeds and checksum, then the scrambled body: opening byte,
// count, records, closing byte) and plain ".common" files (magic, count,
// records). Counts are the sizes of the lists; the extra text is written
// only when there is an extra byte.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/CommonEvent.h"

class ByteWriter;

struct CommonEventRecordOptions {
  uint8_t formatByte = 0x8F;  // 0x8E: the record ends before the argument tables
  uint8_t endByte = 0x8F;
};

struct CommonEventDatOptions {
  std::array<uint8_t, 3> seeds{0x3C, 0x71, 0xA2};
  uint8_t openingByte = 0x8F;
  uint8_t closingByte = 0x8F;
  CommonEventRecordOptions record;
};

void WriteCommonEventRecord(ByteWriter& out, const CommonEvent& event, const CommonEventRecordOptions& options = {});
std::string WriteCommonEventDat(const std::vector<CommonEvent>& events, const CommonEventDatOptions& options = {});
std::string WriteCommonEventFile(const std::vector<CommonEvent>& events, const CommonEventRecordOptions& options = {});
