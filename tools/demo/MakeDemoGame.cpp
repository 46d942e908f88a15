// make-demo-game FOLDER: writes the demo game into FOLDER.

#include <cstdio>

#include "tools/demo/DemoGame.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make-demo-game FOLDER\n");
    return 2;
  }
  demo::WriteDemoGame(argv[1]);
  if (!demo::MakeShippedReplay(argv[1])) {
    std::fprintf(stderr, "make-demo-game: the replay of the small room could not be made\n");
    return 1;
  }
  return 0;
}
