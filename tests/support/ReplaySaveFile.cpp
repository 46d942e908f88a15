#include "tests/support/ReplaySaveFile.h"

#include <vector>

#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/SaveBuffer.h"

std::string WithReplaySection(const std::string& saveFile, const ReplayLog& log) {
  constexpr size_t kHeader = 20;
  constexpr char kFramingByte = 0x19;
  ByteCursor in(std::vector<uint8_t>(saveFile.begin(), saveFile.end()));
  DataFileFrame frame;
  OpenDataFileFrame(in, kHeader, kDataFileSeeds, frame);
  std::string plain(reinterpret_cast<const char*>(in.Data()), static_cast<size_t>(in.Size()));
  // The written section is the one flag byte 0 before the closing byte.
  if (plain.size() < kHeader + 3 || plain[plain.size() - 2] != 0 || plain.back() != kFramingByte) return "";
  for (const int offset : kDataFileSeeds.offsets) plain[static_cast<size_t>(offset)] = 0;
  plain.resize(plain.size() - 2);
  SaveBuffer section;
  if (!log.Write(section)) return "";
  plain.append(reinterpret_cast<const char*>(section.Data()), static_cast<size_t>(section.Size()));
  plain += kFramingByte;
  return plain;
}
