#include <algorithm>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/sound/MidiLibrary.h"
#include "engine/sound/SoundItems.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"

using namespace sound_items;

void SoundManager::Update() {
  UpdateFade(kMusic);
  UpdateFade(kBackgroundSound);
  UpdateQueue();
}

void SoundManager::RampVolume(int32_t kind, int32_t target, int32_t frames) {
  if (kind != kMusic && kind != kBackgroundSound) return;
  Fade& f = fades[kind];
  f.counter = f.length = std::max(frames, 1);
  f.fadeInStart = f.fadeFrom = f.target;
  f.target = target;
}

void SoundManager::UpdateFade(int32_t kind) {
  Fade& f = fades[kind];
  if (f.counter == -1) return;
  const double c = f.counter;
  const double n = std::max(f.length, 1);
  if (f.fadingHandle == f.currentHandle) f.fadingHandle = 0;

  // The library plays one piece: when the music coming in is MIDI too, the
  // one going out was stopped as it started, and stopping it again at the
  // end of the fade would stop the new one.
  if (kind == kMusic && previousWasMidi && !currentIsMidi) {
    MidiMasterVolume(TruncateVolume((f.fadeFrom - 100.0) * 25.0 - (n - c) * 2500.0 / n));
    if (f.counter == 0) MidiStop();
  } else if (f.fadingHandle != 0) {
    SetSoundVolume(TruncateVolume(f.fadeFrom * c / n), f.fadingHandle);
  }

  const int32_t volume = TruncateVolume(f.target * (n - c) / n + f.fadeInStart * c / n);
  if (kind == kMusic && currentIsMidi) {
    MidiMasterVolume(Saturate(int64_t{25} * (int64_t{volume} - 100)));
    if (midiTempoCountdown >= 0 && --midiTempoCountdown == 0) MidiTempoDepth(MidiTempoDepthOf(f.percent));
  } else if (f.currentHandle != 0) {
    SetSoundVolume(volume, f.currentHandle);
  }

  if (f.counter == 0 && f.fadingHandle != 0) {
    ReleaseHandle(kind, f.fadingHandle);
    f.fadingHandle = 0;
  }
  f.counter = f.counter <= 0 ? -1 : std::max(f.counter - GameInformation.FrameStep(), 0);
}

void SoundManager::UpdateQueue() {
  const int32_t step = GameInformation.FrameStep();
  for (size_t i = 0; i < queue.size();) {
    Request& request = queue[i];
    const bool named = request.handle != 0 && request.handle != -1;
    const bool playing = named && IsSoundPlaying(request.handle) == 1;
    if (named && !playing) HaltSound(request.handle);
    if (request.delay == 0) {
      if (request.handle == -1) {
        queue.clear();
        const int32_t entries = SystemDatabase.GetDataCount(TypeOf(kSoundEffect));
        for (const auto& [entry, handle] : handles[kSoundEffect]) {
          if (entry >= 0 && entry < entries && handle != 0) HaltSound(handle);
        }
        return;
      }
      StartSound(request.handle, 1, 1);
      if (request.freeAfter <= 0) {
        queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      request.delay = -1;
    } else if (request.delay < 0 && !playing) {
      const int32_t handle = request.handle;
      queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(i));
      ReleaseHandle(kSoundEffect, handle);
      continue;
    }
    request.delay = request.delay <= 0 ? -1 : std::max(request.delay - step, 0);
    ++i;
  }
}
