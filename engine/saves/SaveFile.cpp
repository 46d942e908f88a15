#include "engine/saves/SaveFile.h"

#include "engine/data/GameInfo.h"
#include "engine/data/file/CRuntimeRandom.h"
#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/DataFileScramble.h"
#include "engine/saves/SaveFileHooks.h"

namespace {

constexpr int32_t kHeaderSize = 20;
constexpr uint8_t kFramingByte = 0x19;
// Bytes a reader lets pass after the closing byte, the closing byte
// included.
constexpr int64_t kTrailingAllowance = 200;

const std::string& GameTitle() {
  static const std::string kNone;
  const std::vector<std::string>& strings = GameInformation.settingStrings;
  return strings.empty() ? kNone : strings[GameInfo::kGameTitle];
}

bool WriteTitleBlock(SaveBuffer& out) {
  const std::string& title = GameTitle();
  if (title.size() >= static_cast<size_t>(INT16_MAX)) return out.Fail();
  out.WriteI16(static_cast<int16_t>(title.size() + 1));
  out.WriteBytes(title.c_str(), static_cast<int64_t>(title.size()) + 1);
  return out.WriteI16(SaveSlotRecord::kSaveVersion);
}

uint8_t DrawSeed() { return static_cast<uint8_t>((CRuntimeRand() & 0xFF0) >> 4); }

}  // namespace

bool EncodeSaveFile(SaveSlotRecord& record, const std::string& path, std::vector<uint8_t>& file) {
  SaveBuffer out;
  const uint8_t header[kHeaderSize] = {};
  out.WriteBytes(header, kHeaderSize);
  out.WriteU8(kFramingByte);
  WriteTitleBlock(out);
  record.Write(out);
  out.WriteU8(kFramingByte);
  if (out.Overrun()) return false;

  CRuntimeSrand(static_cast<uint32_t>(CurrentSaveFileHooks().now()));
  uint8_t seeds[3];
  for (uint8_t& seed : seeds) seed = DrawSeed();
  if (seeds[0] == 0 && seeds[1] == 0 && seeds[2] == 0) {
    for (uint8_t& seed : seeds) seed = DrawSeed();
  }
  uint8_t check = 0;
  uint8_t* bytes = out.Data();
  DataFileScramble(path, bytes + kHeaderSize, static_cast<size_t>(out.Size() - kHeaderSize), 3, seeds,
                   kScrambleMakeChecksum, check);
  for (int i = 0; i < kHeaderSize; ++i) bytes[i] = static_cast<uint8_t>((CRuntimeRand() & 0xFF00) >> 8);
  bytes[kDataFileSeeds.offsets[0]] = seeds[0];
  bytes[kDataFileSeeds.offsets[1]] = seeds[1];
  bytes[kDataFileSeeds.offsets[2]] = seeds[2];
  bytes[2] = check;
  bytes[6] = 0;
  bytes[8] = 0;
  file.assign(bytes, bytes + out.Size());
  return true;
}

SaveFileCheck DecodeSaveFile(std::vector<uint8_t> file, SaveSlotRecord& record, std::string& title) {
  SaveBuffer in(std::move(file));
  DataFileFrame frame;
  if (!OpenDataFileFrame(in, kHeaderSize, kDataFileSeeds, frame)) return SaveFileCheck::kShort;

  uint8_t framing = 0;
  if (!in.ReadU8(framing)) return SaveFileCheck::kShort;
  if (framing != kFramingByte) return SaveFileCheck::kDamaged;

  int16_t titleLength = 0;
  int16_t version = 0;
  if (!in.ReadI16(titleLength) || titleLength < 1 || !in.CountFits(titleLength, 1)) return SaveFileCheck::kShort;
  std::string stored(static_cast<size_t>(titleLength), '\0');
  in.ReadBytes(stored.data(), titleLength);
  if (!in.ReadI16(version)) return SaveFileCheck::kShort;
  title = stored.substr(0, stored.find('\0'));
  if (title != GameTitle()) return SaveFileCheck::kForeignTitle;

  if (!record.Read(in, version) || in.Overrun()) return SaveFileCheck::kDamaged;
  if (in.Remaining() > kTrailingAllowance) return SaveFileCheck::kDamaged;
  if (!in.ReadU8(framing)) return SaveFileCheck::kShort;
  if (framing != kFramingByte) return SaveFileCheck::kDamaged;
  // A save that fails its checksum is a damaged save like any other: the
  // game goes on.
  if (!frame.Plain() &&
      DataFileChecksum(in.Data() + kHeaderSize, static_cast<size_t>(in.Position() - kHeaderSize)) != frame.checkByte) {
    return SaveFileCheck::kDamaged;
  }
  record.rootRunner.slotHoldsGame = 1;
  return SaveFileCheck::kGood;
}
