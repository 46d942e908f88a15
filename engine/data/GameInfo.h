#pragma once
// The game-wide settings of "Game.dat": setting bytes, 16-bit values and
// setting strings, read by index. The loader may lengthen the lists, never
// shorten them. Setting string 2 is the archive key, built by the loader; it
// is handed to the file layer and never shown or logged.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"

struct GameInfo {
  enum SettingByte : int {
    kTileSize = 0,
    kSheetDirections = 1,
    kMoveDirections = 2,
    kMidiInUse = 3,
    kFramesPerSecond = 4,
    kExtraImages = 5,
    kMidiDevice = 6,
    kSheetPatterns = 7,
    kWholeTileSteps = 8,
    kCollisionForAll = 9,
    kLetterSqueeze = 10,
    kMessageLineSpacing = 11,
    kChoiceLineSpacing = 12,
    kPlainFonts = 14,
    kEventSpeedFactor = 15,
    kHeroSpeedFactor = 16,
  };
  enum SettingString : int {
    kGameTitle = 0,
    kArchiveKey = 2,
    kFirstFontFace = 3,  // 3 to 6
    kHeroGraphic = 7,
  };

  std::vector<uint8_t> settingBytes;
  std::vector<uint16_t> values16;
  std::vector<std::string> settingStrings;

  // The defaults; 16-bit value 0 is drawn from the C run-time generator.
  GameInfo();
  void SetDefaults();

  // 60 divided by the frame rate of setting byte 4: 1, 2 or 3 for the rates
  // the editor offers. A rate outside 1..60 cannot give a step, so the game
  // then runs at 60 frames per second (step 1).
  int32_t FrameStep() const;

  // Reads the game-information file at path. False when it cannot be read
  // (after a message box); a damaged end byte is reported on the error screen
  // and loading goes on.
  bool LoadGameData(const std::string& path);
  // The same on a file already in memory.
  bool ReadGameData(ByteCursor& file, const std::string& path);
};

// The game's settings, read at start-up.
extern GameInfo GameInformation;
