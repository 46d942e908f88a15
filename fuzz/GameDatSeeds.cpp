// Starting inputs for the Game.dat fuzzer: a scrambled and a plain file.

#include <string>

#include "tests/support/GameDatWriter.h"
#include "tests/support/TestDirectory.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  GameDatContent content;
  content.settingBytes = {32, 8, 8, 1, 60, 1, 0, 3, 0, 0, 0, 6, 6, 0, 0, 4, 4, 0};
  content.settingStrings = {"Title", "0000-0000", "", "Face", "", "", "", "hero.png"};
  content.values16 = {1234};
  content.archiveKey = "KeyForArchive";
  WriteWholeFile(std::string(argv[1]) + "/scrambled", WriteGameDat(content));
  content.seeds = {0, 0, 0};
  WriteWholeFile(std::string(argv[1]) + "/plain", WriteGameDat(content));
  return 0;
}
