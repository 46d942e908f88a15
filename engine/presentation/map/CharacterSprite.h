#pragma once
// How one character of the map (the hero, a follower or a map event) is
// drawn: the sheet loaded for it in the graphic cache and how that sheet is
// cut into cells, and where and how the character was last drawn.
//
// The sprite knows its character by id and finds it at each use (a map
// event first at the place in the scene's event list it was made for). It
// only reads the character, except for two values: the cell size of the
// loaded sheet (spriteWidth, spriteHeight, which the draw order reads) and
// the extra image last applied (extraImageLoaded).

#include <cstdint>
#include <string>

class MapCharacter;

class CharacterSprite {
 public:
  static constexpr int32_t kNoCharacter = INT32_MIN;

  int32_t sheetIndex = -1;  // graphic cache index of the sheet or tile-set image
  int32_t sheetPiece = 0;   // the cell's piece in that entry, from 1
  int32_t extraPiece = 0;
  int32_t extraIndex = -1;  // graphic cache index of the extra image (the shadow)
  int32_t characterId = kNoCharacter;
  int32_t eventIndex = -1;  // where a map event was in the scene's event list
  int32_t screenX = 0;      // the foot point of the last draw
  int32_t screenY = 0;
  int32_t priority = 0;
  int32_t baseY = 0;        // the foot line without height and jump
  int32_t opacity = 0;
  int32_t blend = 0;
  int32_t graphicId = -1;   // the character's graphic when the sheet was set up
  int32_t halfWidth = 0;
  int32_t height = 0;
  int32_t extraHalfWidth = 0;
  int32_t extraHeight = 0;
  std::string graphicName;
  uint8_t loadFailed = 0;   // the sheet file failed: nothing is drawn again
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
  int32_t layout = 0;       // a SheetLayout
  int32_t columns = 6;
  int32_t extraColumns = 0;

  // Shows nothing.
  CharacterSprite() = default;
  // The hero (-2), follower i (-3 - i) or the map event with this id (found
  // first at eventIndex of the scene's list). The sheet is loaded and the
  // cell size written into the character at once; nothing is drawn.
  explicit CharacterSprite(int32_t characterId, int32_t eventIndex = -1);

  // Picks the character's cell and draws it with its opacity, blend kind,
  // colour effect, the map's zoom, the shadow and the bush.
  void Draw();

  bool operator==(const CharacterSprite&) const = default;

 private:
  MapCharacter* Character() const;
  // Sheet and extra-image set-up when the character's graphic changed;
  // false when the sheet failed to load.
  bool SetUp(MapCharacter& character);
  void SetUpExtraImage(MapCharacter& character, int32_t number);
  // The sheet piece and extra piece for the direction and pattern; false
  // when the sheet has no extra piece (tile graphics and single images).
  bool ChooseCell(MapCharacter& character);
};
