#include "engine/data/file/DataFileFrame.h"

#include "engine/data/file/DataFileScramble.h"

bool OpenDataFileFrame(ByteCursor& file, int32_t headerSize, const DataFileSeedOffsets& seedOffsets,
                       DataFileFrame& frame) {
  frame = DataFileFrame{};
  frame.headerSize = headerSize;
  if (!file.Seek(0) || file.Size() < headerSize) return file.Fail();
  const uint8_t* header = file.Data();
  for (int k = 0; k < 3; ++k) frame.seeds[k] = header[seedOffsets.offsets[k]];
  frame.checkByte = header[2];
  DataFileScramble("", file.Data() + headerSize, static_cast<size_t>(file.Size() - headerSize), 3, frame.seeds,
                   kScrambleOnly, frame.checkByte);
  return file.Seek(headerSize);
}

void TestDataFileChecksum(const std::string& fileName, ByteCursor& file, DataFileFrame& frame) {
  if (frame.Plain()) return;
  DataFileScramble(fileName, file.Data() + frame.headerSize, static_cast<size_t>(file.Position() - frame.headerSize), 0,
                   frame.seeds, kScrambleTestChecksum, frame.checkByte);
}
