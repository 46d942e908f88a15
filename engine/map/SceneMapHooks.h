#pragma once
// Gives the interpreter's map table (engine/events/MapHooks.h) the live
// scene: the current map and the positions of its events, the hero and the
// followers, every character resolved by id when asked.

void InstallSceneMapHooks();
