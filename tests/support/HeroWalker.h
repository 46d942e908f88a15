#pragma once
// Walks the hero of a running game to a tile the way a player would, by the
// arrow keys: each frame it finds the shortest way over the half-tile grid
// as the hero can step now (tiles, events in the way, looping edges) and
// says which arrow to hold. The way is found anew every frame, so people
// who walk about only make it go round them.

#include <cstdint>
#include <vector>

// The arrow key (its DirectInput code) toward tile (tileX, tileY) of the
// current map, or none when the hero stands on it or no way leads there.
// The last step may go onto a tile the hero cannot enter (a door, a
// person): the key is then held against it.
std::vector<int> ArrowTowardTile(int32_t tileX, int32_t tileY);

// Whether the hero stands on tile (tileX, tileY), not in a half step.
bool HeroStandsOn(int32_t tileX, int32_t tileY);
