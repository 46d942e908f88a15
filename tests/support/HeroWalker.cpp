#include "tests/support/HeroWalker.h"

#include <deque>

#include "engine/map/Directions.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/map/WrapCoordinate.h"
#include "tests/support/PlayHarness.h"

namespace {

constexpr int32_t kDirections[] = {2, 4, 6, 8};

int ArrowOf(int32_t d) { return d == 2 ? kKeyDown : d == 4 ? kKeyLeft : d == 6 ? kKeyRight : kKeyUp; }

}  // namespace

bool HeroStandsOn(int32_t tileX, int32_t tileY) {
  return PlayerHero.preciseX == 2 * tileX && PlayerHero.preciseY == 2 * tileY;
}

std::vector<int> ArrowTowardTile(int32_t tileX, int32_t tileY) {
  const MapScene &map = CurrentMap;
  if (!map.HasMap()) return {};
  const int64_t w2 = 2 * int64_t{map.Width()};
  const int64_t h2 = 2 * int64_t{map.Height()};
  const auto inside = [&](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < w2 && y < h2; };
  if (!inside(2 * int64_t{tileX}, 2 * int64_t{tileY}) || !inside(PlayerHero.preciseX, PlayerHero.preciseY)) return {};
  const int64_t goal = 2 * int64_t{tileY} * w2 + 2 * int64_t{tileX};
  const int64_t start = int64_t{PlayerHero.preciseY} * w2 + PlayerHero.preciseX;
  if (start == goal) return {};
  // Breadth first from the goal back to the hero, so that the first step
  // is read off the hero's neighbours.
  std::vector<int32_t> distance(static_cast<size_t>(w2 * h2), -1);
  std::deque<int64_t> queue;
  distance[static_cast<size_t>(goal)] = 0;
  queue.push_back(goal);
  const int32_t step = PlayerHero.stepSize;
  const auto neighbour = [&](int64_t at, int32_t d, int64_t &next) {
    int64_t x = at % w2 + int64_t{StepX(d)} * step;
    int64_t y = at / w2 + int64_t{StepY(d)} * step;
    if (map.loopX) x = WrapCoordinate(x, w2);
    if (map.loopY) y = WrapCoordinate(y, h2);
    if (!inside(x, y)) return false;
    next = y * w2 + x;
    return true;
  };
  while (!queue.empty()) {
    const int64_t at = queue.front();
    queue.pop_front();
    for (const int32_t d : kDirections) {
      int64_t from = 0;
      // The way is walked backwards: from "from" toward "at" is direction
      // 10 - d.
      if (!neighbour(at, d, from) || distance[static_cast<size_t>(from)] >= 0) continue;
      const int32_t toward = 10 - d;
      const bool last = at == goal;
      if (!last && !PlayerHero.CanMove(static_cast<int32_t>(from % w2), static_cast<int32_t>(from / w2), toward)) {
        continue;
      }
      distance[static_cast<size_t>(from)] = distance[static_cast<size_t>(at)] + 1;
      if (from == start) return {ArrowOf(toward)};
      queue.push_back(from);
    }
  }
  return {};
}
