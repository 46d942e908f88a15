#include "engine/data/TileSet.h"

#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kTileSetHeaderBytes = 10;
constexpr uint8_t kByteFlagsVersion = 0xCF;
constexpr uint8_t kWordFlagsVersion = 0xD0;
constexpr uint8_t kEndByte = 0xCF;
constexpr uint8_t kSeparator = 0xFF;
constexpr int32_t kNameLimit = 1024;

bool ReportDamaged() {
  ShowMessageBox("タイルセットデータの読み込みに失敗しました", "ファイル読み込みエラー");
  return false;
}

}  // namespace

bool TileSet::Read(ByteCursor& in, int flagEntryBytes) {
  if (!in.ReadString(name, kNameLimit)) return false;
  for (std::string& imageName : imageNames) {
    if (!in.ReadString(imageName, kNameLimit)) return false;
  }
  uint8_t separator = 0;
  if (!in.ReadU8(separator)) return false;
  if (separator != kSeparator) {
    ShowMessageBox("タイルセットのロードに失敗しました、ファイル破損の可能性があります", "");
  }

  uint8_t spare = 0;
  if (!in.ReadByteList(terrainTags) || !in.ReadU8(spare)) return false;
  if (flagEntryBytes == 4) return in.ReadI32List(tileFlags);
  std::vector<uint8_t> flags;
  if (!in.ReadByteList(flags)) return false;
  tileFlags.assign(flags.begin(), flags.end());
  return true;
}

bool TileSetList::LoadTileSetFile(const std::string& fileName) {
  const std::string path = DataFolder() + fileName;
  FileBuffer file;
  return file.Load(path.c_str()) && ReadTileSetFile(file, path);
}

bool TileSetList::ReadTileSetFile(ByteCursor& file, const std::string& path) {
  DataFileFrame frame;
  uint8_t version = 0;
  if (!OpenDataFileFrame(file, kTileSetHeaderBytes, kDataFileSeeds, frame) || !file.ReadU8(version)) {
    return ReportDamaged();
  }
  // A file of another version is not read at all, and not reported.
  if (version != kByteFlagsVersion && version != kWordFlagsVersion) return false;
  const int flagEntryBytes = version == kByteFlagsVersion ? 1 : 4;
  int32_t count = 0;
  bool ok = file.ReadCount(count, TileSet::kSmallestRecordBytes);
  if (ok) tileSets.resize(static_cast<size_t>(count));
  for (int32_t i = 0; ok && i < count; ++i) ok = tileSets[static_cast<size_t>(i)].Read(file, flagEntryBytes);
  uint8_t endByte = 0;
  if (!ok || !file.ReadU8(endByte) || endByte != kEndByte) return ReportDamaged();
  TestDataFileChecksum(path, file, frame);
  return true;
}
