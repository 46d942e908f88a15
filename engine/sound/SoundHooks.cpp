#include "engine/sound/SoundHooks.h"

#include "engine/sound/SoundManager.h"

namespace {

void ManagerPlay(int32_t kind, int32_t entry, int32_t fade, int32_t position) {
  GameSounds.Play(kind, entry, fade, position);
}

SoundHooks gHooks{ManagerPlay};

}  // namespace

void SoundPlay(int32_t kind, int32_t entry, int32_t fade, int32_t position) {
  gHooks.play(kind, entry, fade, position);
}

void SetSoundHooks(const SoundHooks* hooks) { gHooks.play = hooks && hooks->play ? hooks->play : ManagerPlay; }
