#pragma once
// The game scene: what the running game draws and the frame loop that paces
// it. Start-up builds the one scene after the databases are loaded; it lives
// until shutdown. RunLoop keeps control while the game runs; Frame runs one
// frame, every update in a fixed order and then, when pacing and the
// frame-skip credit allow, every draw in a fixed order and the flip.

#include <cstdint>

#include "engine/presentation/map/MapDrawing.h"
#include "engine/presentation/windows/ChoiceWindow.h"
#include "engine/presentation/windows/MessageWindow.h"
#include "engine/shell/FramePacer.h"

class GameScene {
 public:
  MapDrawing mapDrawing;
  MessageWindow messageWindow;
  ChoiceWindow choiceWindow;
  FramePacer pacer;

  GameScene();
  ~GameScene();
  GameScene(const GameScene&) = delete;
  GameScene& operator=(const GameScene&) = delete;

  // Runs the scene of the current game state: the frame loop for 1, nothing
  // for any other.
  void Dispatch();
  // Returns when the game state leaves 1, when a replay ends, or when the
  // window is gone.
  void RunLoop();
  void Frame();
  // The transfer to the system state's transfer target.
  void ApplyMapChange();
  void ResetSprites();

 private:
  bool RunLoopPass();
  int32_t FrameBudget() const;
  void ReloadScene();
  void Draw();
  void CloseWindows();
};

// Frame-loop passes since start-up; the test harness watches them. Called at
// the top of every pass with the pass number, before the window messages.
using FramePassObserver = void (*)(void* context, int64_t pass);
void SetFramePassObserver(FramePassObserver observer, void* context);
