// Starting inputs for the tile-set fuzzer: both versions, scrambled and plain.

#include <string>
#include <vector>

#include "fuzz/WriteSeed.h"
#include "tests/support/TileSetFileWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  TileSet set;
  set.name = "Set";
  set.imageNames[0] = "tiles.png";
  set.tileFlags = {0, 1, 0x10, 0xC8};
  const std::vector<TileSet> sets{set, TileSet{}};
  TileSetFileOptions options;
  WriteSeed(argv, "words", WriteTileSetFile(sets, options));
  options.version = 0xCF;
  options.seeds = {0, 0, 0};
  WriteSeed(argv, "bytes", WriteTileSetFile(sets, options));
  return 0;
}
