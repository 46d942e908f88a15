#include "engine/shell/SoundSteps.h"

#include "engine/services/SoundHooks.h"
#include "runtime/Movan.h"

void InstallPrivateFonts() {}
void RemovePrivateFonts() {}

bool StartMidi(int) { return false; }
void ShutdownMidi() {}

void LoadSpeech() {}
void UnloadSpeech() {}

void ResetSoundManager() {
  for (int32_t kind = 0; kind <= 2; ++kind) SoundPlay(kind, -1, 0, 0);
  DeleteAllSounds(0);
}

void UpdateSoundManager() {}
void RestartSceneSounds() {}
