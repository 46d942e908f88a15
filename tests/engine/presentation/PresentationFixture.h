#pragma once
// A running layer in software mode drawing into the back screen, with the
// game's transparent colour, a Data folder in the test's own folder, a fresh
// map scene, root runner, system state and graphic cache, a hero (and up to
// five followers) of the test's own, and the message boxes, error screens
// and process exits recorded instead of shown.

#include <array>
#include <string>
#include <vector>

#include "engine/map/MapCharacter.h"
#include "engine/map/MapEventState.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/PixelImage.h"

struct ThrownExit {
  int code;
};

class PresentationTest : public GraphicsFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // An image file below the Data folder ('\\' separates folders).
  void WriteImage(const std::string& name, const PixelImage& image);
  // A loaded map (id 1) of w x h tiles, every cell of layer 0 plain tile 0
  // and the layers above empty; 64 tile-flag entries, all 0.
  void UseMap(int32_t w, int32_t h);
  static void SetTile(int32_t layer, int32_t tileX, int32_t tileY, int32_t value);
  static void SetFlags(int32_t index, int32_t flags);
  // A map event standing on a tile, showing a sheet.
  static MapEventState& AddEvent(int32_t id, int32_t tileX, int32_t tileY, const std::string& sheet);
  static void PlaceOnTile(MapCharacter& character, int32_t tileX, int32_t tileY);
  // A system database type whose records hold these item codes (kind x 1000
  // + slot); the types below it exist empty.
  static void SetSystemType(int32_t type, const std::vector<int32_t>& codes, int32_t records);

  std::array<MapCharacter, 5> followers_;
  static MapCharacter* hero;
  static int32_t followerCount;
  static std::array<MapCharacter, 5>* followers;
  static std::vector<std::string> messageBoxes;  // text, then title
  static std::vector<std::string> errorLines;    // three per screen
  MapCharacter hero_;
};
