#include "engine/presentation/map/DrawOrder.h"

#include <algorithm>

#include "engine/map/MapScene.h"
#include "engine/presentation/map/MapDrawUnits.h"

namespace {

constexpr int64_t kBandPixels = 8;

// The foot line's band, the remainder taking the sign of the foot line.
int64_t BandOf(const MapCharacter& character, int64_t bands) {
  return int64_t{character.ScreenYBase(true)} / kBandPixels % bands;
}

// The hero's and the followers' bands start at 0.
int64_t PartyBandOf(const MapCharacter& character, int64_t bands) {
  return std::max<int64_t>(0, int64_t{character.ScreenYBase(true)} / kBandPixels) % bands;
}

// Where in its band's turn the cursor puts a tile row (u), and by how much
// the scroll is raised to find the row (o), by the scroll's position inside
// its tile.
struct RowPhase {
  int64_t band = 0;
  int64_t offset = 0;
};

RowPhase PhaseOf(int64_t scroll, int64_t t) {
  if (t == 16) {
    if (scroll >= 0) {
      const int64_t r = scroll % t;
      if (r == 0) return {0, 0};
      return {r <= 8 ? 1 : 0, t - r};
    }
    const int64_t r = -scroll % t;
    return {r >= 8 ? 1 : 0, r};
  }
  if (scroll >= 0) {
    const int64_t r = scroll % t;
    if (r == 0) return {2, 32};
    if (r <= t / 2) return {1, t - r};
    if (r <= 3 * t / 4) return {0, t - r};
    return {2, 2 * t - r};
  }
  const int64_t r = -scroll % t;
  if (r >= t / 2) return {1, r};
  if (r < t / 4) return {2, r + t};
  return {3, r + t};
}

}  // namespace

int32_t DrawOrder::LastBand() const { return std::min<int32_t>(bandCount, 44 * MapTileUnit() / 16); }
int32_t DrawOrder::LastRowBand() const { return std::min<int32_t>(bandCount, 34 * MapTileUnit() / 16); }

void DrawOrder::Put(int32_t list, int64_t band, DrawEntry entry) {
  std::vector<std::vector<DrawEntry>>& buckets = lists[static_cast<size_t>(list)];
  const int64_t bucket = band + 1;
  // The cursor never reaches the buckets past the last band.
  if (bucket < 0 || bucket >= static_cast<int64_t>(buckets.size())) return;
  buckets[static_cast<size_t>(bucket)].push_back(entry);
}

void DrawOrder::Build() {
  cursorBand = 0;
  cursorPosition = 0;
  currentList = 0;
  const MapScene& map = CurrentMap;
  const int64_t t = MapTileUnit();
  const int64_t perTile = t / kBandPixels;
  int64_t bands = int64_t{map.Height()} * perTile;
  if (map.Height() == 15) bands += 2 * perTile;
  bandCount = static_cast<int32_t>(std::max<int64_t>(1, bands));
  for (std::vector<std::vector<DrawEntry>>& buckets : lists) {
    buckets.resize(static_cast<size_t>(LastBand()) + 1);
    for (std::vector<DrawEntry>& bucket : buckets) bucket.clear();
  }

  const int64_t n = bandCount;
  // Tall characters are kept further down: their heads may still show.
  const auto lowestBand = [&](const MapCharacter& character) { return (character.spriteHeight / t + 17) * perTile; };
  const std::vector<MapEventState>& events = map.events;
  for (size_t i = 0; i < events.size(); ++i) {
    const MapEventState& event = events[i];
    if (!event.passThrough || event.alwaysAbove) continue;
    const int64_t band = BandOf(event, n);
    if (band >= -1 && band <= 17 * perTile) Put(0, band, {DrawEntry::kMapEvent, static_cast<int32_t>(i)});
  }
  for (size_t i = 0; i < events.size(); ++i) {
    const MapEventState& event = events[i];
    if (event.passThrough || event.alwaysAbove) continue;
    const int64_t band = BandOf(event, n);
    if (band >= -1 && band <= lowestBand(event)) Put(1, band, {DrawEntry::kMapEvent, static_cast<int32_t>(i)});
  }
  if (const MapCharacter* hero = FindCharacter(MapCharacter::kHeroId)) {
    Put(1, PartyBandOf(*hero, n), {DrawEntry::kHero, 0});
  }
  for (int32_t i = 0; i < kFollowers; ++i) {
    const MapCharacter* follower = FindCharacter(MapCharacter::kFirstFollowerId - i);
    if (!follower) continue;
    const int64_t band = PartyBandOf(*follower, n);
    if (band <= lowestBand(*follower)) Put(1, band, {DrawEntry::kFollower, i});
  }
  for (size_t i = 0; i < events.size(); ++i) {
    const MapEventState& event = events[i];
    if (!event.alwaysAbove) continue;
    const int64_t band = BandOf(event, n);
    if (band >= -1 && band <= lowestBand(event)) Put(2, band, {DrawEntry::kMapEvent, static_cast<int32_t>(i)});
  }
}

DrawEntry DrawOrder::Next(int32_t scrollY) {
  const int64_t t = MapTileUnit();
  const int64_t perTile = t / kBandPixels;
  const int32_t lastBand = LastBand();
  const int32_t lastRowBand = LastRowBand();
  const RowPhase phase = PhaseOf(scrollY, t);
  for (;;) {
    if (cursorBand > lastBand) {
      if (currentList >= 2) return {DrawEntry::kEnd, 0};
      ++currentList;
      cursorBand = 0;
      cursorPosition = 0;
    }
    const std::vector<std::vector<DrawEntry>>& buckets = lists[static_cast<size_t>(currentList)];
    if (static_cast<size_t>(cursorBand) < buckets.size()) {
      const std::vector<DrawEntry>& bucket = buckets[static_cast<size_t>(cursorBand)];
      if (static_cast<size_t>(cursorPosition) < bucket.size()) return bucket[static_cast<size_t>(cursorPosition++)];
    }
    ++cursorBand;
    cursorPosition = 0;
    if (cursorBand > lastRowBand) continue;
    if (currentList == 1 && cursorBand % perTile == phase.band) {
      const int64_t row = cursorBand / perTile + (int64_t{scrollY} + phase.offset) / t - 2;
      return {DrawEntry::kTileRow, ClampToI32(row)};
    }
  }
}
