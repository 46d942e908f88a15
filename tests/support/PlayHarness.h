#pragma once
// The whole player in-process and headless, for end-to-end tests and
// benchmarks: SDL's dummy drivers, a presenter that shows nothing, a clock
// that moves only while the player waits (so no frame is ever late and every
// frame draws), keys held as a script says, and a 64-bit hash of every
// frame the player shows.
//
//   PlayHarness play(gameFolder);
//   play.Hold(10, {kKeyRight});   // from frame 10 on, right is held
//   play.Hold(40, {});            // from frame 40 on, nothing
//   play.Play(120);               // start-up, 120 frames, shutdown
//   play.frameHashes ...
//
// A frame is one pass of the frame loop, counted from 0 at the first pass
// after start-up. Error screens are recorded instead of shown (nothing
// waits for a key) unless showErrorScreens is set; message boxes and
// process exits are recorded too.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/shell/Player.h"

// Keys by their DirectInput codes.
enum HarnessKey : int {
  kKeyEscape = 1,
  kKeyEnter = 28,
  kKeyZ = 44,
  kKeyX = 45,
  kKeySpace = 57,
  kKeyF12 = 88,
  kKeyUp = 200,
  kKeyLeft = 203,
  kKeyRight = 205,
  kKeyDown = 208,
};

class PlayHarness {
 public:
  explicit PlayHarness(std::string gameFolder);
  ~PlayHarness();
  PlayHarness(const PlayHarness&) = delete;
  PlayHarness& operator=(const PlayHarness&) = delete;

  // From frame on, exactly these keys are held (until a later Hold).
  void Hold(int64_t frame, std::vector<int> keys);
  // From inside onFrame: exactly these keys are held from this frame on
  // (until another call or a later Hold), for scripts that watch the game.
  void HoldNow(std::vector<int> keys);
  // Starts the player with the command line, runs frames frames, closes the
  // window and lets the player shut down. The results below are those of
  // this run.
  void Play(int64_t frames, const std::string& commandLine = "");

  // Called at the start of every frame, after the script's keys are set: a
  // test looks at the game or changes it here.
  std::function<void(int64_t frame)> onFrame;
  bool showErrorScreens = false;
  // Real fonts (FreeType and the system's faces) instead of exact made-up
  // glyphs.
  bool realFonts = false;
  // Frames go to the real window (SDL's presenter, for a test under an X
  // server) instead of being hashed: frameHashes stays empty.
  bool realWindow = false;
  // For benchmarks: the machine's own clock (frames are then paced in real
  // time), and frames shown without being hashed.
  bool realClock = false;
  bool hashing = true;

  PlayerExit exit;
  // The code of a process exit the player asked for, -1 when none.
  int exitCode = -1;
  int64_t framesRun = 0;
  std::vector<uint64_t> frameHashes;
  // The frame (pass) during which each hash was shown.
  std::vector<int64_t> hashFrames;
  std::vector<std::array<std::string, 3>> errorScreens;
  std::vector<std::string> messageBoxes;  // "title: text"
  // Seconds from the start of Play to the first frame shown.
  double firstFrameSeconds = 0;

  // The 64-bit hash of a picture, as frameHashes holds them.
  static uint64_t HashPixels(const uint8_t* pixels, int width, int height, int pitch, int bytesPerPixel);

  const std::string& GameFolder() const { return folder_; }

  struct Parts;

 private:
  std::string folder_;
  std::vector<std::pair<int64_t, std::vector<int>>> script_;
  std::unique_ptr<Parts> parts_;
};
