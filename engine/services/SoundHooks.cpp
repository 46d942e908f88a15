#include "engine/services/SoundHooks.h"

namespace {

void PlayNothing(int32_t, int32_t, int32_t, int32_t) {}

int32_t NoEntry(const std::string&, int32_t, int32_t, int32_t, int32_t, int32_t) { return kNoSoundEntry; }

SoundHooks gHooks{PlayNothing, NoEntry};

}  // namespace

void SoundPlay(int32_t kind, int32_t entry, int32_t fade, int32_t flag) { gHooks.play(kind, entry, fade, flag); }

int32_t SoundPlayFile(const std::string& name, int32_t kind, int32_t fade, int32_t flag, int32_t volume,
                      int32_t pitch) {
  return gHooks.playFile(name, kind, fade, flag, volume, pitch);
}

void SetSoundHooks(const SoundHooks* hooks) {
  gHooks.play = hooks && hooks->play ? hooks->play : PlayNothing;
  gHooks.playFile = hooks && hooks->playFile ? hooks->playFile : NoEntry;
}
