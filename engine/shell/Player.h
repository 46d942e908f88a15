#pragma once
// The player from its entry to its end: start-up in a fixed order, the
// title and the scene loop until the game quits, then shutdown. Runs in the
// current folder, which is the game folder.

#include <string>

class GameScene;

struct PlayerExit {
  // 0 after a normal run or when "Game.dat" cannot be read, -1 when the
  // runtime layer cannot start.
  int code = 0;
  bool gameDataRead = false;
};

// commandLine: the program's arguments after the game folder, as one text;
// exactly "Test_Of_Main" starts a test play.
PlayerExit RunPlayer(const std::string& commandLine);

// The scene of the running player; null before start-up builds it and after
// shutdown.
GameScene* RunningGameScene();
