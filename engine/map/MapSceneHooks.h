#pragma once
// What the map scene and the characters ask of their neighbours where tests
// put recording fakes in their place: the end of the game when a map cannot
// be read, the root runner's panorama request, the common events with their
// runners, and the hero with the followers. The defaults are the live
// game's: the hero and the followers are the game's hero (PlayerHero).

#include <cstdint>
#include <string>

struct CommonEventList;
class MapCharacter;

struct MapSceneHooks {
  // The game state becomes -1: the game ends.
  void (*endGame)();

  // The root runner's panorama number; the panorama file name and the
  // panorama-by-name flag (kept by the system-state hub).
  void (*setPanoramaNumber)(int32_t number);
  void (*setPanoramaName)(const std::string& name);
  void (*setPanoramaByName)(bool byName);

  // The game's common events (null: none), and the runner of one of them,
  // known by its number.
  const CommonEventList* (*commonEvents)();
  void (*refreshCommonEventRunner)(int32_t number);
  void (*runCommonEventRunner)(int32_t number);
  // The runners of the map that is left go away.
  void (*resetCommonEventRunners)();

  // The hero (null: none) and follower i from 0 (null past the last).
  MapCharacter* (*hero)();
  MapCharacter* (*follower)(int32_t index);
  // The hero made a step in this direction.
  void (*recordHeroStep)(int32_t direction);
};

// The installed table. Always complete: members are never null.
const MapSceneHooks& CurrentMapSceneHooks();

// Null restores the defaults; a null member gets its default.
void SetMapSceneHooks(const MapSceneHooks* hooks);
