// Starting inputs for the Game.dat fuzzer: a scrambled and a plain file.

#include <string>

#include "fuzz/WriteSeed.h"
#include "tests/support/GameDatWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  GameDatContent content;
  content.settingBytes = {32, 8, 8, 1, 60, 1, 0, 3, 0, 0, 0, 6, 6, 0, 0, 4, 4, 0};
  content.settingStrings = {"Title", "0000-0000", "", "Face", "", "", "", "hero.png"};
  content.values16 = {1234};
  content.archiveKey = "KeyForArchive";
  WriteSeed(argv, "scrambled", WriteGameDat(content));
  content.seeds = {0, 0, 0};
  WriteSeed(argv, "plain", WriteGameDat(content));
  return 0;
}
