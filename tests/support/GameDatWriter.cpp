#include "tests/support/GameDatWriter.h"

#include <stdexcept>

#include "tests/support/ByteWriter.h"

std::string WriteGameDat(const GameDatContent& content, GameDatLayout* layout) {
  constexpr int kHeader = 10;
  GameDatLayout at;
  ByteWriter body;
  body.ByteList(content.settingBytes).Texts(content.settingStrings);

  const int32_t keyLength = static_cast<int32_t>(content.archiveKey.size());
  // After E, N, the values, A and B: the key's bytes, then the two tables.
  const int32_t keyBytes = kHeader + body.Size() + 4 + 4 + 4 + 2 * static_cast<int32_t>(content.values16.size()) + 8;
  const int32_t firstTable = keyBytes + keyLength;
  const int32_t secondTable = firstTable + 2 * keyLength;
  const int32_t endByte = secondTable + 2 * keyLength;
  if (keyBytes + keyLength > 0x10000) throw std::length_error("the key tables reach only the first 64 KiB");

  at.endOffsetField = static_cast<size_t>(kHeader + body.Size());
  body.I32(endByte);
  at.keyLengthField = static_cast<size_t>(kHeader + body.Size());
  body.I32(keyLength).I32(static_cast<int32_t>(content.values16.size()));
  for (uint16_t v : content.values16) body.U16(v);
  at.firstTableField = static_cast<size_t>(kHeader + body.Size());
  at.secondTableField = at.firstTableField + 4;
  body.I32(firstTable).I32(secondTable);
  body.Raw(content.archiveKey);
  // Each key byte's offset is split between the tables in a different way.
  for (int32_t i = 0; i < keyLength; ++i) body.U16(static_cast<uint16_t>(i * 7919 + 13));
  for (int32_t i = 0; i < keyLength; ++i) body.U16(static_cast<uint16_t>(keyBytes + i - (i * 7919 + 13)));
  body.U8(content.endByte);
  at.firstTable = static_cast<size_t>(firstTable);
  at.endByte = static_cast<size_t>(endByte);
  if (layout) *layout = at;

  return FrameDataFile(body.Bytes(), kHeader, content.seeds, kGameDataSeeds, false);
}
