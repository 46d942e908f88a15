// Starting inputs for the archive fuzzer: small archives of every version,
// with stored and compressed entries, nested folders and Shift-JIS names.

#include <string>

#include "fuzz/WriteSeed.h"
#include "tests/support/ArchiveWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  for (int version = 0; version <= 3; ++version) {
    ArchiveWriter writer(version);
    writer.AddFile("BasicData\\Game.dat", "game information, game information", true);
    writer.AddFile("BasicData\\t.txt", "one\r\ntwo\r\nthree", true);
    writer.AddFile("MapData\\Sub\\map.mps", std::string(300, 'm'), true);
    writer.AddFile("\x95\x5C\\\x83\x5C.png", "sjis");
    writer.AddFolder("Empty");
    WriteSeed(argv, "seed" + std::to_string(version), writer.Build());
  }
  return 0;
}
