#pragma once
// What the variable operation plus reads of the live map scene: a
// character's facts, and per position the terrain tag, the events standing
// there, the tiles' and the hero's way, the tiles of each layer and the
// events under the mouse.

struct MapHooks;

// Fills the reading entries of a map table.
void AddMapReadings(MapHooks& hooks);
