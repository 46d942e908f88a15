#include "tests/support/TileSetFileWriter.h"

#include "tests/support/ByteWriter.h"

std::string WriteTileSetFile(const std::vector<TileSet>& tileSets, const TileSetFileOptions& options) {
  ByteWriter body;
  body.U8(options.version).I32(static_cast<int32_t>(tileSets.size()));
  for (const TileSet& set : tileSets) {
    body.Text(set.name);
    for (const std::string& imageName : set.imageNames) body.Text(imageName);
    body.U8(options.separator).I32(static_cast<int32_t>(set.terrainTags.size()));
    for (uint8_t tag : set.terrainTags) body.U8(tag);
    body.U8(0).I32(static_cast<int32_t>(set.tileFlags.size()));
    for (int32_t flag : set.tileFlags) {
      if (options.version == 0xCF) {
        body.U8(static_cast<uint8_t>(flag));
      } else {
        body.I32(flag);
      }
    }
  }
  body.U8(options.endByte);
  const DataFileSeeds seeds{{options.seeds[0], options.seeds[1], options.seeds[2]}, {0, 3, 9}};
  return FrameDataFile(body.Bytes(), 10, seeds, true);
}
