#pragma once
// The live game behind the system variables and strings that are not root
// runner fields: the sound manager, the shell's settings, the map scene with
// the hero and his followers, the presentation and the system-state hub.
// The sound rows answer from the sound manager itself; each neighbour above
// installs its entries when it lands, and until then the neutral defaults
// answer (no map, no hero, no message, no choice). Tests put fakes in place.
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
  // index 0 the proxy text, 1 the proxy port text of the settings file.
  std::string (*proxyText)(int32_t index);
  void (*setProxyText)(int32_t index, const std::string& text);
  // Download progress values 0-4 and the status (5).
  int32_t (*downloadValue)(int32_t index);
  bool (*softwareRendering)();
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

  // Presentation and the hub.
  bool (*messageWindowOpen)();
  bool (*rootEventRunning)();
  int32_t (*lastChoice)();
  // The target map while a transfer is pending, else -1.
  int32_t (*pendingTransferMap)();
  std::string (*lastMessage)();
  // Choice 0-9 of the last choice command.
  std::string (*choiceText)(int32_t index);
  void (*markPanoramaChanged)();
  void (*markFogChanged)();
};

const LiveGameHooks& CurrentLiveGameHooks();
// Null restores the defaults; entries left null take the default.
void SetLiveGameHooks(const LiveGameHooks* hooks);
