#pragma once
// The game settings that shape the map and every character on it, taken from
// the game information once at start-up (ApplyMapSettings). They outlive
// every map scene: a fresh scene at the title keeps them.

#include <cstdint>

struct GameInfo;

struct MapSettings {
  int32_t tileUnit = 32;        // t: pixels per tile, 32 or 16
  int32_t tileSizeByte = 32;    // setting byte 0 as stored (scales the screen shake)
  int32_t frameStep = 1;        // counters advance by this each frame, at least 1
  int32_t sheetDirections = 8;  // 8: character sheets have eight directions
  int32_t moveDirections = 8;   // directions of random and targeted steps (8 or 4)
  int32_t sheetPatterns = 3;    // patterns per sheet direction (3 or 5)
  int32_t stepSetting = 0;      // setting byte 8: 0 half-tile steps, 1 whole-tile steps
  bool tallByDefault = false;   // characters occupy the half row above their own
  int32_t eventSpeedFactor = 4;
  int32_t heroSpeedFactor = 4;

  static MapSettings FromGameInfo(const GameInfo& info);
};

extern MapSettings CurrentMapSettings;

void ApplyMapSettings(const GameInfo& info);
