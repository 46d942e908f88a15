#include "tests/support/TileSetFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string WriteTileSetFile(const std::vector<TileSet>& tileSets, const TileSetFileOptions& options) {
  ByteWriter body;
  body.U8(options.version).I32(static_cast<int32_t>(tileSets.size()));
  for (const TileSet& set : tileSets) {
    body.Text(set.name);
    for (const std::string& imageName : set.imageNames) body.Text(imageName);
    body.U8(options.separator).ByteList(set.terrainTags).U8(0);
    if (options.version == 0xCF) {
      body.ByteList(std::vector<uint8_t>(set.tileFlags.begin(), set.tileFlags.end()));
    } else {
      body.I32List(set.tileFlags);
    }
  }
  body.U8(options.endByte);
  return FrameDataFile(body.Bytes(), 10, options.seeds);
}
