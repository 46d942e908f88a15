// movan-player [GAME_FOLDER] [Test_Of_Main]: plays the game in the folder
// (the current folder when none is given).

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/shell/Player.h"

namespace {

constexpr const char* kTestPlayArgument = "Test_Of_Main";

void PrintUsage(std::FILE* to) {
  std::fprintf(to,
               "Usage: movan-player [GAME_FOLDER] [Test_Of_Main]\n"
               "Plays the game in GAME_FOLDER (default: the current folder), which holds\n"
               "Game.dat and the Data folder or its archives.\n"
               "\n"
               "  Test_Of_Main   test play, as the editor starts it: writes Log.txt and\n"
               "                 shows the errors meant for the game's author\n"
               "  --help         show this help and exit\n"
               "  --version      show the version and exit\n"
               "\n"
               "Keys: arrows move, Enter/Space/Z decide, Esc/X cancel, F4 window size,\n"
               "F5 frame skip, F12 back to the title.\n"
               "Game.ini in the game folder keeps the player's settings.\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      PrintUsage(stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("movan-player %s\n", MOVAN_PLAYER_VERSION);
      return 0;
    }
    if (argument.size() > 1 && argument[0] == '-' && argument != "--") {
      std::fprintf(stderr, "movan-player: unknown option '%s'\n\n", argument.c_str());
      PrintUsage(stderr);
      return 2;
    }
    if (argument != "--") positional.push_back(argument);
  }

  // One argument is the game folder, unless it is the test-play argument;
  // after the folder, the rest is the game's own command line.
  std::string folder;
  std::string commandLine;
  size_t rest = 0;
  if (!positional.empty() && !(positional.size() == 1 && positional[0] == kTestPlayArgument)) {
    folder = positional[0];
    rest = 1;
  }
  for (size_t i = rest; i < positional.size(); ++i) {
    if (i > rest) commandLine += ' ';
    commandLine += positional[i];
  }

  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "movan-player: cannot open the game folder '%s': %s\n", folder.c_str(),
                 std::strerror(errno));
    return 1;
  }
  const PlayerExit exit = RunPlayer(commandLine);
  if (!exit.gameDataRead) {
    std::fprintf(stderr, "movan-player: %s holds no readable Game.dat; is it a game folder?\n",
                 folder.empty() ? "the current folder" : ("'" + folder + "'").c_str());
    return 1;
  }
  return exit.code;
}
