#pragma once
// The live game above the variables behind the system variables and strings
// that are not root runner fields: the sound manager, the shell, the map
// scene with the hero and his followers. Start-up installs
// the live entries; until then, and in tests, the neutral defaults answer
// (no map, no hero). The sound rows default to the sound manager, which lies
// below. What lies below (the hub, the settings, the root interpreter, the
// download state) the variables read directly.
//
// Sound kinds: 0 music, 1 background sound.

#include <cstdint>
#include <ctime>
#include <string>

struct LiveGameHooks {
  // Sound manager.
  int32_t (*currentVolume)(int32_t kind);
  // The volume moves from its present value to target over frames frames.
  void (*rampVolume)(int32_t kind, int32_t target, int32_t frames);
  // The speed in percent, as last stored.
  int32_t (*speed)(int32_t kind);
  void (*storeSpeed)(int32_t kind, int32_t percent);
  // True while the music is MIDI and plays.
  bool (*midiMusicPlaying)();
  void (*clearPendingTempo)();
  void (*midiTempoDepth)(int32_t depth);
  // The sound plays at its own rate x percent / 100.
  void (*setRatePercent)(int32_t kind, int32_t percent);
  // The hub's base volume of the kind (the volume the music started with).
  int32_t (*baseVolume)(int32_t kind);

  // Shell.
  void (*setFrameSkip)(int32_t mode);
  // The local time now.
  void (*localTime)(std::tm& out);

  // Map scene: the hero is member 0, followers 1-5.
  bool (*heroMoving)();
  std::string (*memberGraphic)(int32_t member);
  void (*setMemberGraphic)(int32_t member, const std::string& name);
  // Scroll in quarter pixels.
  int32_t (*scrollX)();
  int32_t (*scrollY)();
  void (*setScroll)(int32_t quarterX, int32_t quarterY);
  // Size of the current map in tiles and its loop flags.
  int32_t (*mapWidth)();
  int32_t (*mapHeight)();
  bool (*loopsHorizontally)();
  bool (*loopsVertically)();
};

const LiveGameHooks& CurrentLiveGameHooks();
// Null restores the defaults; entries left null take the default.
void SetLiveGameHooks(const LiveGameHooks* hooks);
