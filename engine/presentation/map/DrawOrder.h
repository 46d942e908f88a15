#pragma once
// The order in which the characters and the rows of level-1 tiles are drawn
// each frame, without sorting: characters go into 8-pixel bands by their
// foot line, in three lists (pass-through events below everyone, the rest
// with the hero and the followers, always-above events over everyone), and
// the cursor walks the bands top to bottom, putting each row of level-1
// tiles after the characters whose foot lies less than 8 pixels below that
// row's lower edge.

#include <array>
#include <cstdint>
#include <vector>

struct DrawEntry {
  enum Kind : int32_t {
    kEnd,
    kMapEvent,  // value: index in the map scene's event list (and its sprite)
    kHero,
    kFollower,  // value: follower number from 0
    kTileRow,   // value: map row of the level-1 tiles (may be negative)
  };
  Kind kind = kEnd;
  int32_t value = 0;

  bool operator==(const DrawEntry&) const = default;
};

class DrawOrder {
 public:
  static constexpr int32_t kFollowers = 5;

  // Per list, per band: the characters in it, in insertion order. A band b
  // from -1 up lies in bucket b + 1; only the buckets the cursor reaches are
  // kept.
  std::array<std::vector<std::vector<DrawEntry>>, 3> lists;
  int32_t cursorBand = 0;
  int32_t cursorPosition = 0;
  int32_t bandCount = 0;
  int32_t currentList = 0;

  // Fills the buckets for this frame from the current map's characters.
  void Build();
  // The next character or tile row to draw, or kEnd. scrollY: the tile
  // layers' scroll of this frame in pixels.
  DrawEntry Next(int32_t scrollY);

  bool operator==(const DrawOrder&) const = default;

 private:
  void Put(int32_t list, int64_t band, DrawEntry entry);
  // The last band the cursor visits, and the last at which it looks for a
  // tile row.
  int32_t LastBand() const;
  int32_t LastRowBand() const;
};
